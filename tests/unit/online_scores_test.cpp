// The online scoreboard client: splitting and drawing the best lists, the
// exact requests it sends, and how long it may keep the player waiting.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "essentials/assets.hpp"
#include "frontend/best_list.hpp"
#include "loopback_server.hpp"
#include "persist/online_scores.hpp"
#include "persist/score_server.hpp"
#include "persist/tokenizer.hpp"
#include "platform/net/tcp_client.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

using Strings = std::vector<std::string>;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

Strings split(const std::string& text, const std::string& delimiter) {
  Tokenizer t;
  t.Set(text);
  return t.Split(delimiter);
}

TEST(Tokenizer, KeepsEmptyTokensAndNeverLoops) {
  EXPECT_EQ(split("a<br><br>b", "<br>"), (Strings{"a", "", "b"}));
  EXPECT_EQ(split("", "<br>"), (Strings{""}));
  EXPECT_EQ(split("a<br>", "<br>"), (Strings{"a", ""}));
  EXPECT_EQ(split("<br", "<br>"), (Strings{"<br"}));
  EXPECT_EQ(split("a,b", ""), (Strings{"a,b"}));

  auto t = Tokenizer::Create("x<br>y");
  t->Tokenize("<br>");
  EXPECT_EQ(t->CountTokens(), 2);
  EXPECT_EQ(t->NextToken(), "x");
  const Tokenizer copy = *t;  // a copy starts from its own first token
  EXPECT_EQ(t->NextToken(), "y");
  EXPECT_EQ(t->HasMoreTokens(), 0);
  EXPECT_EQ(t->NextToken(), "");
  Tokenizer again = copy;
  EXPECT_EQ(again.NextToken(), "x");
}

TEST(BestListEntry, SplitsWithoutReadingOutsideTheText) {
  auto check = [](const std::string& entry, int row, const std::string& score, const std::string& name) {
    const BestListEntry e = splitBestListEntry(entry, row);
    EXPECT_EQ(e.scoreText, score) << entry;
    EXPECT_EQ(e.name, name) << entry;
  };
  check("1. [500][ann]", 0, " 500", "ann");
  check("10. [42][bob]", 9, " 42", "bob");
  check("no brackets here", 0, "", "no brackets here");  // the whole text is the name
  check("1. [7][]", 0, " 7", "");                        // an empty name
  check("1. [555][5]", 0, " 555", "5");                  // the name also occurs in the score
  check("[[[[[][", 0, "", "");
  check("][x", 0, "", "x");
  check("1", 0, "", "1");
  check("1. [5", 3, "", "1. 5");
}

class BestListDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    display = &freshHeadless();
    font = pf::loadFont("/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf", 20, 5);
    ASSERT_TRUE(font);
    saved = assets.gameFont.store(std::move(font));
    display->setRecording(true);
  }
  void TearDown() override {
    display->setRecording(false);
    assets.gameFont.store(std::move(saved));
  }
  std::vector<pf::DrawCall> texts() {
    std::vector<pf::DrawCall> out;
    for (const pf::DrawCall& c : display->calls()) {
      if (c.kind == pf::DrawCall::Kind::Text) out.push_back(c);
    }
    display->clearCalls();
    return out;
  }

  pf::HeadlessBackend* display = nullptr;
  pf::FontPtr font, saved;
};

TEST_F(BestListDrawing, FortyRowsRankLabelsAndRewind) {
  std::string text;
  for (int i = 1; i <= 45; ++i)
    text +=
        (i > 1 ? "<br>" : "") + std::to_string(i) + ". [" + std::to_string(1000 - i) + "][p" + std::to_string(i) + "]";
  Tokenizer list;
  list.Set(text);
  list.Tokenize("<br>");
  drawBestList(list);
  const auto calls = texts();
  ASSERT_EQ(calls.size(), 80u);  // rank and score, then the name, for 40 rows
  EXPECT_EQ(calls[0].text, "1.  999");
  EXPECT_FLOAT_EQ(calls[0].x[0], 420);
  EXPECT_FLOAT_EQ(calls[0].y[0], 40);
  EXPECT_EQ(calls[1].text, "p1");
  EXPECT_FLOAT_EQ(calls[1].x[0], 660);
  EXPECT_EQ(calls[16].text, "9.  991");
  EXPECT_EQ(calls[18].text, "10.   990");  // two blanks after the tenth rank
  EXPECT_FLOAT_EQ(calls[18].y[0], 130);
  EXPECT_EQ(calls[20].text, "11.  989");
  EXPECT_EQ(calls[78].text, "40.   960");
  EXPECT_EQ(calls[79].text, "p40");
  // Drawn again next frame from the first entry.
  drawBestList(list);
  EXPECT_EQ(texts().size(), 80u);
}

TEST_F(BestListDrawing, EmptyOrFailedListsDrawNothing) {
  Tokenizer failed;
  failed.Set("");
  failed.Tokenize("<br>");
  drawBestList(failed);
  EXPECT_TRUE(texts().empty());
  Tokenizer never;  // not fetched at all
  drawBestList(never);
  EXPECT_TRUE(texts().empty());
  Tokenizer trailing;
  trailing.Set("1. [5][a]<br>");
  trailing.Tokenize("<br>");
  drawBestList(trailing);
  EXPECT_EQ(texts().size(), 2u);
}

TEST(ScoreServerSetting, HostPortAndOverride) {
  const auto a = parseScoreServer("scores.example");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->host, "scores.example");
  EXPECT_EQ(a->port, 80);
  const auto b = parseScoreServer("127.0.0.1:4780");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->port, 4780);
  const auto c = parseScoreServer("[::1]:9000");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->host, "::1");
  EXPECT_EQ(c->port, 9000);
  for (const char* bad : {"", ":80", "h:", "h:0", "h:65536", "h:8o", "[::1", "[::1]x"}) {
    EXPECT_FALSE(parseScoreServer(bad)) << bad;
  }
  configureScoreServer("10.1.2.3:81");
  EXPECT_EQ(scoreServer().host, "10.1.2.3");
  configureScoreServer("");  // unset: the build's default
  EXPECT_EQ(scoreServer().host, "127.0.0.1");
  configureScoreServer("h:bad");
  EXPECT_EQ(scoreServer().host, "");
}

TEST(Submission, NamesAreCleanedAndEncoded) {
  EXPECT_EQ(cleanPlayerName(""), "Mr_Perfect");
  EXPECT_EQ(cleanPlayerName("   "), "Mr_Perfect");
  EXPECT_EQ(cleanPlayerName("  Ann Lee  x "), "Ann_Lee__x");
  EXPECT_EQ(cleanPlayerName("abcdefghijklmnop"), "abcdefghijklmno");
  EXPECT_EQ(percentEncode("Tom&Jerry"), "Tom%26Jerry");
  EXPECT_EQ(percentEncode("O'Neil"), "O'Neil");
  EXPECT_EQ(percentEncode("a#b?c+d=e%f/\xE9"), "a%23b%3Fc%2Bd%3De%25f%2F%E9");
  EXPECT_EQ(submittedScore(5), 5);
  EXPECT_EQ(submittedScore((int64_t{1} << 32) + 7), 7);
  EXPECT_EQ(submittedScore(int64_t{1} << 31), -2147483647 - 1);
}

class OnlineRequests : public ::testing::Test {
 protected:
  void TearDown() override { configureScoreServer(nullptr); }
};

TEST_F(OnlineRequests, ListFetchProbeAndSubmissionBytes) {
  LoopbackServer server([](const std::string& request) {
    if (request.find("uws2.php ") != std::string::npos) return LoopbackServer::ok("head\r\n1. [5][a]<br>2. [4][b]");
    return LoopbackServer::ok("ok");
  });
  configureScoreServer(server.address().c_str());
  Tokenizer list;
  RequestBudget budget;
  fetchBestList(bestListPath(2), list, budget);
  EXPECT_EQ(list.TokensToArray(), (Strings{"1. [5][a]", "2. [4][b]"}));  // the last body line only

  const std::pair<const char*, const char*> names[] = {{"", "Mr_Perfect"},
                                                       {"  a b  ", "a_b"},
                                                       {"abcdefghijklmnop", "abcdefghijklmno"},
                                                       {"Tom&Jerry", "Tom%26Jerry"},
                                                       {"O'Neil", "O'Neil"}};
  for (const auto& [typed, sent] : names) sendScore(3, cleanPlayerName(typed), -12, "");

  const Strings requests = server.requests();
  ASSERT_EQ(requests.size(), 11u);
  EXPECT_EQ(requests[0], "GET /members/pellmore/uws2.php HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(requests[1 + 2 * i], "GET /members/pellmore/sPhallus.php HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(requests[2 + 2 * i], std::string("GET /members/pellmore/uws3.php?password=vorta7&name=") +
                                       names[i].second + "&score=-12 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  }
}

// The probe's answer is not read: the submission follows whatever it says,
// then the run's replay, as a POST with its length.
TEST_F(OnlineRequests, SubmissionAndReplayFollowWhateverTheProbeAnswers) {
  LoopbackServer server(LoopbackServer::always("HTTP/1.0 404 Not Found\r\n\r\n"));
  configureScoreServer(server.address().c_str());
  const std::string replay("OVRP\0\x01", 6);
  sendScore(1, "a&b", 5, replay);
  const Strings requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1],
            "GET /members/pellmore/uws1.php?password=vorta7&name=a%26b&score=5 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(requests[2],
            "POST /replays?ship=1&name=a%26b&score=5 HTTP/1.0\r\nHost: 127.0.0.1\r\n"
            "Content-Type: application/octet-stream\r\nContent-Length: 6\r\n\r\n" +
                replay);
}

TEST_F(OnlineRequests, ErrorStatusesAndContentLength) {
  LoopbackServer server([](const std::string& request) {
    if (request.find("uws1") != std::string::npos) return std::string("HTTP/1.0 500 Oops\r\n\r\n1. [5][x]");
    // Says how long it is and then keeps the connection open: the reply
    // ends at the length, without waiting for a close.
    if (request.find("uws2") != std::string::npos)
      return std::string("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\n1. [5][y]<br>junk");
    return std::string();
  });
  configureScoreServer(server.address().c_str());
  RequestBudget budget;
  Tokenizer failed, sized;
  fetchBestList(bestListPath(1), failed, budget);
  EXPECT_EQ(failed.TokensToArray(), (Strings{""}));
  const auto start = steady_clock::now();
  fetchBestList(bestListPath(2), sized, budget);
  EXPECT_LT(steady_clock::now() - start, milliseconds(1000));
  EXPECT_EQ(sized.TokensToArray(), (Strings{"1. [5][y]"}));
}

TEST_F(OnlineRequests, SixFetchesShareOneBudget) {
  LoopbackServer silent(LoopbackServer::silent());  // accepts, never answers
  configureScoreServer(silent.address().c_str());
  std::array<Tokenizer, 6> lists;
  auto start = steady_clock::now();
  fetchBestLists(lists);
  auto took = steady_clock::now() - start;
  EXPECT_GE(took, milliseconds(kVisitBudgetMs - 100));
  EXPECT_LT(took, milliseconds(kVisitBudgetMs + 1000));
  for (const Tokenizer& t : lists) EXPECT_EQ(t.TokensToArray(), (Strings{""}));

  int closedPort = 0;
  {
    LoopbackServer gone(LoopbackServer::silent());
    closedPort = gone.port();
  }
  configureScoreServer(("127.0.0.1:" + std::to_string(closedPort)).c_str());
  RequestBudget refused;
  start = steady_clock::now();
  Tokenizer t;
  fetchBestList(bestListPath(1), t, refused);
  EXPECT_TRUE(refused.exhausted());  // the other five are not tried
  fetchBestLists(lists);
  EXPECT_LT(steady_clock::now() - start, milliseconds(500));
}

}  // namespace
