#include "game/gameplay_version.hpp"

std::string numericEnvironment() {
#if defined(__clang__)
  std::string env = "clang " + std::string(__clang_version__);
#elif defined(__GNUC__)
  std::string env = "gcc " + std::string(__VERSION__);
#else
  std::string env = "unknown compiler";
#endif
#if defined(__x86_64__)
  env += ", x86_64";
#elif defined(__aarch64__)
  env += ", aarch64";
#else
  env += ", other architecture";
#endif
#if defined(__SSE2_MATH__)
  env += " sse2";
#endif
#if defined(__FAST_MATH__)
  env += ", fast-math";
#endif
  // Every target of the build compiles with -ffp-contract=off and
  // -fno-fast-math (CMakeLists.txt); a build without them says so.
#if defined(OVELUNE_STRICT_FLOATS)
  env += ", strict floats";
#else
  env += ", unknown float flags";
#endif
  return env;
}
