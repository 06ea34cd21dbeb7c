// Hot paths of a frame, measured side by side so that variants compare as
// ratios within one run: the game's degree trig against the C library, the
// entity list walk, a sprite draw with and without a recording display, and a
// whole frame of a busy run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "app/asset_loader.hpp"
#include "essentials/assets.hpp"
#include "essentials/entity_list.hpp"
#include "essentials/math.hpp"
#include "essentials/settings.hpp"
#include "game/game.hpp"
#include "platform/input_state.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

void BM_GameSin(benchmark::State& state) {
  double a = 0.3, sum = 0;
  for (auto _ : state) {
    sum += Sin(a);
    a += 1.37;
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_GameSin);

void BM_LibrarySin(benchmark::State& state) {
  double a = 0.3, sum = 0;
  for (auto _ : state) {
    sum += std::sin(a * (kPi / 180.0));
    a += 1.37;
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_LibrarySin);

struct Speck {
  float x = 0;
};

void BM_EntityListWalk(benchmark::State& state) {
  EntityList<Speck> list;
  for (int i = 0; i < 1000; ++i) list.add(std::make_unique<Speck>());
  for (auto _ : state) {
    list.forEach([](Speck& s) { s.x += 1; });
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_EntityListWalk);

void drawSprites(benchmark::State& state, bool recording) {
  pf::HeadlessBackend& display = freshHeadless();
  pf::ImagePtr sprite = pf::createImage(64, 64, 1, 0);
  pf::midHandleImage(*sprite);
  display.setRecording(recording);
  float r = 0;
  for (auto _ : state) {
    pf::setRotation(r += 1);
    pf::setScale(0.5f, 0.25f);
    pf::drawImage(*sprite, 100, 100);
    if (display.calls().size() > 100000) display.clearCalls();
  }
  display.setRecording(false);
}

void BM_DrawSpriteNowhere(benchmark::State& state) { drawSprites(state, false); }
void BM_DrawSpriteRecorded(benchmark::State& state) { drawSprites(state, true); }
BENCHMARK(BM_DrawSpriteNowhere);
BENCHMARK(BM_DrawSpriteRecorded);

// A frame in the thick of the shrimp wave with ship one firing at power 3.
void BM_BusyFrame(benchmark::State& state) {
  freshHeadless(5);
  requireGameAssets();
  SeedRnd(5);
  auto g = game::Create(1);
  g->lives = 1000;
  pf::inputState().keyPressed(settings.fire1key);
  pf::inputState().keyPressed(settings.fire2key);
  g->gametimer = 3300;
  for (int i = 0; i < 300; ++i) {
    g->powerlevel = 3;
    g->Update();
    g->Draw();
  }
  for (auto _ : state) {
    g->powerlevel = 3;
    g->Update();
    g->Draw();
    if (g->gametimer > 4400) g->gametimer = 3300;
  }
}
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
