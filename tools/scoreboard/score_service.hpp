#pragma once
// The scoreboard's whole protocol, apart from HTTP itself: the six list
// paths, the probe and the submission query, each value from the network
// checked before it reaches the store.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "rate_limiter.hpp"
#include "score_store.hpp"

constexpr const char* kListPathPrefix = "/members/pellmore/uws";
constexpr const char* kProbePath = "/members/pellmore/sPhallus.php";
constexpr const char* kSubmitPassword = "vorta7";
constexpr int kListLength = 40;
constexpr size_t kMaxNameBytes = 15;
constexpr int64_t kMaxScore = 2147483647;

struct BoardReply {
  int status = 200;
  std::string body;
};

struct BoardLimits {
  double submitsPerMinute = 10, submitBurst = 5;
  double readsPerMinute = 120, readBurst = 30;  // one visit of the scores screen reads six lists
};

using QueryPairs = std::vector<std::pair<std::string, std::string>>;

// key=value pairs split at "&", percent-decoded ("+" is a blank); nothing
// when a pair has no "=" or a "%" is not followed by two hex digits.
std::optional<QueryPairs> parseQuery(const std::string& query);
// 1 to 15 characters of printable Latin-1 (32 to 126, 160 to 255), not all blanks.
bool validName(const std::string& name);
// A decimal number from 0 to 2^31 - 1, digits only.
std::optional<int64_t> parseScore(const std::string& text);
// Ship 1 to 6 from "/members/pellmore/uws<ship>.php", 0 for any other path.
int listShip(const std::string& path);
// Entries "N. [score][name]" joined by "<br>", ranks from 1 without gaps.
// Brackets and angle brackets in names become parentheses: a name cannot
// break the list apart.
std::string renderBestList(const std::vector<RankedEntry>& entries);

std::string latin1ToUtf8(const std::string& latin1);
// Code points above 255 (never stored by this server) read as "?".
std::string utf8ToLatin1(const std::string& utf8);

class ScoreService {
 public:
  ScoreService(ScoreStore& store, const BoardLimits& limits);
  // target: the request's path with its query, as sent.
  BoardReply handle(const std::string& address, const std::string& target);

 private:
  BoardReply submit(const std::string& address, int ship, const std::string& query);

  ScoreStore& store_;
  RateLimiter submits_;
  RateLimiter reads_;
};
