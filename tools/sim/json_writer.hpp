#pragma once
// A minimal writer for JSON objects: keys in insertion order, so the
// same run always prints the same bytes.
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

class JsonObject {
 public:
  JsonObject& add(const std::string& key, int value) { return add(key, static_cast<int64_t>(value)); }
  JsonObject& add(const std::string& key, int64_t value);
  JsonObject& add(const std::string& key, double value);
  // Game positions and energies: two decimals.
  JsonObject& add(const std::string& key, float value);
  JsonObject& add(const std::string& key, bool value);
  JsonObject& addText(const std::string& key, const std::string& value);
  JsonObject& add(const std::string& key, const std::vector<int>& values);
  JsonObject& add(const std::string& key, const JsonObject& value);
  JsonObject& add(const std::string& key, const std::vector<std::string>& values);
  // A nested object of counts, keys in sorted order.
  JsonObject& add(const std::string& key, const std::map<std::string, int64_t>& counts);
  std::string str() const { return "{" + body_.str() + "}"; }

 private:
  std::ostringstream& key(const std::string& k);
  std::ostringstream body_;
  bool first_ = true;
};
