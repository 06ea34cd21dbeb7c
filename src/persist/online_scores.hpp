#pragma once
// The online scoreboard client: the six per-ship best lists and the score
// submission, plain HTTP/1.0 GETs to the configured score server. Requests
// block the caller, but never longer than their budget.
#include <array>
#include <cstdint>
#include <string>

#include "essentials/settings.hpp"
#include "persist/tokenizer.hpp"

constexpr const char* kProbePath = "/members/pellmore/sPhallus.php";
constexpr const char* kScorePassword = "vorta7";
constexpr size_t kMaxNameLength = 15;

// One request may take this long, name resolution included.
constexpr int kRequestTimeoutMs = 3000;
// All requests of one visit of the scores screen, or of one submission.
constexpr int kVisitBudgetMs = 5000;

// "/members/pellmore/uws<ship>.php" for ships 1 to 6.
std::string bestListPath(int ship);
// Where a score server that verifies runs takes a run's replay (POSTed with
// the replay as the body), and serves the ship's best verified run.
std::string replayUploadQuery(int ship, const std::string& name, int32_t score);
std::string worldBestReplayPath(int ship);
// A replay served or sent is at most this large.
constexpr size_t kMaxReplayTransfer = 1u << 20;

// A deadline shared by several requests. Once one request finds the server
// unreachable the rest are not tried: the screen must not wait for each.
class RequestBudget {
 public:
  explicit RequestBudget(int totalMs = kVisitBudgetMs);
  // GETs the path within what is left; false when it failed or was not tried.
  bool get(const std::string& pathAndQuery, std::string* lastBodyLine);
  // The same, the reply's body kept whole (a replay file).
  bool getFile(const std::string& pathAndQuery, std::string* body);
  // POSTs the payload within what is left; true for a 2xx reply.
  bool post(const std::string& pathAndQuery, const std::string& payload);
  bool exhausted() const { return gaveUp_; }

 private:
  // One request with what is left of the budget, unless it is spent.
  template <class Request>
  bool attempt(Request request);

  int64_t deadlineMs_;
  bool gaveUp_ = false;
};

// GETs the path and tokenizes the last line of the reply's body at "<br>"
// into the tokenizer; a failed request leaves the text "".
Tokenizer& fetchBestList(const std::string& path, Tokenizer& tokenizer, RequestBudget& budget);

// The best lists of every ship, fetched under one budget.
void fetchBestLists(std::array<Tokenizer, kShipCount>& lists);

// The typed name as it is sent and stored: trimmed, at most 15 characters,
// every blank turned into "_", "Mr_Perfect" when nothing is left.
std::string cleanPlayerName(const std::string& typed);

// Every byte outside letters, digits and -_.!~*'() as %XX, so that no name
// can end or change the query.
std::string percentEncode(const std::string& text);

// The low 32 bits of the score, taken signed, as the scoreboard wants them.
int32_t submittedScore(int64_t score);

// listPath + "?password=vorta7&name=" + the encoded name + "&score=" + score.
std::string submissionQuery(const std::string& listPath, const std::string& name, int32_t score);

// Probes the server, sends the submission (whatever the probe's answer, as
// long as the server could be reached) and then the run's replay, all under
// one budget; the outcome is not reported. `name` is already cleaned. A
// server that does not take replays changes nothing.
void sendScore(int ship, const std::string& name, int32_t score, const std::string& replay);

// The ship's best verified run from the score server, within the usual
// budget; "" when there is none or the server cannot be reached.
std::string fetchWorldBestReplay(int ship);
