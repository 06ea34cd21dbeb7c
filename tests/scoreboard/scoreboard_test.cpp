// The scoreboard's protocol against a real SQLite store: what it accepts,
// how it ranks, how it limits and what its lists look like.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "rate_limiter.hpp"
#include "score_service.hpp"
#include "temp_dir.hpp"

namespace {

constexpr const char* kList1 = "/members/pellmore/uws1.php";

class Scoreboard : public ::testing::Test {
 protected:
  Scoreboard() : store(openScoreStore(dir.file("board.db"))), service(*store, unlimited()) {}

  // Plain submissions listed, no limits: the game's own protocol.
  static BoardOptions unlimited() {
    BoardOptions o;
    o.limits.submitsPerMinute = 0;
    o.limits.readsPerMinute = 0;
    o.listed = ListingPolicy::all;
    return o;
  }
  int submit(const std::string& name, const std::string& score, int ship = 1) {
    return service
        .handle("127.0.0.1", "/members/pellmore/uws" + std::to_string(ship) + ".php?password=vorta7&name=" + name +
                                 "&score=" + score)
        .status;
  }
  std::string list(int ship = 1) {
    const BoardReply r = service.handle("127.0.0.1", "/members/pellmore/uws" + std::to_string(ship) + ".php");
    EXPECT_EQ(r.status, 200);
    return r.body;
  }

  TempDir dir;
  std::unique_ptr<ScoreStore> store;
  ScoreService service;
};

TEST_F(Scoreboard, RefusesEveryMalformedSubmissionAndStoresNothing) {
  const std::string base = std::string(kList1) + "?";
  const char* queries[] = {
      "password=wrong&name=ann&score=5",
      "name=ann&score=5",
      "password=vorta7&name=ann&score=-1",
      "password=vorta7&name=ann&score=2147483648",
      "password=vorta7&name=ann&score=12a",
      "password=vorta7&name=ann&score=",
      "password=vorta7&name=&score=5",
      "password=vorta7&name=%20%20&score=5",
      "password=vorta7&name=abcdefghijklmnop&score=5",  // 16 characters
      "password=vorta7&name=a%01b&score=5",
      "password=vorta7&name=a%7Fb&score=5",
      "password=vorta7&name=ann&score=5&score=6",
      "password=vorta7&name=ann&score=5&extra=1",
      "password=vorta7&name=a%2&score=5",
      "password=vorta7&name",
      "",
  };
  for (const char* q : queries) {
    const int status = service.handle("10.0.0.1", base + q).status;
    EXPECT_GE(status, 400) << q;
    EXPECT_LT(status, 500) << q;
  }
  EXPECT_EQ(store->submissions(1), 0);
  EXPECT_EQ(list(), "");
  // The limits themselves are accepted.
  EXPECT_EQ(submit("abcdefghijklmno", "2147483647"), 200);
  EXPECT_EQ(submit("zero", "0"), 200);
}

TEST_F(Scoreboard, RanksEachNamesBestPerShipTiesToTheEarlierSubmission) {
  EXPECT_EQ(submit("ann", "300"), 200);
  EXPECT_EQ(submit("bob", "500"), 200);
  EXPECT_EQ(submit("cid", "300"), 200);
  EXPECT_EQ(submit("ann", "200"), 200);  // lower than her best: the best stays
  EXPECT_EQ(submit("bob", "500"), 200);  // equal: his first 500 keeps its place
  EXPECT_EQ(submit("dee", "500"), 200);
  EXPECT_EQ(submit("eve", "900", 2), 200);
  EXPECT_EQ(list(), "1. [500][bob]<br>2. [500][dee]<br>3. [300][ann]<br>4. [300][cid]");
  EXPECT_EQ(list(2), "1. [900][eve]");
  EXPECT_EQ(store->submissions(1), 6);
  EXPECT_EQ(submit("cid", "301"), 200);  // a new best moves the name up
  EXPECT_EQ(list(), "1. [500][bob]<br>2. [500][dee]<br>3. [301][cid]<br>4. [300][ann]");
}

TEST_F(Scoreboard, ListsStopAtFortyAndNamesCannotBreakThem) {
  for (int i = 0; i < 45; ++i) submit("p" + std::to_string(i), std::to_string(1000 - i));
  const std::string body = list();
  size_t entries = 1;
  for (size_t at = body.find("<br>"); at != std::string::npos; at = body.find("<br>", at + 1)) ++entries;
  EXPECT_EQ(entries, 40u);
  EXPECT_EQ(body.substr(0, 15), "1. [1000][p0]<b");
  EXPECT_NE(body.find("<br>10. [991][p9]<br>"), std::string::npos);
  const std::string last = "<br>40. [961][p39]";
  EXPECT_EQ(body.substr(body.size() - last.size()), last);
}

TEST_F(Scoreboard, NamesAreStoredAsGivenAndShownSafely) {
  EXPECT_EQ(submit("x'%29%3BDROP--", "7"), 200);   // x');DROP--
  EXPECT_EQ(submit("%3Cbr%3E%5Bz%5D", "6"), 200);  // <br>[z]
  EXPECT_EQ(submit("Tom%26Jerry", "5"), 200);
  EXPECT_EQ(submit("Jos%E9", "4"), 200);  // Latin-1 e acute
  EXPECT_EQ(list(), "1. [7][x');DROP--]<br>2. [6][(br)(z)]<br>3. [5][Tom&Jerry]<br>4. [4][Jos\xE9]");
}

TEST_F(Scoreboard, ProbeAndUnknownPaths) {
  EXPECT_EQ(service.handle("1.2.3.4", "/members/pellmore/sPhallus.php").status, 200);
  EXPECT_EQ(service.handle("1.2.3.4", "/members/pellmore/uws7.php").status, 404);
  EXPECT_EQ(service.handle("1.2.3.4", "/members/pellmore/uws1.phpx").status, 404);
  EXPECT_EQ(service.handle("1.2.3.4", "/").status, 404);
}

TEST(ScoreboardLimits, SubmissionsAndReadsAreLimitedPerAddress) {
  TempDir dir;
  auto store = openScoreStore(dir.file("board.db"));
  BoardOptions options;
  options.limits.submitsPerMinute = 10;
  options.limits.submitBurst = 2;
  options.limits.readsPerMinute = 60;
  options.limits.readBurst = 3;
  ScoreService service(*store, options);
  const std::string ok = std::string(kList1) + "?password=vorta7&name=ann&score=1";
  EXPECT_EQ(service.handle("10.0.0.1", ok).status, 200);
  EXPECT_EQ(service.handle("10.0.0.1", ok).status, 200);
  EXPECT_EQ(service.handle("10.0.0.1", ok).status, 429);
  EXPECT_EQ(service.handle("10.0.0.2", ok).status, 200);  // another address has its own
  for (int i = 0; i < 3; ++i) EXPECT_EQ(service.handle("10.0.0.1", kList1).status, 200);
  EXPECT_EQ(service.handle("10.0.0.1", kList1).status, 429);
  EXPECT_EQ(store->submissions(1), 3);
}

TEST(ScoreboardLimits, BucketsRefillAndTheAddressTableStaysBounded) {
  using namespace std::chrono_literals;
  RateLimiter limiter(60, 2, 3);  // one a second, two at once, three addresses
  const auto t0 = RateLimiter::Clock::time_point{} + 1h;
  EXPECT_TRUE(limiter.allow("a", t0));
  EXPECT_TRUE(limiter.allow("a", t0));
  EXPECT_FALSE(limiter.allow("a", t0));
  EXPECT_FALSE(limiter.allow("a", t0 + 500ms));
  EXPECT_TRUE(limiter.allow("a", t0 + 1s));
  for (int i = 0; i < 100; ++i) limiter.allow("host" + std::to_string(i), t0 + 2s);
  EXPECT_LE(limiter.addresses(), 3u);
  // A busy address stays limited while idle ones make room.
  EXPECT_FALSE(limiter.allow("host99", t0 + 2s) && limiter.allow("host99", t0 + 2s));
}

}  // namespace
