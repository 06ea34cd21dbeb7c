#pragma once
// The build's identity: a hash of the game's sources, compiler and flags,
// generated at build time. A replay is watched only by the build that
// recorded it.
const char* gameBuildId();
