// The replay reader: any bytes either decode or are refused with a message,
// and a decoded replay encodes back to bytes that decode to the same run.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "persist/replay_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const ReplayRead read = decodeReplay(std::vector<uint8_t>(data, data + size));
  if (!read.ok) {
    if (read.error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  const ReplayRead again = decodeReplay(encodeReplay(read.replay));
  if (!again.ok || !(again.replay.result == read.replay.result) || again.replay.ship != read.replay.ship ||
      again.replay.seed != read.replay.seed || again.replay.frames.size() != read.replay.frames.size()) {
    __builtin_trap();
  }
  return 0;
}
