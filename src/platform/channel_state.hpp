#pragma once
// The state behind a channel handle, shared by the portable layer and the
// audio backends; game code only ever holds the handle (platform/sound.hpp).
#include <cstdint>

#include "platform/sound.hpp"

namespace pf {

// State of one channel. The audio backend owns the meaning of `voice`.
struct ChannelState {
  float volume = 1.0f;
  float rate = 1.0f;
  const Sound* sound = nullptr;  // what plays, or played last
  bool active = false;           // started and not stopped
  int64_t startedMs = 0;         // clock time of the last start (silent backend)
  int voice = -1;                // backend voice (OpenAL source index), -1 when none
};

}  // namespace pf
