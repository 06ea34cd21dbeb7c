#include "platform/silent_audio.hpp"

#include "platform/platform.hpp"

namespace pf {

void SilentAudio::play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) {
  channel->sound = &sound;
  channel->active = true;
  channel->startedMs = millisecs();
}

void SilentAudio::stop(ChannelState& channel) { channel.active = false; }

bool SilentAudio::playing(ChannelState& channel) {
  if (!channel.active || channel.sound == nullptr) return false;
  if (channel.sound->loop) return true;
  const double rate = channel.rate > 0.0f ? channel.rate : 1.0;
  const double elapsed = static_cast<double>(millisecs() - channel.startedMs);
  if (elapsed * rate < channel.sound->lengthMs()) return true;
  channel.active = false;
  return false;
}

}  // namespace pf
