#include "json_writer.hpp"

#include <cstdio>

std::ostringstream& JsonObject::key(const std::string& k) {
  if (!first_) body_ << ",";
  first_ = false;
  body_ << "\"" << k << "\":";
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
