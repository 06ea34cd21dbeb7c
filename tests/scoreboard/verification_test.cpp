// Uploaded runs and their verification, against a real SQLite store and the
// game's own simulation: only a run that plays to the score it claims is
// listed by default, and what cannot be a run is refused at the door.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "replay_verifier.hpp"
#include "score_service.hpp"
#include "temp_dir.hpp"

namespace {

// A golden run of ship one: the crab beaten, 8918178 points.
constexpr int64_t kGoldenScore = 8918178;

std::string goldenReplay() {
  std::ifstream in(std::string(OVELUNE_GOLDEN_REPLAYS) + "/ship1-crab-beaten.ovr", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Verification : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { prepareVerification(); }

  explicit Verification(ListingPolicy listed = ListingPolicy::verified) : store(openScoreStore(dir.file("b.db"))) {
    options.limits.submitsPerMinute = 0;
    options.limits.readsPerMinute = 0;
    options.listed = listed;
    service = std::make_unique<ScoreService>(*store, options);
  }

  int upload(const std::string& name, int64_t score, const std::string& body, int ship = 1) {
    return service
        ->handle(BoardRequest{
            "10.0.0.1", "POST",
            "/replays?ship=" + std::to_string(ship) + "&name=" + name + "&score=" + std::to_string(score), body})
        .status;
  }
  // What the workers do, here one run at a time and in this process.
  void verifyAll() {
    while (const std::optional<RunJob> job = store->claimRun(60)) {
      store->finishRun(*job, verifyReplay(job->replay, job->ship, job->claimed));
    }
  }
  std::string list() { return service->handle("10.0.0.1", "/members/pellmore/uws1.php").body; }

  TempDir dir;
  BoardOptions options;
  std::unique_ptr<ScoreStore> store;
  std::unique_ptr<ScoreService> service;
};

class VerificationListingAll : public Verification {
 protected:
  VerificationListingAll() : Verification(ListingPolicy::all) {}
};

}  // namespace

TEST_F(Verification, OnlyARunThatPlaysToItsClaimIsListed) {
  const std::string replay = goldenReplay();
  ASSERT_FALSE(replay.empty());
  EXPECT_EQ(upload("greedy", kGoldenScore + 1, replay), 202);
  EXPECT_EQ(upload("honest", kGoldenScore, replay), 202);
  EXPECT_EQ(upload("other", kGoldenScore, replay, 2), 202);  // a ship-one run claimed for ship two
  EXPECT_EQ(store->pendingRuns(), 3);
  EXPECT_EQ(list(), "") << "nothing is listed before it is verified";
  verifyAll();
  EXPECT_EQ(list(), "1. [8918178][honest]");
  EXPECT_EQ(service->handle("10.0.0.1", "/members/pellmore/uws2.php").body, "");
  EXPECT_EQ(store->runState(1), RunState::rejected);
  EXPECT_EQ(store->runState(2), RunState::verified);
  EXPECT_EQ(store->runState(3), RunState::rejected);

  // The verified run is served whole, by its id and as the ship's best.
  const BoardReply byId = service->handle("10.0.0.1", replayPath(2));
  EXPECT_EQ(byId.status, 200);
  EXPECT_EQ(byId.body, replay);
  EXPECT_EQ(service->handle("10.0.0.1", bestReplayPath(1)).body, replay);
  EXPECT_EQ(service->handle("10.0.0.1", replayPath(1)).status, 404) << "a rejected run is not served";
  EXPECT_EQ(service->handle("10.0.0.1", bestReplayPath(2)).status, 404);
}

TEST_F(Verification, AForgedPlainSubmissionIsNeverListedByDefault) {
  EXPECT_EQ(
      service->handle("10.0.0.1", "/members/pellmore/uws1.php?password=vorta7&name=Cheater&score=2147483647").status,
      200);
  EXPECT_EQ(store->submissions(1), 1) << "stored all the same";
  EXPECT_EQ(list(), "");
}

TEST_F(VerificationListingAll, PlainSubmissionsAreListedAndVerifiedOnesMarked) {
  service->handle("10.0.0.1", "/members/pellmore/uws1.php?password=vorta7&name=Cheater&score=2147483647");
  service->handle("10.0.0.1", "/members/pellmore/uws1.php?password=vorta7&name=honest&score=8918178");
  EXPECT_EQ(upload("honest", kGoldenScore, goldenReplay()), 202);
  verifyAll();
  EXPECT_EQ(list(), "1. [2147483647][Cheater]<br>2. [8918178][honest]");
  const std::vector<RankedEntry> entries = store->best(1, 40, ListingPolicy::all);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_FALSE(entries[0].verified);
  EXPECT_TRUE(entries[1].verified);
  EXPECT_EQ(entries[1].runId, 1);
}

TEST_F(Verification, WhatCannotBeARunIsRefusedAtTheDoor) {
  std::string damaged = goldenReplay();
  damaged[40] = static_cast<char>(damaged[40] ^ 0x55);
  EXPECT_EQ(upload("ann", 5, damaged), 400);
  EXPECT_EQ(upload("ann", 5, "not a replay"), 400);
  EXPECT_EQ(upload("ann", 5, std::string(kMaxUploadBytes + 1, 'x')), 413);
  EXPECT_EQ(upload("a%01b", 5, goldenReplay()), 400);
  EXPECT_EQ(upload("ann", -5, goldenReplay()), 400);
  EXPECT_EQ(upload("ann", 5, goldenReplay(), 7), 400);
  EXPECT_EQ(store->pendingRuns(), 0);

  options.maxQueued = 2;
  service = std::make_unique<ScoreService>(*store, options);
  EXPECT_EQ(upload("ann", 5, goldenReplay()), 202);
  EXPECT_EQ(upload("bob", 5, goldenReplay()), 202);
  EXPECT_EQ(upload("cid", 5, goldenReplay()), 503) << "the queue is full";
}

// A check runs in a child process of its own; one that runs out of time is a
// rejection that says so, and the server goes on.
TEST_F(Verification, AChildOutOfTimeIsARejection) {
  RunJob job{1, 1, kGoldenScore, {}, 1};
  const std::string replay = goldenReplay();
  job.replay.assign(replay.begin(), replay.end());
  EXPECT_TRUE(verifyInChild(job, 10).verified);
  const RunVerdict slow = verifyInChild(job, 0);
  EXPECT_FALSE(slow.verified);
  EXPECT_EQ(slow.reason, "the check ran out of time");
}
