#pragma once
// The common start of the drivers that draw through the real backends
// (screenshots, renderer measurements): SDL and audio installed, a window of
// the game's logical size opened with line smoothing, the embedded files
// registered. Failures are reported on standard error.
bool openDriverWindow();
