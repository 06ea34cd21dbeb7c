#pragma once
#include <cstdint>

// Wraps a sum to 32 bits the way the game's integer arithmetic does, without
// signed overflow (undefined in C++): compute in 64 bits, then wrap.
inline int32_t wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
