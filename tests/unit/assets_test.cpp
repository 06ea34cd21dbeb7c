// The embedded asset store: every file the game opens is there under its
// exact name, decodes to its format and size, and the generated art and
// sound keep the properties the drawing and audio code rely on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/asset_store.hpp"
#include "platform/platform.hpp"
#include "test_support.hpp"

namespace {

const std::string kImages = "images\\";

// The store's names in registration order.
std::vector<std::string> expectedNames() {
  std::vector<std::string> names = {"sfx/zap2.wav",
                                    "sfx/pshot.wav",
                                    "sfx/mssl.wav",
                                    "sfx/bshot.wav",
                                    "sfx/yes-3.wav",
                                    "sfx/missile.wav",
                                    "sfx/FruitJack2.wav",
                                    "sfx/perfect.wav",
                                    "sfx/cool.wav",
                                    "sfx/Explosion2.wav",
                                    "sfx/notechno.ogg",
                                    "sfx/bornsand.ogg",
                                    "sfx/dirtysex.ogg",
                                    kImages + "CG01.TTF",
                                    kImages + "blob.bmp",
                                    kImages + "rockbg.png",
                                    kImages + "rock1 copy.png",
                                    kImages + "_032.jpg"};
  for (int i = 1; i <= 31; ++i) {
    const std::string n = std::to_string(i);
    names.push_back(kImages + "_" + std::string(3 - n.size(), '0') + n + ".jpg");
  }
  for (const char* n : {"powerbar.png", "heart.png", "fire.PNG", "j.png", "a1.png", "a.png"})
    names.push_back(kImages + n);
  for (char c = 'b'; c <= 'i'; ++c) {
    names.push_back(kImages + c + "2.png");
    names.push_back(kImages + c + ".png");
  }
  names.push_back(kImages + "j2.png");
  return names;
}

struct ExpectedImage {
  std::string name;
  int width, height;
  bool jpeg;
};

std::vector<ExpectedImage> expectedImages() {
  std::vector<ExpectedImage> images = {{"blob.bmp", 64, 64, false},         {"rockbg.png", 800, 600, false},
                                       {"rock1 copy.png", 112, 662, false}, {"powerbar.png", 50, 250, false},
                                       {"heart.png", 43, 38, false},        {"fire.PNG", 57, 50, false}};
  for (int i = 1; i <= 32; ++i) {
    const std::string n = std::to_string(i);
    images.push_back({"_" + std::string(3 - n.size(), '0') + n + ".jpg", 512, 512, true});
  }
  for (char c = 'a'; c <= 'j'; ++c) {
    images.push_back({std::string(1, c) + ".png", 128, 128, false});
    images.push_back({std::string(1, c) + (c == 'a' ? "1" : "2") + ".png", 128, 128, false});
  }
  return images;
}

std::vector<uint8_t> assetBytes(const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(pf::readAsset("incbin::" + name, bytes)) << name;
  return bytes;
}

pf::ImagePtr image(const std::string& name, int flags = 0) { return pf::loadImage("incbin::" + kImages + name, flags); }

struct Rgba {
  int r, g, b, a;
};

Rgba pixel(const pf::Image& img, int x, int y) {
  const uint32_t p = img.pixels(0)[static_cast<size_t>(y) * img.width() + x];
  return {static_cast<int>(p & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>((p >> 16) & 0xFF),
          static_cast<int>(p >> 24)};
}

// Mean absolute channel difference of two equally sized images.
double meanDifference(const pf::Image& a, const pf::Image& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const Rgba p = pixel(a, x, y), q = pixel(b, x, y);
      sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
  return sum / (3.0 * a.width() * a.height());
}

// Little-endian field of a canonical RIFF WAVE header.
int wavField(const std::vector<uint8_t>& b, size_t at, int bytes) {
  int v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

pf::SoundPtr sound(const std::string& name, int flags = 0) { return pf::loadSound("incbin::sfx/" + name, flags); }

// Sign changes per second of the first channel between two times: a rough
// measure of pitch.
double crossingsPerSecond(const pf::Sound& s, double from, double to) {
  const auto first = static_cast<size_t>(from * s.sampleRate), last = static_cast<size_t>(to * s.sampleRate);
  const auto ch = static_cast<size_t>(s.channels);
  int count = 0;
  for (size_t i = first + 1; i < last; ++i) count += (s.samples[i * ch] >= 0) != (s.samples[(i - 1) * ch] >= 0);
  return count / (to - from);
}

// RMS level (0..1) of all channels between two times.
double level(const pf::Sound& s, double from, double to) {
  const auto ch = static_cast<size_t>(s.channels);
  const auto first = static_cast<size_t>(from * s.sampleRate) * ch, last = static_cast<size_t>(to * s.sampleRate) * ch;
  double sum = 0;
  for (size_t i = first; i < last; ++i) sum += (s.samples[i] / 32768.0) * (s.samples[i] / 32768.0);
  return std::sqrt(sum / static_cast<double>(last - first));
}

class AssetStore : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { registerAssetStore(); }
};

TEST_F(AssetStore, HoldsEveryNameOfTheGame) {
  const std::vector<std::string> names = pf::embeddedFileNames();
  const std::set<std::string> stored(names.begin(), names.end());
  const std::vector<std::string> expected = expectedNames();
  ASSERT_EQ(expected.size(), 72u);
  for (const std::string& n : expected) EXPECT_EQ(stored.count(n), 1u) << n;
  // A real backslash, not an escaped pair.
  EXPECT_EQ(stored.count("images\\\\blob.bmp"), 0u);
}

// The registration order is visible only in the generated table, which sits
// beside the test binary in the build tree.
TEST_F(AssetStore, RegistersInTheGamesOrder) {
  char self[4096];
  const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(len, 0);
  self[len] = '\0';
  const std::filesystem::path table = std::filesystem::path(self).parent_path() / "assets" / "embedded_assets.cpp";
  std::ifstream in(table);
  if (!in) SKIP_UNLESS_CI("no generated table at " << table);
  std::vector<std::string> order;
  std::string line;
  const std::string call = "pf::registerEmbeddedFile(\"";
  while (std::getline(in, line)) {
    const size_t at = line.find(call);
    if (at == std::string::npos) continue;
    std::string name;
    for (size_t i = at + call.size(); i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\') ++i;
      name += line[i];
    }
    order.push_back(name);
  }
  EXPECT_EQ(order, expectedNames());
}

TEST_F(AssetStore, ImagesDecodeToTheirFormatAndSize) {
  for (const ExpectedImage& expected : expectedImages()) {
    const std::vector<uint8_t> bytes = assetBytes(kImages + expected.name);
    ASSERT_GE(bytes.size(), 8u) << expected.name;
    const bool png = bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G';
    const bool jpeg = bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
    EXPECT_EQ(jpeg, expected.jpeg) << expected.name;
    EXPECT_EQ(png, !expected.jpeg) << expected.name;
    const pf::ImagePtr img = image(expected.name, -1);
    ASSERT_NE(img, nullptr) << expected.name;
    EXPECT_EQ(img->width(), expected.width) << expected.name;
    EXPECT_EQ(img->height(), expected.height) << expected.name;
  }
}

TEST_F(AssetStore, GlowSpriteIsWhiteLightFadingToNothingAtItsRim) {
  const pf::ImagePtr blob = image("blob.bmp");
  ASSERT_NE(blob, nullptr);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(pixel(*blob, i, 0).a, 0);
    EXPECT_EQ(pixel(*blob, i, 63).a, 0);
    EXPECT_EQ(pixel(*blob, 0, i).a, 0);
    EXPECT_EQ(pixel(*blob, 63, i).a, 0);
  }
  EXPECT_GE(pixel(*blob, 32, 32).a, 240);
  // Falls steadily from the centre outwards, with no ring.
  for (int x = 33; x < 64; ++x) EXPECT_LE(pixel(*blob, x, 32).a, pixel(*blob, x - 1, 32).a) << x;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const Rgba p = pixel(*blob, x, y);
      if (p.a > 0) {
        EXPECT_TRUE(p.r == 255 && p.g == 255 && p.b == 255) << x << "," << y;
      }
    }
}

TEST_F(AssetStore, RockWallIsSolidOutsideAndOpenTowardsTheWater) {
  const pf::ImagePtr rock = image("rock1 copy.png");
  ASSERT_NE(rock, nullptr);
  // The game grabs rows 0..599; column 0 faces the water on both walls.
  for (int y = 0; y < 600; ++y) {
    EXPECT_EQ(pixel(*rock, 111, y).a, 255) << y;
    int edge = 0;
    while (edge < 112 && pixel(*rock, edge, y).a < 250) ++edge;
    EXPECT_GE(edge, 5) << y;
    EXPECT_LE(edge, 100) << y;
    // The rim is lit: brighter than the stone deeper in.
    const Rgba rim = pixel(*rock, edge, y), deep = pixel(*rock, 111, y);
    EXPECT_GT(rim.g + rim.b, deep.g + deep.b) << y;
  }
}

TEST_F(AssetStore, PowerBarFrameLeavesTheChannelClear) {
  const pf::ImagePtr bar = image("powerbar.png");
  ASSERT_NE(bar, nullptr);
  // The game draws the energy bar up x = 26 from row 245 to row 6 and the
  // frame over it with alpha blending: the middle of the channel must not
  // cover the bar at all, or it dims the bar's light.
  for (int y = 12; y < 238; ++y)
    for (int x = 23; x <= 29; ++x) EXPECT_EQ(pixel(*bar, x, y).a, 0) << x << "," << y;
  EXPECT_GT(pixel(*bar, 13, 125).a, 200);
  EXPECT_GT(pixel(*bar, 39, 125).a, 200);
}

TEST_F(AssetStore, HudEmblemsStandOnAClearBackground) {
  for (const char* name : {"heart.png", "fire.PNG"}) {
    const pf::ImagePtr img = image(name);
    ASSERT_NE(img, nullptr) << name;
    const int w = img->width(), h = img->height();
    for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
      EXPECT_EQ(pixel(*img, x, y).a, 0) << name;
    const Rgba centre = pixel(*img, w / 2, h * 3 / 5);
    EXPECT_EQ(centre.a, 255) << name;
    EXPECT_GT(centre.r, centre.b) << name;  // warm: a pink heart, a flame
  }
}

TEST_F(AssetStore, RockBackgroundIsDarkOpaqueAndTiles) {
  const pf::ImagePtr bg = image("rockbg.png");
  ASSERT_NE(bg, nullptr);
  double sum = 0, wrapX = 0, stepX = 0, wrapY = 0, stepY = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const Rgba p = pixel(*bg, x, y);
      ASSERT_EQ(p.a, 255);
      sum += p.r + p.g + p.b;
      EXPECT_GE(p.b, p.r);  // blue-grey stone
    }
    wrapX += std::abs(pixel(*bg, 799, y).b - pixel(*bg, 0, y).b);
    stepX += std::abs(pixel(*bg, 400, y).b - pixel(*bg, 401, y).b);
  }
  for (int x = 0; x < 800; ++x) {
    wrapY += std::abs(pixel(*bg, x, 599).b - pixel(*bg, x, 0).b);
    stepY += std::abs(pixel(*bg, x, 300).b - pixel(*bg, x, 301).b);
  }
  EXPECT_LT(sum / (800.0 * 600.0 * 3.0), 80.0);
  EXPECT_LT(wrapX, 2.0 * stepX + 600.0);
  EXPECT_LT(wrapY, 2.0 * stepY + 800.0);
}

TEST_F(AssetStore, AchievementIconsAreBrightAndTheirDimTwinsDarker) {
  auto brightness = [](const pf::Image& img) {
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const Rgba p = pixel(img, x, y);
        sum += (p.r + p.g + p.b) * p.a / 255.0;
      }
    return sum;
  };
  for (char c = 'a'; c <= 'j'; ++c) {
    const pf::ImagePtr lit = image(std::string(1, c) + ".png", 7);
    const pf::ImagePtr dim = image(std::string(1, c) + (c == 'a' ? "1" : "2") + ".png", 7);
    ASSERT_TRUE(lit && dim) << c;
    EXPECT_EQ(pixel(*lit, 0, 0).a, 0) << c;  // round badge on a clear square
    EXPECT_LT(brightness(*dim), 0.6 * brightness(*lit)) << c;
  }
}

TEST_F(AssetStore, WaterFramesTileAndLoop) {
  std::vector<pf::ImagePtr> frames;
  for (int i = 1; i <= 32; ++i) {
    const std::string n = std::to_string(i);
    frames.push_back(image("_" + std::string(3 - n.size(), '0') + n + ".jpg", 6));
    ASSERT_NE(frames.back(), nullptr);
  }
  // Light lines on black: mostly dark, with bright pixels.
  const pf::Image& first = *frames[0];
  int dark = 0, bright = 0;
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) {
      const Rgba p = pixel(first, x, y);
      dark += p.r + p.g + p.b < 60;
      bright += p.b > 200;
    }
  EXPECT_GT(dark, 512 * 512 / 3);
  EXPECT_GT(bright, 512 * 5);
  // Even the hottest lines stay cyan: added faintly over the dark water,
  // white lines would read as grey.
  int white = 0;
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) white += pixel(first, x, y).r > 200;
  EXPECT_LT(white, bright / 50);
  // Tileable: the wrap from the last column to the first is no larger a step
  // than neighbouring columns make.
  auto columnStep = [&](int a, int b) {
    double sum = 0;
    for (int y = 0; y < 512; ++y) sum += std::abs(pixel(first, a, y).b - pixel(first, b, y).b);
    return sum / 512;
  };
  EXPECT_LT(columnStep(511, 0), 2.0 * (columnStep(255, 256) + columnStep(100, 101)) / 2.0 + 4.0);
  // Looping: frame 32 leads into frame 1 like any frame into the next.
  double steps = 0;
  for (int i = 0; i + 1 < 32; ++i) steps += meanDifference(*frames[i], *frames[i + 1]);
  const double wrap = meanDifference(*frames[31], *frames[0]);
  EXPECT_LT(wrap, 1.5 * steps / 31);
  EXPECT_GT(wrap, 0.5 * steps / 31);  // and it does move on, not repeat a frame
}

TEST_F(AssetStore, SoundEffectsAreShortCleanSixteenBitWaves) {
  for (const char* name :
       {"zap2", "pshot", "mssl", "bshot", "yes-3", "missile", "FruitJack2", "perfect", "cool", "Explosion2"}) {
    const std::string url = std::string("incbin::sfx/") + name + ".wav";
    const std::vector<uint8_t> bytes = assetBytes(std::string("sfx/") + name + ".wav");
    ASSERT_GE(bytes.size(), 44u) << name;
    EXPECT_EQ(wavField(bytes, 34, 2), 16) << name;
    const pf::SoundPtr sound = pf::loadSound(url, 0);
    ASSERT_NE(sound, nullptr) << name;
    EXPECT_EQ(sound->sampleRate, 44100) << name;
    EXPECT_TRUE(sound->channels == 1 || sound->channels == 2) << name;
    EXPECT_FALSE(sound->loop) << name;
    EXPECT_GT(sound->lengthMs(), 80.0) << name;
    EXPECT_LT(sound->lengthMs(), 3000.0) << name;
    int peak = 0;
    for (int16_t s : sound->samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 20000) << name;  // normalised
    EXPECT_LT(peak, 32000) << name;  // without clipping
    // Silent first and last samples: no click at either end.
    EXPECT_LT(std::abs(sound->samples.front()), 200) << name;
    EXPECT_LT(std::abs(sound->samples.back()), 200) << name;
  }
}

TEST_F(AssetStore, MusicTracksAreLongSeamlessLoops) {
  for (const char* name : {"notechno", "bornsand", "dirtysex"}) {
    const pf::SoundPtr track = pf::loadSound(std::string("incbin::sfx/") + name + ".ogg", 1);
    ASSERT_NE(track, nullptr) << name;
    EXPECT_TRUE(track->loop) << name;
    EXPECT_EQ(track->channels, 2) << name;
    EXPECT_GE(track->lengthMs(), 60000.0) << name;
    EXPECT_LE(track->lengthMs(), 120000.0) << name;
    // The jump from the last frame back to the first is no bigger than the
    // steps the music makes anyway (measured on the track decoded whole).
    const pf::SoundPtr decoded = sound(std::string(name) + ".ogg");
    ASSERT_NE(decoded, nullptr) << name;
    const std::vector<int16_t>& s = decoded->samples;
    ASSERT_EQ(s.size(), track->frames() * 2) << name;
    std::vector<int> steps;
    for (size_t i = 2; i < s.size(); i += 2 * 97) steps.push_back(std::abs(s[i] - s[i - 2]));
    std::sort(steps.begin(), steps.end());
    const int typical = steps[steps.size() * 99 / 100];
    for (int c = 0; c < 2; ++c)
      EXPECT_LE(std::abs(s[static_cast<size_t>(c)] - s[s.size() - 2 + static_cast<size_t>(c)]), typical) << name;
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32767) << name;
  }
}

TEST_F(AssetStore, EffectsSoundLikeTheirNames) {
  const pf::SoundPtr pshot = sound("pshot.wav"), bshot = sound("bshot.wav"), yes = sound("yes-3.wav"),
                     boom = sound("Explosion2.wav"), zap = sound("zap2.wav");
  ASSERT_TRUE(pshot && bshot && yes && boom && zap);
  // The player's shot repeats every 8 frames: it must be over by then.
  EXPECT_LT(pshot->lengthMs(), 8 * 1000.0 / 60.0 + 10.0);
  // A laser "pew" falls in pitch; the enemy's bubbly blip rises.
  EXPECT_GT(crossingsPerSecond(*pshot, 0.0, 0.03), 1.3 * crossingsPerSecond(*pshot, 0.06, 0.1));
  EXPECT_LT(crossingsPerSecond(*bshot, 0.0, 0.04), 0.8 * crossingsPerSecond(*bshot, 0.08, 0.14));
  // The "yes" sting climbs.
  EXPECT_LT(crossingsPerSecond(*yes, 0.0, 0.06), crossingsPerSecond(*yes, 0.2, 0.3));
  // The explosion is low and long; the kill zap is short and punchy.
  EXPECT_GT(boom->lengthMs(), 1000.0);
  EXPECT_GT(level(*boom, 0.0, 0.3), 2.0 * level(*boom, 1.2, 1.5));
  EXPECT_LT(zap->lengthMs(), 500.0);
  EXPECT_GT(level(*zap, 0.0, 0.05), 3.0 * level(*zap, 0.2, 0.25));
}

TEST_F(AssetStore, MusicHasSectionsAndFitsItsScene) {
  const pf::SoundPtr title = sound("notechno.ogg"), boss = sound("dirtysex.ogg");
  ASSERT_TRUE(title && boss);
  // The title opens with pads alone and grows into its melody half.
  EXPECT_GT(level(*title, 50.0, 60.0), 1.2 * level(*title, 0.0, 10.0));
  // Calm title, urgent boss.
  const double titleLevel = level(*title, 0.0, title->lengthMs() / 1000.0);
  const double bossLevel = level(*boss, 0.0, boss->lengthMs() / 1000.0);
  EXPECT_LT(titleLevel, bossLevel);
  EXPECT_GT(titleLevel, 0.05);
  EXPECT_LT(bossLevel, 0.3);
}

TEST_F(AssetStore, FontIsTheGameFont) {
  const pf::FontPtr font = pf::loadFont("incbin::images\\CG01.TTF", 20, 5);
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(font->glyph('A').present);
  EXPECT_GT(font->textWidth("Score"), 20);
}

}  // namespace
