#include "essentials/sound_helpers.hpp"

#include "essentials/settings.hpp"
#include "platform/platform.hpp"

void playSfx(SoundSlot& sfx, float volume, float rate) {
  if (settings.sound != 1) return;
  pf::stopChannel(sfx.channel);
  pf::Channel fresh = pf::allocChannel();
  pf::setChannelRate(fresh, rate);
  pf::setChannelVolume(fresh, volume);
  sfx.channel = pf::playSound(sfx.sound(), fresh);
}

void startMusic(SoundSlot& track) { track.channel = pf::playSound(track.sound(), track.channel); }
