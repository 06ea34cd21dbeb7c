// Decoding of RIFF WAVE and Ogg Vorbis bytes to 16-bit PCM.
#include <vorbis/vorbisfile.h>

#include <cstring>

#include "platform/backend.hpp"
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

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

size_t oggRead(void* out, size_t size, size_t count, void* src) {
  auto* r = static_cast<MemoryReader*>(src);
  const size_t want = size * count;
  const size_t got = std::min(want, r->size - r->pos);
  std::memcpy(out, r->data + r->pos, got);
  r->pos += got;
  return size == 0 ? 0 : got / size;
}

int oggSeek(void* src, ogg_int64_t offset, int whence) {
  auto* r = static_cast<MemoryReader*>(src);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(r->pos);
  if (whence == SEEK_END) base = static_cast<ogg_int64_t>(r->size);
  const ogg_int64_t to = base + offset;
  if (to < 0 || to > static_cast<ogg_int64_t>(r->size)) return -1;
  r->pos = static_cast<size_t>(to);
  return 0;
}

long oggTell(void* src) { return static_cast<long>(static_cast<MemoryReader*>(src)->pos); }

SoundPtr decodeOgg(const uint8_t* d, size_t n) {
  if (n < 4 || std::memcmp(d, "OggS", 4) != 0) return nullptr;
  MemoryReader reader{d, n, 0};
  OggVorbis_File vf;
  ov_callbacks cb{oggRead, oggSeek, nullptr, oggTell};
  if (ov_open_callbacks(&reader, &vf, nullptr, 0, cb) != 0) return nullptr;
  const vorbis_info* info = ov_info(&vf, -1);
  auto s = std::make_unique<Sound>();
  s->channels = info->channels;
  s->sampleRate = static_cast<int>(info->rate);
  const ogg_int64_t total = ov_pcm_total(&vf, -1);
  if (total > 0) s->samples.reserve(static_cast<size_t>(total) * static_cast<size_t>(s->channels));
  char buf[16384];
  int section = 0;
  for (;;) {
    const long got = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
    if (got <= 0) break;
    const size_t count = static_cast<size_t>(got) / 2;
    const size_t at = s->samples.size();
    s->samples.resize(at + count);
    std::memcpy(s->samples.data() + at, buf, count * 2);
  }
  ov_clear(&vf);
  if (s->channels < 1 || s->channels > 2) return nullptr;
  return s;
}

}  // namespace

SoundPtr decodeSound(const uint8_t* data, size_t size, int flags) {
  SoundPtr s = decodeWav(data, size);
  if (!s) s = decodeOgg(data, size);
  if (s) s->loop = (flags & kSoundLoop) != 0;
  return s;
}

}  // namespace pf
