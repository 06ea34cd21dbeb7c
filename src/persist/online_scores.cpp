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

RequestBudget::RequestBudget(int totalMs) : deadlineMs_(nowMs() + totalMs) {}

bool RequestBudget::get(const std::string& pathAndQuery, std::string* lastBodyLine) {
  if (lastBodyLine != nullptr) lastBodyLine->clear();
  const ScoreServer& server = scoreServer();
  const int64_t left = deadlineMs_ - nowMs();
  if (gaveUp_ || left <= 0 || server.host.empty()) {
    gaveUp_ = true;
    return false;
  }
  std::vector<std::string> body;
  const int timeout = static_cast<int>(std::min<int64_t>(left, kRequestTimeoutMs));
  const pf::HttpOutcome outcome = pf::httpGet(server.host, server.port, pathAndQuery, &body, timeout);
  if (outcome == pf::HttpOutcome::unreachable) gaveUp_ = true;
  if (outcome != pf::HttpOutcome::ok) return false;
  if (lastBodyLine != nullptr && !body.empty()) *lastBodyLine = body.back();
  return true;
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

void sendScore(const std::string& listPath, const std::string& name, int32_t score) {
  RequestBudget budget;
  if (budget.get(kProbePath, nullptr)) budget.get(submissionQuery(listPath, name, score), nullptr);
}
