// The settings row as read from a database whose 37 setting columns hold any
// value of any type: each column takes a type byte (NULL, integer, real,
// text, blob) and its bytes from the input. Loading either succeeds or is
// refused with the player's message; a loaded row saves and loads again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "essentials/settings.hpp"
#include "persist/database.hpp"
#include "persist/settings_row.hpp"
#include "persist/sql_text.hpp"
#include "test_support.hpp"

namespace {

constexpr int kSettingColumns = 37;

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint64_t word() {
    uint64_t w = 0;
    for (int i = 0; i < 8; ++i) w = (w << 8) | byte();
    return w;
  }
  std::string chunk() {
    const size_t length = std::min<size_t>(byte(), size_ - at_);
    std::string s(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

std::string hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

// One SQL literal of the type the input picks.
std::string literal(Bytes& in) {
  switch (in.byte() % 5) {
    case 0: return "NULL";
    case 1: return std::to_string(static_cast<int64_t>(in.word()));
    case 2: {
      const uint64_t bits = in.word();
      double d;
      std::memcpy(&d, &bits, sizeof d);
      if (d != d || d - d != 0) return "1e999";  // NaN and infinities have no literal; 1e999 reads as infinity
      char text[64];
      snprintf(text, sizeof text, "%.17g", d);
      return text;
    }
    case 3: {
      // Statement text cannot hold a NUL; SQL's char(0) puts one in the value.
      std::string text = sqlQuoted(in.chunk());
      for (size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at)) {
        text.replace(at, 1, "' || char(0) || '");
      }
      return text;
    }
    default: return "X'" + hex(in.chunk()) + "'";
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  freshHeadless();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  if (!openDatabase(":memory:") || !createTables()) __builtin_trap();
  std::string values = "INSERT OR REPLACE INTO setupData VALUES(1";
  for (int column = 0; column < kSettingColumns; ++column) values += ", " + literal(in);
  values += ")";
  if (!settingsDb.exec(values)) __builtin_trap();

  settings = Settings{};
  const DbResult loaded = loadSettings();
  if (!loaded) {
    if (loaded.consoleText() != std::string(kDatabaseLoadFailed) + "\n") __builtin_trap();
  } else {
    if (settings.screenwidth <= 0 || settings.screenheight <= 0) __builtin_trap();
    const Settings first = settings;
    const DbResult saved = saveSettings();
    if (!saved) {
      std::fprintf(stderr, "%s%s\n", saved.consoleText().c_str(), settingsUpdateStatement().c_str());
      __builtin_trap();
    }
    if (!loadSettings() || settings.name != first.name || settings.upkey != first.upkey) __builtin_trap();
  }
  settingsDb.close();
  return 0;
}
