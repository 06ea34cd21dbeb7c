#pragma once
#include "platform/sound.hpp"

// Plays a sound effect when the sound setting is on: stops the given channel,
// plays on a fresh one at the given volume and rate and returns it (the caller
// stores it back, so a new play of an effect cuts off its previous play).
// With sound off nothing plays and the given channel comes back unchanged.
pf::Channel playSfx(const pf::Sound* sound, const pf::Channel& channel, float volume, float rate);

// Starts a music track on its channel (nothing when the track is missing).
void startMusic(const pf::Sound* track, pf::Channel& channel);
