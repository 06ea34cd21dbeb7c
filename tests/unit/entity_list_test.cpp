#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "essentials/entity_list.hpp"

namespace {

struct Tracked {
  explicit Tracked(int v, int* alive) : value(v), alive(alive) { ++*alive; }
  ~Tracked() { --*alive; }
  int value;
  int* alive;
};

}  // namespace

TEST(EntityList, WalkIsSafeAgainstRemovalAndAppending) {
  int alive = 0;
  EntityList<Tracked> list;
  for (int i = 0; i < 5; ++i) list.add(std::make_unique<Tracked>(i, &alive));

  std::vector<int> seen;
  list.forEach([&](Tracked& t) {
    seen.push_back(t.value);
    if (t.value == 1) {
      // Remove the current and a later object; both stay alive during the walk.
      EXPECT_TRUE(list.remove(&t));
      EXPECT_TRUE(list.remove(list.last()));
      EXPECT_EQ(t.value, 1);
      EXPECT_EQ(alive, 5);
    }
    if (t.value == 2) list.add(std::make_unique<Tracked>(9, &alive));
  });
  // The removed later object is skipped, the appended one is visited.
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 9}));
  EXPECT_EQ(list.size(), 4u);
  EXPECT_EQ(alive, 4);  // destroyed once no walk can reach them
}

TEST(EntityList, RemovingTwiceOrAForeignObjectIsHarmless) {
  int alive = 0;
  EntityList<Tracked> list;
  list.add(std::make_unique<Tracked>(1, &alive));
  Tracked outsider(7, &alive);
  EXPECT_FALSE(list.remove(&outsider));
  list.forEach([&](Tracked& t) {
    EXPECT_TRUE(list.remove(&t));
    EXPECT_FALSE(list.remove(&t));
  });
  EXPECT_FALSE(list.remove(nullptr));
  EXPECT_EQ(alive, 1);  // removed once, destroyed once: only the outsider is left
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.last(), nullptr);
}

TEST(EntityList, NestedWalksKeepObjectsAliveUntilTheOuterWalkEnds) {
  int alive = 0;
  EntityList<Tracked> list;
  for (int i = 0; i < 3; ++i) list.add(std::make_unique<Tracked>(i, &alive));
  int visits = 0;
  std::vector<int> outerSeen;
  list.forEach([&](Tracked& outer) {
    list.forEach([&](Tracked& inner) {
      ++visits;
      if (inner.value == 2) list.remove(&inner);
    });
    outerSeen.push_back(outer.value);
    EXPECT_EQ(alive, 3);
  });
  EXPECT_EQ(outerSeen, (std::vector<int>{0, 1}));
  // The third object goes in the first inner walk, so the outer walk skips it
  // too: 3 inner visits, then 2.
  EXPECT_EQ(visits, 5);
  EXPECT_EQ(alive, 2);
  list.clear();
  EXPECT_EQ(alive, 0);
}

TEST(EntityList, RemovalsOutsideWalksKeepOrderAndDestroyAtOnce) {
  int alive = 0;
  EntityList<Tracked> list;
  // Enough removals to make the list sweep up its removed places.
  for (int i = 0; i < 100; ++i) list.add(std::make_unique<Tracked>(i, &alive));
  list.removeFrontWhile([](const Tracked& t) { return t.value < 60; });
  for (int i = 99; i >= 90; --i) list.removeLast();
  EXPECT_EQ(alive, 30);
  EXPECT_EQ(list.first()->value, 60);
  // The front stops at the first object that does not qualify.
  list.removeFrontWhile([](const Tracked& t) { return t.value % 2 == 0; });
  std::vector<int> seen;
  bool stoppedEarly = list.any([&](Tracked& t) {
    seen.push_back(t.value);
    return t.value == 63;
  });
  EXPECT_TRUE(stoppedEarly);
  EXPECT_EQ(seen, (std::vector<int>{61, 62, 63}));
  EXPECT_EQ(list.size(), 29u);
}
