#include "persist/online_scores.hpp"

#include <algorithm>
#include <chrono>
#include <vector>

#include "persist/score_server.hpp"
#include "platform/net/tcp_client.hpp"

namespace {

// Real time: the budget is about how long the player waits, whatever
// display clock is installed.
int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string bestListPath(int ship) { return "/members/pellmore/uws" + std::to_string(ship) + ".php"; }

std::string replayUploadQuery(int ship, const std::string& name, int32_t score) {
  return "/replays?ship=" + std::to_string(ship) + "&name=" + percentEncode(name) + "&score=" + std::to_string(score);
}

std::string worldBestReplayPath(int ship) { return "/replays/best/" + std::to_string(ship) + ".ovr"; }

RequestBudget::RequestBudget(int totalMs) : deadlineMs_(nowMs() + totalMs) {}

template <class Request>
bool RequestBudget::attempt(Request request) {
  const ScoreServer& server = scoreServer();
  const int64_t left = deadlineMs_ - nowMs();
  if (gaveUp_ || left <= 0 || server.host.empty()) {
    gaveUp_ = true;
    return false;
  }
  const int timeout = static_cast<int>(std::min<int64_t>(left, kRequestTimeoutMs));
  const pf::HttpOutcome outcome = request(server, timeout);
  if (outcome == pf::HttpOutcome::unreachable) gaveUp_ = true;
  return outcome == pf::HttpOutcome::ok;
}

bool RequestBudget::get(const std::string& pathAndQuery, std::string* lastBodyLine) {
  if (lastBodyLine != nullptr) lastBodyLine->clear();
  std::vector<std::string> body;
  const bool ok = attempt([&](const ScoreServer& server, int timeout) {
    return pf::httpGet(server.host, server.port, pathAndQuery, &body, timeout);
  });
  if (ok && lastBodyLine != nullptr && !body.empty()) *lastBodyLine = body.back();
  return ok;
}

bool RequestBudget::getFile(const std::string& pathAndQuery, std::string* body) {
  body->clear();
  return attempt([&](const ScoreServer& server, int timeout) {
    return pf::httpGetBody(server.host, server.port, pathAndQuery, body, kMaxReplayTransfer, timeout);
  });
}

bool RequestBudget::post(const std::string& pathAndQuery, const std::string& payload) {
  return attempt([&](const ScoreServer& server, int timeout) {
    return pf::httpPost(server.host, server.port, pathAndQuery, payload, timeout);
  });
}

Tokenizer& fetchBestList(const std::string& path, Tokenizer& tokenizer, RequestBudget& budget) {
  std::string text;
  budget.get(path, &text);
  tokenizer.Set(text);
  tokenizer.Tokenize("<br>");
  return tokenizer;
}

void fetchBestLists(std::array<Tokenizer, kShipCount>& lists) {
  RequestBudget budget;
  for (int ship = 1; ship <= kShipCount; ++ship)
    fetchBestList(bestListPath(ship), lists[static_cast<size_t>(ship - 1)], budget);
}

std::string cleanPlayerName(const std::string& typed) {
  std::string name = typed.substr(0, kMaxNameLength);
  const size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return "Mr_Perfect";
  name = name.substr(first, name.find_last_not_of(' ') - first + 1);
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

std::string percentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  static const std::string kUnreserved = "-_.!~*'()";
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                       kUnreserved.find(c) != std::string::npos;
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    }
  }
  return out;
}

int32_t submittedScore(int64_t score) { return static_cast<int32_t>(static_cast<uint32_t>(score)); }

std::string submissionQuery(const std::string& listPath, const std::string& name, int32_t score) {
  return listPath + "?password=" + kScorePassword + "&name=" + percentEncode(name) + "&score=" + std::to_string(score);
}

void sendScore(int ship, const std::string& name, int32_t score, const std::string& replay) {
  RequestBudget budget;
  // The probe's answer is not read; an unreachable server ends the budget.
  budget.get(kProbePath, nullptr);
  budget.get(submissionQuery(bestListPath(ship), name, score), nullptr);
  if (!replay.empty() && replay.size() <= kMaxReplayTransfer) budget.post(replayUploadQuery(ship, name, score), replay);
}

std::string fetchWorldBestReplay(int ship) {
  RequestBudget budget;
  std::string replay;
  budget.getFile(worldBestReplayPath(ship), &replay);
  return replay;
}
