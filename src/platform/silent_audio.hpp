#pragma once
// Audio without a device: nothing is heard, but channels still report playing
// the way real ones do (a looping channel until stopped, a one-shot for its
// length at its rate), so game logic that asks is unaffected.
#include "platform/backend.hpp"

namespace pf {

class SilentAudio final : public AudioBackend {
 public:
  void play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) override;
  void stop(ChannelState& channel) override;
  void applyVolume(ChannelState&) override {}
  void applyRate(ChannelState&) override {}
  bool playing(ChannelState& channel) override;
  void release(ChannelState&) override {}
};

}  // namespace pf
