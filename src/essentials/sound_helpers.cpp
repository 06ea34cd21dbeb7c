#include "essentials/sound_helpers.hpp"

#include "essentials/settings.hpp"
#include "platform/platform.hpp"

pf::Channel playSfx(const pf::Sound* sound, const pf::Channel& channel, float volume, float rate) {
  if (settings.sound != 1 || sound == nullptr) return channel;
  pf::stopChannel(channel);
  pf::Channel fresh = pf::allocChannel();
  pf::setChannelRate(fresh, rate);
  pf::setChannelVolume(fresh, volume);
  return pf::playSound(*sound, fresh);
}

void startMusic(const pf::Sound* track, pf::Channel& channel) {
  if (track != nullptr) channel = pf::playSound(*track, channel);
}
