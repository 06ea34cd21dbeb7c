#include "persist/score_server.hpp"

#include <algorithm>
#include <cctype>

#ifndef OVELUNE_SCORE_SERVER
#define OVELUNE_SCORE_SERVER "127.0.0.1:4780"
#endif

namespace {

ScoreServer& configured() {
  static ScoreServer server = parseScoreServer(OVELUNE_SCORE_SERVER).value_or(ScoreServer{});
  return server;
}

std::optional<int> parsePort(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    return std::nullopt;
  }
  const int port = std::stoi(text);
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

}  // namespace

std::optional<ScoreServer> parseScoreServer(const std::string& text) {
  ScoreServer server;
  std::string portText;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos) return std::nullopt;
    server.host = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      portText = rest.substr(1);
      if (portText.empty()) return std::nullopt;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    const size_t colon = text.find(':');
    server.host = text.substr(0, colon);
    portText = text.substr(colon + 1);
    if (portText.empty()) return std::nullopt;
  } else {
    server.host = text;  // a bare IPv6 address has several colons and no port
  }
  if (server.host.empty()) return std::nullopt;
  if (!portText.empty()) {
    const std::optional<int> port = parsePort(portText);
    if (!port) return std::nullopt;
    server.port = *port;
  }
  return server;
}

void configureScoreServer(const char* override) {
  const std::string text = override != nullptr && *override != '\0' ? override : OVELUNE_SCORE_SERVER;
  configured() = parseScoreServer(text).value_or(ScoreServer{});
}

const ScoreServer& scoreServer() { return configured(); }
