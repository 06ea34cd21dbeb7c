#pragma once
// Audio through OpenAL Soft. A channel holds a source from a fixed pool only
// while it plays; sources return to the pool when a play ends, is stopped or
// is cut off, so a session of any length never runs out of them.
//
// A streamed sound (the music) plays from a short queue of buffers that a
// worker thread refills from its decoder as the source uses them up, so no
// whole track is ever held decoded. Every entry point takes the backend's
// lock; the worker takes it for each refill.
#include <AL/al.h>
#include <AL/alc.h>

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/backend.hpp"
#include "platform/ogg_stream.hpp"

namespace pf {

class OpenAlAudio final : public AudioBackend {
 public:
  // Opens the default output device; null when none opens.
  static std::unique_ptr<OpenAlAudio> open();
  ~OpenAlAudio() override;
  OpenAlAudio(const OpenAlAudio&) = delete;
  OpenAlAudio& operator=(const OpenAlAudio&) = delete;

  void play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) override;
  void stop(ChannelState& channel) override;
  void applyVolume(ChannelState& channel) override;
  void applyRate(ChannelState& channel) override;
  bool playing(ChannelState& channel) override;
  void release(ChannelState& channel) override;
  void forgetSound(const Sound& sound) override;
  void setMuted(bool muted) override;

  int poolSize() const { return static_cast<int>(voices_.size()); }
  // Plays of streamed sounds running right now.
  int streamsInUse() const;
  // Sources bound to a channel right now.
  int voicesInUse() const;

 private:
  // A streamed play: its decoder and the buffers queued on its source.
  struct Stream {
    explicit Stream(const Sound& sound) : sound(&sound), decoder(sound.encodedData, sound.encodedSize) {}
    const Sound* sound;
    OggStream decoder;
    std::array<ALuint, 4> buffers{};
    std::vector<int16_t> chunk;
  };

  struct Voice {
    ALuint source = 0;
    ALuint buffer = 0;
    std::unique_ptr<Stream> stream;
    // Keeps a channel whose handles were all dropped playing to its end.
    std::shared_ptr<ChannelState> owner;
    uint64_t startOrder = 0;
    bool oneShot = true;
  };

  OpenAlAudio(ALCdevice* device, ALCcontext* context, const std::vector<ALuint>& sources);
  bool owns(const ChannelState& channel) const;
  bool sourcePlaying(const Voice& voice) const;
  int acquireVoice();
  void detach(int voice);
  ALuint bufferFor(const Sound& sound);
  void deleteBuffer(ALuint buffer);
  bool startStream(Voice& voice, const Sound& sound);
  bool fill(Stream& stream, ALuint buffer);
  void refill(Voice& voice);
  void stopStream(Voice& voice);
  void serviceStreams();

  ALCdevice* device_;
  ALCcontext* context_;
  std::vector<Voice> voices_;
  uint64_t playCount_ = 0;
  // Buffers this backend uploaded, by sound; a sound going away drops its
  // entry (forgetSound), so an address is never mistaken for another sound.
  std::unordered_map<const Sound*, ALuint> buffers_;
  // Recursive: dropping a channel's last handle inside a call releases it.
  mutable std::recursive_mutex lock_;
  std::condition_variable_any wake_;
  bool quitting_ = false;
  std::thread streamer_;
};

}  // namespace pf
