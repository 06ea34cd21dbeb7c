#include "web_board.hpp"

#include <mstch/mstch.hpp>

#include <ctime>
#include <nlohmann/json.hpp>
#include <string_view>

#include "essentials/assets.hpp"
#include "platform/platform.hpp"
#include "ships/ship_registry.hpp"
#include "web_board_templates.hpp"

namespace {

// Keys in the order written: rank first, as a reader expects.
using json = nlohmann::ordered_json;

// Nothing but this server's own stylesheet and font: no scripts, no inline
// styles, no images, no frames, no forms, nothing from elsewhere.
constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; style-src 'self'; font-src 'self'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";
constexpr std::string_view kApiPrefix = "/api/";
constexpr std::string_view kStaticPrefix = "/web/";
constexpr const char* kStyleSheetPath = "/web/board.css";
constexpr const char* kFontPath = "/web/comfortaa.ttf";

BoardReply secured(int status, std::string body, std::string contentType) {
  BoardReply r{status, std::move(body), std::move(contentType), {}};
  r.headers = {{"Content-Security-Policy", kContentSecurityPolicy},
               {"X-Content-Type-Options", "nosniff"},
               {"Referrer-Policy", "no-referrer"}};
  return r;
}

BoardReply text(int status, std::string body) { return secured(status, std::move(body), "text/plain; charset=utf-8"); }

BoardReply jsonReply(int status, const json& value) {
  return secured(status, value.dump(1) + "\n", "application/json; charset=utf-8");
}

BoardReply failure(bool api, int status, const std::string& why) {
  return api ? jsonReply(status, json{{"error", why}}) : text(status, why + "\n");
}

BoardReply cached(BoardReply r) {
  r.headers.emplace_back("Cache-Control", "public, max-age=3600");
  return r;
}

const char* policyName(ListingPolicy policy) { return policy == ListingPolicy::verified ? "verified" : "all"; }

const char* policyLine(ListingPolicy policy) {
  return policy == ListingPolicy::verified
             ? "Verified runs only: every score here was proven by playing its uploaded run again on the server."
             : "All submissions: scores are listed as they were sent; \u2714 marks those proven by playing their "
               "uploaded run again on the server.";
}

// The scores screen's name of the ship, without its "ship: " label.
std::string shipTitle(const ShipEntry& ship) {
  constexpr std::string_view label = "ship: ";
  const std::string_view name = ship.statsName;
  return std::string(name.starts_with(label) ? name.substr(label.size()) : name);
}

std::string apiPath(const ShipEntry& ship) {
  return std::string(kApiPrefix) + "ships/" + std::to_string(ship.playertype);
}

// A stored name as the game could have sent it: valid UTF-8 of at most 15
// Latin-1 characters, whatever a row written by other means holds.
std::string shownName(const std::string& stored) { return latin1ToUtf8(utf8ToLatin1(stored).substr(0, kMaxNameBytes)); }

std::string isoTime(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  tm utc{};
  if (gmtime_r(&t, &utc) == nullptr) return "1970-01-01T00:00:00Z";
  char out[40];
  std::strftime(out, sizeof out, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return out;
}

// Digits in groups of three, parted by a narrow no-break space.
std::string groupedScore(int64_t score) {
  const std::string digits = std::to_string(score);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) out += "\u202f";
    out += digits[i];
  }
  return out;
}

// One listed entry, as the JSON and the page both show it.
struct ListedRun {
  int rank;
  std::string name;
  int64_t score;
  std::string date;  // ISO 8601, UTC
  bool verified;
  std::string replay;  // the download path; empty when no verified run reached the score
};

std::vector<ListedRun> listedRuns(ScoreStore& store, int ship, ListingPolicy policy) {
  std::vector<ListedRun> runs;
  for (const RankedEntry& e : store.best(ship, kListLength, policy)) {
    runs.push_back({static_cast<int>(runs.size()) + 1, shownName(e.name), e.score, isoTime(e.at), e.verified,
                    e.runId != 0 ? replayPath(e.runId) : std::string()});
  }
  return runs;
}

json toJson(const ListedRun& run) {
  json entry;
  entry["rank"] = run.rank;
  entry["name"] = run.name;
  entry["score"] = run.score;
  entry["date"] = run.date;
  entry["verified"] = run.verified;
  entry["replay"] = run.replay.empty() ? json(nullptr) : json(run.replay);
  return entry;
}

mstch::node toNode(const ListedRun& run) {
  return mstch::map{{"rank", run.rank},
                    {"name", run.name},
                    {"shownScore", groupedScore(run.score)},
                    {"date", run.date},
                    {"day", run.date.substr(0, 10)},
                    {"verified", run.verified},
                    {"replay", run.replay}};
}

}  // namespace

WebBoard::WebBoard(ScoreStore& store, const BoardOptions& options)
    : store_(store), listed_(options.listed), reads_(options.limits.readsPerMinute, options.limits.readBurst) {}

std::optional<BoardReply> WebBoard::handle(const BoardRequest& request) {
  const std::string path = request.target.substr(0, request.target.find('?'));
  const bool api = path == "/api" || path.starts_with(kApiPrefix);
  const bool asset = path.starts_with(kStaticPrefix);
  if (path != "/" && !api && !asset) return std::nullopt;
  if (request.method != "GET" && request.method != "HEAD") {
    BoardReply r = failure(api, 405, "method not allowed");
    r.headers.emplace_back("Allow", "GET, HEAD");
    return r;
  }
  if (path == kStyleSheetPath) return cached(secured(200, web_templates::kStyleSheet, "text/css; charset=utf-8"));
  if (path == kFontPath) {
    // The game's own font, embedded in the server: phones have no Comfortaa.
    std::vector<uint8_t> font;
    if (!pf::readAsset(std::string("incbin::") + kGameFontName, font)) return failure(false, 404, "not found");
    return cached(secured(200, std::string(font.begin(), font.end()), "font/ttf"));
  }
  if (asset) return failure(false, 404, "not found");
  if (!reads_.allow(request.address)) return failure(api, 429, "slow down");
  try {
    if (path == "/") return page();
    if (path == "/api" || path == kApiPrefix) return index();
    for (const ShipEntry& ship : shipRegistry()) {
      if (path == apiPath(ship)) return shipList(ship);
    }
    return failure(true, 404, "not found");
  } catch (const std::exception&) {
    return failure(api, 503, "store unavailable");
  }
}

BoardReply WebBoard::page() {
  mstch::array ships;
  for (const ShipEntry& ship : shipRegistry()) {
    mstch::array entries;
    for (const ListedRun& run : listedRuns(store_, ship.playertype, listed_)) entries.push_back(toNode(run));
    ships.push_back(mstch::map{{"ship", ship.playertype},
                               {"title", shipTitle(ship)},
                               {"api", apiPath(ship)},
                               {"hasEntries", !entries.empty()},
                               {"entries", std::move(entries)}});
  }
  const mstch::map view{{"policy", std::string(policyLine(listed_))}, {"ships", std::move(ships)}};
  return secured(200, mstch::render(web_templates::kPage, view), "text/html; charset=utf-8");
}

BoardReply WebBoard::index() {
  json ships = json::array();
  for (const ShipEntry& ship : shipRegistry()) {
    ships.push_back({{"ship", ship.playertype}, {"name", shipTitle(ship)}, {"list", apiPath(ship)}});
  }
  return jsonReply(200, {{"policy", policyName(listed_)}, {"page", "/"}, {"ships", std::move(ships)}});
}

BoardReply WebBoard::shipList(const ShipEntry& ship) {
  json entries = json::array();
  for (const ListedRun& run : listedRuns(store_, ship.playertype, listed_)) entries.push_back(toJson(run));
  return jsonReply(200, {{"ship", ship.playertype},
                         {"name", shipTitle(ship)},
                         {"policy", policyName(listed_)},
                         {"entries", std::move(entries)}});
}
