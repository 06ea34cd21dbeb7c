// The simulator's input scripts: any file either loads or is refused with a
// message, and a loaded script is applied over its frames.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "input_script.hpp"
#include "test_support.hpp"

namespace {

const std::string path = "/tmp/ovelune-fuzz-script-" + std::to_string(getpid());

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  freshHeadless();
  std::atexit([] { unlink(path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  InputScript script;
  std::string error;
  if (!script.load(path, &error)) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  for (int frame = -2; frame < 64; ++frame) script.apply(frame);
  script.apply(2147483647);
  return 0;
}
