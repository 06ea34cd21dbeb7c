#pragma once
// Ogg Vorbis decoded piece by piece from bytes in memory, as 16-bit
// interleaved PCM: a music track is a few hundred kilobytes encoded and
// fifteen megabytes decoded, so it is decoded while it plays.
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

namespace pf {

class OggStream {
 public:
  OggStream(const uint8_t* data, size_t size);
  ~OggStream();
  OggStream(const OggStream&) = delete;
  OggStream& operator=(const OggStream&) = delete;

  // False when the bytes are not Ogg Vorbis or are damaged.
  bool ok() const { return open_; }
  int channels() const { return channels_; }
  int sampleRate() const { return sampleRate_; }
  // Frames (one sample per channel) of the whole stream; 0 when unknown.
  size_t frames() const { return frames_; }

  // Decodes up to `frames` frames into `out`; fewer only at the end of the
  // stream (0 there, or on damaged data).
  size_t read(int16_t* out, size_t frames);
  // Starts again from the first frame, exactly as freshly opened.
  void rewind();

 private:
  bool openFile();
  void closeFile();

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  OggVorbis_File file_{};
  bool open_ = false;
  int channels_ = 0;
  int sampleRate_ = 0;
  size_t frames_ = 0;

  friend size_t oggStreamRead(void*, size_t, size_t, void*);
  friend int oggStreamSeek(void*, ogg_int64_t, int);
  friend long oggStreamTell(void*);
};

}  // namespace pf
