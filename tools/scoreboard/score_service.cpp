#include "score_service.hpp"

#include <algorithm>
#include <array>
#include <map>

#include "persist/replay_file.hpp"

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] != '%') {
      out += text[i];
    } else {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = hexValue(text[i + 1]);
      const int lo = hexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
  }
  return out;
}

BoardReply reply(int status, std::string body) { return {status, std::move(body)}; }

constexpr const char* kReplaysPrefix = "/replays/";
constexpr const char* kBestReplaysPrefix = "/replays/best/";

// A whole number from its digits alone, at most `most` of them (18 at most
// fit); nothing for anything else.
std::optional<int64_t> decimalNumber(const std::string& digits, size_t most) {
  if (digits.empty() || digits.size() > most) return std::nullopt;
  int64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A ship number or a run id.
std::optional<int64_t> wholeNumber(const std::string& digits) { return decimalNumber(digits, 18); }

// The values of a query that holds each of the three keys once and nothing
// else; nothing for any other query.
std::optional<std::map<std::string, std::string>> threeValues(const std::string& query,
                                                              const std::array<const char*, 3>& keys) {
  const std::optional<QueryPairs> pairs = parseQuery(query);
  if (!pairs) return std::nullopt;
  std::map<std::string, std::string> values;
  for (const auto& [key, value] : *pairs) {
    const bool known = std::find(keys.begin(), keys.end(), key) != keys.end();
    if (!known || !values.emplace(key, value).second) return std::nullopt;
  }
  if (values.size() != keys.size()) return std::nullopt;
  return values;
}

BoardReply replayFile(const std::vector<uint8_t>& bytes, const std::string& name) {
  BoardReply r{200, std::string(bytes.begin(), bytes.end()), "application/octet-stream", {}};
  r.headers.emplace_back("Content-Disposition", "attachment; filename=\"" + name + "\"");
  return r;
}

}  // namespace

std::optional<QueryPairs> parseQuery(const std::string& query) {
  QueryPairs pairs;
  size_t start = 0;
  while (true) {
    const size_t end = std::min(query.find('&', start), query.size());
    const std::string pair = query.substr(start, end - start);
    const size_t eq = pair.find('=');
    if (eq == std::string::npos) return std::nullopt;
    auto key = percentDecode(pair.substr(0, eq));
    auto value = percentDecode(pair.substr(eq + 1));
    if (!key || !value) return std::nullopt;
    pairs.emplace_back(std::move(*key), std::move(*value));
    if (end == query.size()) return pairs;
    start = end + 1;
  }
}

bool validName(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameBytes) return false;
  if (name.find_first_not_of(' ') == std::string::npos) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 32 && u <= 126) || u >= 160;
  });
}

std::optional<int64_t> parseScore(const std::string& text) {
  const std::optional<int64_t> value = decimalNumber(text, 10);
  if (!value || *value > kMaxScore) return std::nullopt;
  return value;
}

int listShip(const std::string& path) {
  const std::string prefix = kListPathPrefix;
  if (path.size() != prefix.size() + 5 || path.compare(0, prefix.size(), prefix) != 0) return 0;
  const char digit = path[prefix.size()];
  if (digit < '1' || digit > '6' || path.compare(prefix.size() + 1, 4, ".php") != 0) return 0;
  return digit - '0';
}

std::string replayPath(int64_t runId) { return kReplaysPrefix + std::to_string(runId) + ".ovr"; }
std::string bestReplayPath(int ship) { return kBestReplaysPrefix + std::to_string(ship) + ".ovr"; }

std::string renderBestList(const std::vector<RankedEntry>& entries) {
  std::string body;
  int rank = 1;
  for (const RankedEntry& e : entries) {
    if (rank > 1) body += "<br>";
    // Cut to the longest name a submission may have: a row written into a
    // shared database by other means cannot make a list grow unbounded.
    std::string name = utf8ToLatin1(e.name).substr(0, kMaxNameBytes);
    for (char& c : name) {
      if (c == '[' || c == '<') c = '(';
      if (c == ']' || c == '>') c = ')';
    }
    body += std::to_string(rank++) + ". [" + std::to_string(e.score) + "][" + name + "]";
  }
  return body;
}

std::string latin1ToUtf8(const std::string& latin1) {
  std::string out;
  for (const char c : latin1) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::string utf8ToLatin1(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto u = static_cast<unsigned char>(utf8[i]);
    size_t length = u < 0x80 ? 1 : (u >> 5) == 6 ? 2 : (u >> 4) == 14 ? 3 : 4;
    if (u < 0x80) {
      out += utf8[i];
    } else if (length == 2 && i + 1 < utf8.size()) {
      const unsigned cp = ((u & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out += cp <= 255 ? static_cast<char>(cp) : '?';
    } else {
      out += '?';
    }
    i += length;
  }
  return out;
}

ScoreService::ScoreService(ScoreStore& store, const BoardOptions& options)
    : store_(store),
      options_(options),
      submits_(options.limits.submitsPerMinute, options.limits.submitBurst),
      uploads_(options.limits.submitsPerMinute, options.limits.submitBurst),
      reads_(options.limits.readsPerMinute, options.limits.readBurst) {}

BoardReply ScoreService::handle(const BoardRequest& request) {
  const std::string& address = request.address;
  const std::string& target = request.target;
  const size_t mark = target.find('?');
  const std::string path = target.substr(0, mark);
  const bool hasQuery = mark != std::string::npos;
  try {
    if (request.method == "POST") {
      if (path != "/replays" || !hasQuery) return reply(404, "not found");
      return upload(request, target.substr(mark + 1));
    }
    if (request.method != "GET") return reply(405, "method not allowed");
    if (path.rfind(kReplaysPrefix, 0) == 0) {
      if (hasQuery) return reply(400, "bad request");
      if (!reads_.allow(address)) return reply(429, "slow down");
      return download(path);
    }
    if (path == kProbePath) {
      if (hasQuery) return reply(400, "bad request");
      if (!reads_.allow(address)) return reply(429, "slow down");
      return reply(200, "ok");
    }
    const int ship = listShip(path);
    if (ship == 0) return reply(404, "not found");
    if (hasQuery) return submit(address, ship, target.substr(mark + 1));
    if (!reads_.allow(address)) return reply(429, "slow down");
    return reply(200, renderBestList(store_.best(ship, kListLength, options_.listed)));
  } catch (const std::exception&) {
    return reply(503, "store unavailable");
  }
}

BoardReply ScoreService::submit(const std::string& address, int ship, const std::string& query) {
  // Counted before anything is checked, so guessing the password is throttled too.
  if (!submits_.allow(address)) return reply(429, "slow down");
  std::optional<std::map<std::string, std::string>> found = threeValues(query, {"password", "name", "score"});
  if (!found) return reply(400, "bad request");
  std::map<std::string, std::string>& values = *found;
  if (values["password"] != kSubmitPassword) return reply(403, "forbidden");
  const std::optional<int64_t> score = parseScore(values["score"]);
  if (!validName(values["name"]) || !score) return reply(400, "bad request");
  store_.submit(ship, latin1ToUtf8(values["name"]), *score);
  return reply(200, "ok");
}

BoardReply ScoreService::upload(const BoardRequest& request, const std::string& query) {
  if (!uploads_.allow(request.address)) return reply(429, "slow down");
  if (request.body.size() > kMaxUploadBytes) return reply(413, "a replay is never this large");
  std::optional<std::map<std::string, std::string>> found = threeValues(query, {"ship", "name", "score"});
  if (!found) return reply(400, "bad request");
  std::map<std::string, std::string>& values = *found;
  const std::optional<int64_t> ship = wholeNumber(values["ship"]);
  const std::optional<int64_t> score = parseScore(values["score"]);
  if (!ship || *ship < 1 || *ship > 6 || !validName(values["name"]) || !score) return reply(400, "bad request");
  const std::vector<uint8_t> bytes(request.body.begin(), request.body.end());
  const ReplayRead read = decodeReplay(bytes);
  if (!read.ok) return reply(400, "the replay cannot be read: " + read.error);
  const std::optional<int64_t> id =
      store_.addRun(static_cast<int>(*ship), latin1ToUtf8(values["name"]), *score, bytes, options_.maxQueued);
  if (!id) return reply(503, "too many replays wait to be checked; send it again later");
  return reply(202, "accepted for checking as run " + std::to_string(*id));
}

BoardReply ScoreService::download(const std::string& path) {
  const std::string best = kBestReplaysPrefix;
  const bool isBest = path.rfind(best, 0) == 0;
  const std::string file = path.substr(isBest ? best.size() : std::string(kReplaysPrefix).size());
  if (file.size() < 5 || file.compare(file.size() - 4, 4, ".ovr") != 0) return reply(404, "not found");
  const std::optional<int64_t> number = wholeNumber(file.substr(0, file.size() - 4));
  if (!number) return reply(404, "not found");
  std::optional<int64_t> run = *number;
  if (isBest) run = *number >= 1 && *number <= 6 ? store_.bestVerifiedRun(static_cast<int>(*number)) : std::nullopt;
  const std::optional<std::vector<uint8_t>> bytes = run ? store_.verifiedReplay(*run) : std::nullopt;
  if (!bytes) return reply(404, "no such verified run");
  return replayFile(*bytes, "ovelune-run-" + std::to_string(*run) + ".ovr");
}
