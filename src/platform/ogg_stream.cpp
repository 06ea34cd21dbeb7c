#include "platform/ogg_stream.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace pf {

size_t oggStreamRead(void* out, size_t size, size_t count, void* source) {
  auto* s = static_cast<OggStream*>(source);
  const size_t got = std::min(size * count, s->size_ - s->pos_);
  std::memcpy(out, s->data_ + s->pos_, got);
  s->pos_ += got;
  return size == 0 ? 0 : got / size;
}

int oggStreamSeek(void* source, ogg_int64_t offset, int whence) {
  auto* s = static_cast<OggStream*>(source);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(s->pos_);
  if (whence == SEEK_END) base = static_cast<ogg_int64_t>(s->size_);
  const ogg_int64_t to = base + offset;
  if (to < 0 || to > static_cast<ogg_int64_t>(s->size_)) return -1;
  s->pos_ = static_cast<size_t>(to);
  return 0;
}

long oggStreamTell(void* source) { return static_cast<long>(static_cast<OggStream*>(source)->pos_); }

OggStream::OggStream(const uint8_t* data, size_t size) : data_(data), size_(size) {
  if (!openFile()) return;
  const vorbis_info* info = ov_info(&file_, -1);
  channels_ = info->channels;
  sampleRate_ = static_cast<int>(info->rate);
  const ogg_int64_t total = ov_pcm_total(&file_, -1);
  frames_ = total > 0 ? static_cast<size_t>(total) : 0;
}

OggStream::~OggStream() { closeFile(); }

bool OggStream::openFile() {
  if (size_ < 4 || std::memcmp(data_, "OggS", 4) != 0) return false;
  pos_ = 0;
  const ov_callbacks callbacks{oggStreamRead, oggStreamSeek, nullptr, oggStreamTell};
  open_ = ov_open_callbacks(this, &file_, nullptr, 0, callbacks) == 0;
  return open_;
}

void OggStream::closeFile() {
  if (open_) ov_clear(&file_);
  open_ = false;
}

size_t OggStream::read(int16_t* out, size_t frames) {
  if (!open_ || channels_ <= 0) return 0;
  const size_t frameBytes = static_cast<size_t>(channels_) * sizeof(int16_t);
  size_t done = 0;
  while (done < frames) {
    const size_t want = std::min<size_t>((frames - done) * frameBytes, 1 << 16);
    int section = 0;
    const long got = ov_read(&file_, reinterpret_cast<char*>(out + done * static_cast<size_t>(channels_)),
                             static_cast<int>(want), 0, 2, 1, &section);
    if (got <= 0) break;
    done += static_cast<size_t>(got) / frameBytes;
  }
  return done;
}

// Reopened rather than seeked, so a loop plays the very samples of the first
// pass.
void OggStream::rewind() {
  closeFile();
  openFile();
}

}  // namespace pf
