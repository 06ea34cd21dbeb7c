#pragma once
// What decides whether a recorded run plays the same in this build.
#include <cstdint>
#include <string>

// How the game plays. Bump it in the same commit as any change that alters
// play, however small (a creature's constant, the order of random draws, a
// rule of the session): the golden replays fail until it is bumped and
// `make golden` has recorded them again. Replays of another version are
// refused, because they would play differently. Comments, refactorings and
// new tools leave it alone and keep every replay watchable.
constexpr uint32_t kGameplayVersion = 1;

// The numeric environment that can change floating-point results: the
// compiler and its version, the architecture and the floating-point
// settings. Two builds of one gameplay version and one environment play a
// run bit for bit the same.
std::string numericEnvironment();
