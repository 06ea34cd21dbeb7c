#include "persist/sql_text.hpp"

#include <locale.h>
#include <clocale>
#include <cstdio>

std::string sqlQuoted(const std::string& value) {
  std::string out;
  out.reserve(value.size() + 2);
  out += '\'';
  for (const char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  out += '\'';
  return out;
}

std::string sqlFloat(float value) {
  // A user locale with a decimal comma would otherwise break the statement.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const locale_t previous = uselocale(cLocale);
  char text[64];
  std::snprintf(text, sizeof text, "%#.9g", static_cast<double>(value));
  uselocale(previous);
  return text;
}
