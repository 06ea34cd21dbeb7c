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
  std::string body;  // bytes: text, or a replay file
  // The game's lists are Latin-1 text; other replies say what they are.
  std::string contentType = "text/html; charset=ISO-8859-1";
  std::vector<std::pair<std::string, std::string>> headers;
};

struct BoardLimits {
  double submitsPerMinute = 10, submitBurst = 5;  // the same again for replay uploads
  double readsPerMinute = 120, readBurst = 30;    // one visit of the scores screen reads six lists
};

// A whole run's replay is a few tens of kilobytes; anything above this is
// refused unread.
constexpr size_t kMaxUploadBytes = 1u << 20;

struct BoardOptions {
  BoardLimits limits;
  ListingPolicy listed = ListingPolicy::verified;
  // Uploaded replays waiting to be verified, at most; beyond, uploads get 503.
  int maxQueued = 500;
};

struct BoardRequest {
  std::string address;
  std::string method = "GET";
  std::string target;  // the path with its query, as sent
  std::string body;
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
// Where a run's replay is served, and the ship's best verified run.
std::string replayPath(int64_t runId);
std::string bestReplayPath(int ship);
// Entries "N. [score][name]" joined by "<br>", ranks from 1 without gaps.
// Brackets and angle brackets in names become parentheses: a name cannot
// break the list apart.
std::string renderBestList(const std::vector<RankedEntry>& entries);

std::string latin1ToUtf8(const std::string& latin1);
// Code points above 255 (never stored by this server) read as "?".
std::string utf8ToLatin1(const std::string& utf8);

class ScoreService {
 public:
  ScoreService(ScoreStore& store, const BoardOptions& options);
  BoardReply handle(const BoardRequest& request);
  // A GET of the target (the path with its query, as sent).
  BoardReply handle(const std::string& address, const std::string& target) {
    return handle(BoardRequest{address, "GET", target, {}});
  }

 private:
  BoardReply submit(const std::string& address, int ship, const std::string& query);
  // POST /replays?ship=N&name=NAME&score=S with the replay as the body:
  // queued for verification (202), or refused at once.
  BoardReply upload(const BoardRequest& request, const std::string& query);
  BoardReply download(const std::string& path);

  ScoreStore& store_;
  BoardOptions options_;
  RateLimiter submits_;
  RateLimiter uploads_;
  RateLimiter reads_;
};
