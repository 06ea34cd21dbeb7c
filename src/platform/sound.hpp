#pragma once
// Sounds decoded to 16-bit PCM at load time (a looping Ogg Vorbis track is
// kept encoded and decoded as it plays), and channels: the handle through
// which one play of a sound is stopped, tuned and queried.
#include <cstdint>
#include <memory>
#include <vector>

namespace pf {

enum SoundFlags : int { kSoundLoop = 1 };

struct Sound {
  Sound() = default;
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;
  // Lets the audio backend drop its copy of the samples.
  ~Sound();

  std::vector<int16_t> samples;  // interleaved
  // A streamed sound: its Ogg Vorbis bytes (samples stay empty; an embedded
  // file's own bytes, or else a copy in encodedCopy) and the frames they
  // decode to (`OggStream`).
  const uint8_t* encodedData = nullptr;
  size_t encodedSize = 0;
  std::vector<uint8_t> encodedCopy;
  size_t encodedFrames = 0;
  int channels = 1;
  int sampleRate = 44100;
  bool loop = false;

  bool streamed() const { return encodedData != nullptr; }
  // Frames (one sample per channel) of one pass through the sound.
  size_t frames() const {
    if (streamed()) return encodedFrames;
    return channels <= 0 ? 0 : samples.size() / static_cast<size_t>(channels);
  }
  // Length of one pass through the sound at normal rate.
  double lengthMs() const {
    if (channels <= 0 || sampleRate <= 0) return 0;
    return 1000.0 * static_cast<double>(frames()) / sampleRate;
  }
};

using SoundPtr = std::unique_ptr<Sound>;

// Decodes RIFF WAVE (8/16-bit PCM) or Ogg Vorbis bytes; null when neither.
// A looping Ogg Vorbis sound (kSoundLoop: the music) keeps its bytes instead,
// to be decoded as it plays; `lasting` bytes outlive every sound and are
// referred to rather than copied.
SoundPtr decodeSound(const uint8_t* data, size_t size, int flags, bool lasting = false);

// What a channel is playing and how: defined for the platform layer and its
// backends only (platform/channel_state.hpp).
struct ChannelState;

// A channel handle. Copies refer to the same channel; an empty handle is no
// channel at all (operations on it do nothing).
class Channel {
 public:
  Channel() = default;
  explicit Channel(std::shared_ptr<ChannelState> s) : state_(std::move(s)) {}
  ChannelState* state() const { return state_.get(); }
  const std::shared_ptr<ChannelState>& shared() const { return state_; }
  explicit operator bool() const { return static_cast<bool>(state_); }
  friend bool operator==(const Channel& a, const Channel& b) { return a.state_ == b.state_; }

 private:
  std::shared_ptr<ChannelState> state_;
};

}  // namespace pf
