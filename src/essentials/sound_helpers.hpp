#pragma once
#include "essentials/assets.hpp"

// Plays a sound effect when the sound setting is on: stops the slot's channel
// and plays on a fresh one at the given volume and rate, which the slot keeps
// (so a new play of an effect cuts off its previous play). With sound off, or
// no sound loaded, nothing plays and the slot is left as it is.
void playSfx(SoundSlot& sfx, float volume, float rate);

// Starts a music track on its channel (nothing when the track is missing).
void startMusic(SoundSlot& track);
