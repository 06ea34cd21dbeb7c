#include "json_writer.hpp"

#include <cstdio>

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::ostringstream& JsonObject::key(const std::string& k) {
  if (!first_) body_ << ",";
  first_ = false;
  body_ << quoted(k) << ":";
  return body_;
}

JsonObject& JsonObject::add(const std::string& k, int64_t value) {
  key(k) << value;
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  key(k) << text;
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  key(k) << text;
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, const JsonObject& value) {
  key(k) << value.str();
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, bool value) {
  key(k) << (value ? "true" : "false");
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, const std::vector<int>& values) {
  std::ostringstream& out = key(k);
  out << "[";
  for (size_t i = 0; i < values.size(); ++i) out << (i > 0 ? "," : "") << values[i];
  out << "]";
  return *this;
}

JsonObject& JsonObject::addText(const std::string& k, const std::string& value) {
  key(k) << quoted(value);
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, const std::vector<std::string>& values) {
  std::ostringstream& out = key(k);
  out << "[";
  for (size_t i = 0; i < values.size(); ++i) out << (i > 0 ? "," : "") << quoted(values[i]);
  out << "]";
  return *this;
}

JsonObject& JsonObject::add(const std::string& k, const std::map<std::string, int64_t>& counts) {
  JsonObject inner;
  for (const auto& [name, count] : counts) inner.add(name, count);
  key(k) << inner.str();
  return *this;
}
