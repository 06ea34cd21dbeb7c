#pragma once
// The "--name value" options of the test drivers' command lines.
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>

class DriverOptions {
 public:
  // Reads argv as pairs; a name not among `known`, or one without its value,
  // leaves ok() false.
  DriverOptions(int argc, char** argv, std::initializer_list<const char*> known, const char* usage) : usage_(usage) {
    for (int i = 1; i < argc; i += 2) {
      const std::string name = argv[i];
      bool listed = false;
      for (const char* k : known) listed = listed || name == k;
      if (!listed || i + 1 >= argc) {
        ok_ = false;
        return;
      }
      values_[name] = argv[i + 1];
    }
  }

  bool ok() const { return ok_; }
  std::string text(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? std::string() : it->second;
  }
  long long number(const std::string& name, long long fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : std::strtoll(it->second.c_str(), nullptr, 10);
  }
  // Prints the usage; the driver's exit status for a command line it refuses.
  int refuse() const {
    std::fputs(usage_, stderr);
    return 2;
  }

 private:
  const char* usage_;
  std::map<std::string, std::string> values_;
  bool ok_ = true;
};
