#pragma once
// Where the online scoreboard is: a build-time default (OVELUNE_SCORE_SERVER,
// "host" or "host:port") that the environment variable of the same name
// overrides at start-up.
#include <optional>
#include <string>

struct ScoreServer {
  std::string host;  // empty: no usable server, every request fails at once
  int port = 80;
};

// "host", "host:port", "[v6 address]" or "[v6 address]:port"; the port is
// 80 when none is given. Nothing for an empty host or a port that is not a
// number from 1 to 65535.
std::optional<ScoreServer> parseScoreServer(const std::string& text);

// Uses `override` when it is set and not empty, else the build's default.
// A value that does not parse leaves no usable server.
void configureScoreServer(const char* override);
const ScoreServer& scoreServer();
