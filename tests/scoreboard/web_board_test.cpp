// The web board against a real SQLite store: names shown as text in the
// page and the JSON, the headers that lock the page down, the listing
// policy, the bounds, and which paths it answers.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "score_service.hpp"
#include "temp_dir.hpp"
#include "web_board.hpp"

namespace {

const std::string kMarkupName = "<i>a&b\"c</i>";

class WebBoardTest : public ::testing::Test {
 protected:
  WebBoardTest() : store(openScoreStore(dir.file("board.db"))) {}

  std::optional<BoardReply> get(ListingPolicy policy, const std::string& target, const std::string& method = "GET") {
    BoardOptions options;
    options.limits.readsPerMinute = 0;
    options.listed = policy;
    return WebBoard(*store, options).handle(BoardRequest{"127.0.0.1", method, target, {}});
  }
  nlohmann::json json(ListingPolicy policy, const std::string& target) {
    const std::optional<BoardReply> r = get(policy, target);
    EXPECT_TRUE(r && r->status == 200 && r->contentType == "application/json; charset=utf-8");
    return r ? nlohmann::json::parse(r->body) : nlohmann::json();
  }
  static std::string header(const BoardReply& r, const std::string& name) {
    for (const auto& [key, value] : r.headers) {
      if (key == name) return value;
    }
    return "";
  }
  // A run whose replay the server verified at that score; its id.
  int64_t verifiedRun(int ship, const std::string& name, int64_t score) {
    const int64_t id = *store->addRun(ship, name, score, {1, 2, 3}, 10);
    store->finishRun(*store->claimRun(60), RunVerdict{true, score, ""});
    return id;
  }

  TempDir dir;
  std::unique_ptr<ScoreStore> store;
};

TEST_F(WebBoardTest, ShowsNamesAsTextInALockedDownPageAndAsTheyAreInTheJson) {
  store->submit(1, latin1ToUtf8(kMarkupName), 500);
  store->submit(1,
                latin1ToUtf8("Z\xF6"
                             "e"),
                90);
  const std::optional<BoardReply> page = get(ListingPolicy::all, "/?from=a-link");
  ASSERT_TRUE(page && page->status == 200);
  EXPECT_EQ(page->contentType, "text/html; charset=utf-8");
  EXPECT_NE(page->body.find(">&lt;i&gt;a&amp;b&quot;c&lt;&#x2F;i&gt;<"), std::string::npos);
  EXPECT_EQ(page->body.find("<i>"), std::string::npos);
  EXPECT_NE(page->body.find(">Z\xC3\xB6"
                            "e<"),
            std::string::npos);
  EXPECT_NE(page->body.find("All submissions"), std::string::npos);
  for (const std::string target : {"/", "/api/", "/web/board.css"}) {
    const BoardReply r = *get(ListingPolicy::all, target);
    EXPECT_EQ(header(r, "Content-Security-Policy"),
              "default-src 'none'; style-src 'self'; font-src 'self'; base-uri 'none'; form-action 'none'; "
              "frame-ancestors 'none'")
        << target;
    EXPECT_EQ(header(r, "X-Content-Type-Options"), "nosniff") << target;
    EXPECT_EQ(header(r, "Referrer-Policy"), "no-referrer") << target;
  }

  const nlohmann::json list = json(ListingPolicy::all, "/api/ships/1");
  EXPECT_EQ(list["policy"], "all");
  ASSERT_EQ(list["entries"].size(), 2u);
  const nlohmann::json& first = list["entries"][0];
  EXPECT_EQ(first["rank"], 1);
  EXPECT_EQ(first["name"], kMarkupName);
  EXPECT_EQ(first["score"], 500);
  EXPECT_EQ(first["verified"], false);
  EXPECT_TRUE(first["replay"].is_null());
  EXPECT_EQ(first["date"].get<std::string>().size(), 20u);  // 2026-12-09T14:42:55Z
  EXPECT_EQ(list["entries"][1]["name"],
            "Z\xC3\xB6"
            "e");
}

TEST_F(WebBoardTest, ListsUnderItsPolicyWithTheVerifiedRunsReplay) {
  store->submit(2, "forger", 2147483647);
  const int64_t run = verifiedRun(2, "pilot", 4200);
  const nlohmann::json list = json(ListingPolicy::verified, "/api/ships/2");
  ASSERT_EQ(list["entries"].size(), 1u);
  EXPECT_EQ(list["entries"][0]["name"], "pilot");
  EXPECT_EQ(list["entries"][0]["verified"], true);
  EXPECT_EQ(list["entries"][0]["replay"], replayPath(run));
  const std::string page = get(ListingPolicy::verified, "/")->body;
  EXPECT_EQ(page.find("forger"), std::string::npos);
  EXPECT_NE(page.find("Verified runs only"), std::string::npos);
  EXPECT_NE(page.find("href=\"&#x2F;replays&#x2F;" + std::to_string(run) + ".ovr\""), std::string::npos);
}

TEST_F(WebBoardTest, BoundsEachListAndEachName) {
  for (int i = 0; i < kListLength + 5; ++i) store->submit(3, "pilot" + std::to_string(i), i);
  store->submit(3, "\xFF" + std::string(40, 'x'), 1000);  // not from the game: not UTF-8, too long
  const nlohmann::json list = json(ListingPolicy::all, "/api/ships/3");
  ASSERT_EQ(list["entries"].size(), static_cast<size_t>(kListLength));
  EXPECT_EQ(list["entries"][0]["name"], "?" + std::string(kMaxNameBytes - 1, 'x'));
  EXPECT_EQ(list["entries"][kListLength - 1]["rank"], kListLength);
}

TEST_F(WebBoardTest, AnswersItsOwnPathsOnly) {
  EXPECT_FALSE(get(ListingPolicy::all, "/members/pellmore/uws1.php"));
  EXPECT_FALSE(get(ListingPolicy::all, "/replays/1.ovr"));
  const nlohmann::json index = json(ListingPolicy::all, "/api/");
  ASSERT_EQ(index["ships"].size(), 6u);
  EXPECT_EQ(index["ships"][0]["name"], "particle bird");
  for (const auto& ship : index["ships"]) EXPECT_EQ(get(ListingPolicy::all, ship["list"])->status, 200);
  for (const char* target : {"/api/ships/0", "/api/ships/7", "/api/ships/01", "/api/ships/1/x", "/api/x", "/web/x"}) {
    EXPECT_EQ(get(ListingPolicy::all, target)->status, 404) << target;
  }
  EXPECT_EQ(get(ListingPolicy::all, "/", "POST")->status, 405);
}

}  // namespace
