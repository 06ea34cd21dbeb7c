// Decoding of RIFF WAVE and Ogg Vorbis bytes to 16-bit PCM.
#include <cstring>

#include "platform/backend.hpp"
#include "platform/ogg_stream.hpp"
#include "platform/sound.hpp"

namespace pf {

Sound::~Sound() {
  if (AudioBackend* audio = audioBackend()) audio->forgetSound(*this);
}
namespace {

uint32_t le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

SoundPtr decodeWav(const uint8_t* d, size_t n) {
  if (n < 12 || std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return nullptr;
  int channels = 0, rate = 0, bits = 0;
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= n) {
    const uint8_t* chunk = d + pos;
    const size_t len = le32(chunk + 4);
    const size_t body = pos + 8;
    const size_t avail = std::min(len, n - body);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && avail >= 16) {
      if (le16(d + body) != 1) return nullptr;  // PCM only
      channels = le16(d + body + 2);
      rate = static_cast<int>(le32(d + body + 4));
      bits = le16(d + body + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && haveFormat) {
      if (channels < 1 || channels > 2 || rate <= 0 || (bits != 8 && bits != 16)) return nullptr;
      auto s = std::make_unique<Sound>();
      s->channels = channels;
      s->sampleRate = rate;
      if (bits == 16) {
        s->samples.resize(avail / 2);
        for (size_t i = 0; i < s->samples.size(); ++i) s->samples[i] = static_cast<int16_t>(le16(d + body + i * 2));
      } else {
        s->samples.resize(avail);
        for (size_t i = 0; i < avail; ++i) s->samples[i] = static_cast<int16_t>((d[body + i] - 128) << 8);
      }
      return s;
    }
    pos = body + len + (len & 1);
  }
  return nullptr;
}

SoundPtr decodeOgg(const uint8_t* d, size_t n, bool streamed, bool lasting) {
  OggStream stream(d, n);
  if (!stream.ok() || stream.channels() < 1 || stream.channels() > 2) return nullptr;
  auto s = std::make_unique<Sound>();
  s->channels = stream.channels();
  s->sampleRate = stream.sampleRate();
  if (streamed && stream.frames() > 0) {
    if (!lasting) {
      s->encodedCopy.assign(d, d + n);
      d = s->encodedCopy.data();
    }
    s->encodedData = d;
    s->encodedSize = n;
    s->encodedFrames = stream.frames();
    return s;
  }
  const size_t channels = static_cast<size_t>(s->channels);
  constexpr size_t kChunkFrames = 4096;
  // Room for the last chunk's read too, so the vector never regrows.
  s->samples.reserve((stream.frames() + kChunkFrames) * channels);
  for (;;) {
    const size_t at = s->samples.size();
    s->samples.resize(at + kChunkFrames * channels);
    const size_t got = stream.read(s->samples.data() + at, kChunkFrames);
    s->samples.resize(at + got * channels);
    if (got == 0) break;
  }
  return s;
}

}  // namespace

SoundPtr decodeSound(const uint8_t* data, size_t size, int flags, bool lasting) {
  SoundPtr s = decodeWav(data, size);
  if (!s) s = decodeOgg(data, size, (flags & kSoundLoop) != 0, lasting);
  if (s) s->loop = (flags & kSoundLoop) != 0;
  return s;
}

}  // namespace pf
