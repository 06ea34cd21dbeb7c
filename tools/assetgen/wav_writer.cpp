// RIFF WAVE output, 16-bit little-endian PCM.
#include <algorithm>
#include <cmath>

#include "encoders.hpp"

namespace gen {
namespace {

void put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void putTag(Bytes& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

Bytes encodeWav(const std::vector<float>& interleaved, int channels, int sampleRate) {
  const auto dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
  Bytes out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, static_cast<uint16_t>(channels));
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate * channels * 2));
  put16(out, static_cast<uint16_t>(channels * 2));
  put16(out, 16);
  putTag(out, "data");
  put32(out, dataBytes);
  for (float s : interleaved) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return out;
}

}  // namespace gen
