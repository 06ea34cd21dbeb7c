// Music streamed from its Ogg Vorbis bytes plays exactly the samples of the
// track decoded whole, and a loop runs on into the very first samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/asset_store.hpp"
#include "platform/ogg_stream.hpp"
#include "platform/platform.hpp"
#include "platform/sound.hpp"

namespace {

TEST(OggStream, StreamedMusicIsTheWholeDecodeAndLoopsOntoItsStart) {
  registerAssetStore();
  const pf::SoundPtr whole = pf::loadSound("incbin::sfx/dirtysex.ogg", 0);
  const pf::SoundPtr streamed = pf::loadSound("incbin::sfx/dirtysex.ogg", pf::kSoundLoop);
  ASSERT_TRUE(whole && streamed);
  EXPECT_FALSE(whole->streamed());
  ASSERT_TRUE(streamed->streamed());
  EXPECT_TRUE(streamed->samples.empty());
  ASSERT_EQ(streamed->frames(), whole->frames());
  EXPECT_DOUBLE_EQ(streamed->lengthMs(), whole->lengthMs());

  pf::OggStream stream(streamed->encodedData, streamed->encodedSize);
  ASSERT_TRUE(stream.ok());
  ASSERT_EQ(stream.channels(), 2);
  // Odd-sized pieces, as a queue refill asks for them.
  std::vector<int16_t> played;
  std::vector<int16_t> piece(1237 * 2);
  for (;;) {
    const size_t got = stream.read(piece.data(), 1237);
    if (got == 0) break;
    played.insert(played.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got * 2));
  }
  ASSERT_EQ(played.size(), whole->samples.size());
  EXPECT_TRUE(played == whole->samples);

  stream.rewind();
  ASSERT_EQ(stream.read(piece.data(), 1237), 1237u);
  EXPECT_TRUE(std::equal(piece.begin(), piece.end(), whole->samples.begin()));
}

TEST(OggStream, DamagedBytesDoNotOpen) {
  const std::vector<uint8_t> bytes = {'O', 'g', 'g', 'S', 0, 1, 2, 3, 4, 5, 6, 7};
  pf::OggStream stream(bytes.data(), bytes.size());
  EXPECT_FALSE(stream.ok());
  int16_t out[4];
  EXPECT_EQ(stream.read(out, 2), 0u);
  EXPECT_EQ(pf::decodeSound(bytes.data(), bytes.size(), pf::kSoundLoop), nullptr);
}

}  // namespace
