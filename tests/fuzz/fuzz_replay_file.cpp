// The replay reader: any bytes either decode or are refused with a message,
// and a decoded replay encodes back to bytes that decode to the same run.
// Mutations get their checksum made right again, so that they reach the
// header's and the frames' parsers rather than stopping at the checksum; the
// seeds are the golden replays.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "persist/replay_file.hpp"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int /*seed*/) {
  size = LLVMFuzzerMutate(data, size, maxSize);
  if (size > 4) {
    const uint32_t sum = replayChecksum(data, size - 4);
    for (size_t i = 0; i < 4; ++i) data[size - 4 + i] = static_cast<uint8_t>(sum >> (8 * i));
  }
  return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  for (const ReplayPart part : {ReplayPart::header, ReplayPart::whole}) {
    const ReplayRead read = decodeReplay(bytes, part);
    if (!read.ok) {
      if (read.error.empty()) __builtin_trap();  // a refusal always says why
      continue;
    }
    const ReplayRead again = decodeReplay(encodeReplay(read.replay), part);
    if (!again.ok || !(again.replay.result == read.replay.result) || again.replay.ship != read.replay.ship ||
        again.replay.seed != read.replay.seed || !(again.replay.input == read.replay.input)) {
      __builtin_trap();
    }
  }
  return 0;
}
