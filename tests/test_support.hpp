#pragma once
// Shared set-up for tests: a headless platform with default settings.
#include "platform/headless/headless_backend.hpp"

// Installs the headless backend, resets settings and program state to their
// defaults and seeds the generator. Returns the headless display.
pf::HeadlessBackend& freshHeadless(uint64_t seed = 1);
