#pragma once
// Saves an image (frame 0) as an 8-bit RGB PNG file, for the drivers that
// keep screenshots of the real renderer as test artefacts.
#include <string>

#include "platform/image.hpp"

bool writePng(const std::string& path, const pf::Image& image);
