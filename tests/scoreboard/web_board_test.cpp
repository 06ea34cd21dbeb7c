// The web board against a real SQLite store: names, headers, policy, bounds, paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "temp_dir.hpp"
#include "web_board.hpp"

namespace {

using nlohmann::json;

class WebBoardTest : public ::testing::Test {
 protected:
  BoardReply get(const std::string& target, ListingPolicy policy = ListingPolicy::all, const char* method = "GET") {
    BoardOptions options;
    options.limits.readsPerMinute = 0;
    options.listed = policy;
    return WebBoard(*store, options).handle({"127.0.0.1", method, target, {}}).value_or(BoardReply{0, "", "", {}});
  }
  json entries(int ship, ListingPolicy policy = ListingPolicy::all) {
    return json::parse(get("/api/ships/" + std::to_string(ship), policy).body)["entries"];
  }

  TempDir dir;
  std::unique_ptr<ScoreStore> store = openScoreStore(dir.file("board.db"));
};

TEST_F(WebBoardTest, ShowsNamesAsTextInALockedDownPageAndAsTheyAreInTheJson) {
  store->submit(1, latin1ToUtf8("<i>a&b\"c</i>"), 500);
  store->submit(1, latin1ToUtf8("Z\xF6\x65"), 90);  // Zoe with an umlaut, as the game sends it
  const BoardReply page = get("/?from=a-link");
  EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
  EXPECT_NE(page.body.find(">&lt;i&gt;a&amp;b&quot;c&lt;&#x2F;i&gt;<"), std::string::npos);
  EXPECT_EQ(page.body.find("<i>"), std::string::npos);
  const std::pair<std::string, std::string> locks[] = {
      {"Content-Security-Policy",
       "default-src 'none'; style-src 'self'; font-src 'self'; base-uri 'none'; form-action 'none'; "
       "frame-ancestors 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"}};
  for (const char* target : {"/", "/api/", "/api/x", "/web/board.css"}) {
    const auto headers = get(target).headers;
    for (const auto& lock : locks) EXPECT_NE(std::ranges::find(headers, lock), headers.end()) << target;
  }
  json list = entries(1);
  for (json& entry : list) EXPECT_EQ(entry.erase("date"), 1u);
  EXPECT_EQ(list, json::parse(R"([{"rank": 1, "name": "<i>a&b\"c</i>", "score": 500, "verified": false, "replay": null},
    {"rank": 2, "name": "Z\u00f6e", "score": 90, "verified": false, "replay": null}])"));
}

TEST_F(WebBoardTest, ListsUnderItsPolicyWithTheVerifiedRunsReplay) {
  store->submit(2, "forger", 2147483647);  // a plain submission: not listed
  const int64_t run = *store->addRun(2, "pilot", 4200, {1, 2, 3}, 10);
  store->finishRun(*store->claimRun(60), RunVerdict{true, 4200, ""});
  const json list = entries(2, ListingPolicy::verified);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]["replay"], replayPath(run));
  const std::string page = get("/", ListingPolicy::verified).body;
  EXPECT_NE(page.find("Verified runs only"), std::string::npos);
  EXPECT_NE(page.find("href=\"&#x2F;replays&#x2F;" + std::to_string(run) + ".ovr\""), std::string::npos);
}

TEST_F(WebBoardTest, BoundsEachListAndEachName) {
  for (int i = 0; i < kListLength + 5; ++i) store->submit(3, "pilot" + std::to_string(i), i);
  store->submit(3, "\xFF" + std::string(40, 'x'), 1000);  // not from the game: not UTF-8, too long
  const json list = entries(3);
  ASSERT_EQ(list.size(), static_cast<size_t>(kListLength));
  EXPECT_EQ(list[0]["name"], "?" + std::string(kMaxNameBytes - 1, 'x'));
}

TEST_F(WebBoardTest, AnswersItsOwnPathsOnly) {
  EXPECT_EQ(get("/members/pellmore/uws1.php").status, 0);
  const json index = json::parse(get("/api/").body);
  ASSERT_EQ(index["ships"].size(), 6u);
  EXPECT_EQ(index["ships"][0]["name"], "particle bird");
  for (const json& ship : index["ships"]) EXPECT_EQ(get(ship["list"]).status, 200);
  for (const char* target : {"/api/ships/0", "/api/ships/7", "/api/ships/01", "/api/ships/1/x", "/web/x"}) {
    EXPECT_EQ(get(target).status, 404) << target;
  }
  EXPECT_EQ(get("/", ListingPolicy::all, "POST").status, 405);
}

}  // namespace
