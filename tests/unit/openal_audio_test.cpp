#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/asset_store.hpp"
#include "platform/backend.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/openal_audio.hpp"
#include "test_support.hpp"

namespace {

pf::SoundPtr tone(int ms, bool loop) {
  auto s = std::make_unique<pf::Sound>();
  s->sampleRate = 8000;
  s->loop = loop;
  s->samples.resize(static_cast<size_t>(s->sampleRate * ms / 1000));
  for (size_t i = 0; i < s->samples.size(); ++i) s->samples[i] = static_cast<int16_t>((i % 16) * 1000);
  return s;
}

// OpenAL Soft's null output mixes in real time without a sound card.
class OpenAlAudioTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("ALSOFT_DRIVERS", "null", 1);
    audio_ = pf::OpenAlAudio::open();
    if (audio_ == nullptr) SKIP_UNLESS_CI("OpenAL Soft's null output does not open here");
    previous_ = pf::audioBackend();
    pf::installAudioBackend(audio_.get());
  }
  void TearDown() override {
    if (audio_ == nullptr) return;
    pf::installAudioBackend(previous_);
    audio_.reset();
  }

  std::unique_ptr<pf::OpenAlAudio> audio_;
  pf::AudioBackend* previous_ = nullptr;
};

TEST_F(OpenAlAudioTest, ThousandOneShotsNeverRunOutAndLoopsAreNeverCut) {
  const pf::SoundPtr music_owner = tone(500, true);
  const pf::Sound& music = *music_owner;
  const pf::SoundPtr shot_owner = tone(3000, false);
  const pf::Sound& shot = *shot_owner;
  const pf::Channel musicChannel = pf::playSound(music, pf::Channel());
  for (int i = 0; i < 1000; ++i) {
    const pf::Channel c = pf::playSound(shot, pf::Channel());
    ASSERT_TRUE(pf::channelPlaying(c)) << "play " << i;
    if (i % 3 == 0) {
      pf::stopChannel(c);
      EXPECT_FALSE(pf::channelPlaying(c));
    }
    ASSERT_LE(audio_->voicesInUse(), audio_->poolSize());
  }
  EXPECT_TRUE(pf::channelPlaying(musicChannel));
  pf::stopChannel(musicChannel);
  EXPECT_FALSE(pf::channelPlaying(musicChannel));
}

TEST_F(OpenAlAudioTest, ReplayingAChannelKeepsOneSource) {
  const pf::SoundPtr shot_owner = tone(3000, false);
  const pf::Sound& shot = *shot_owner;
  pf::Channel c;
  for (int i = 0; i < 100; ++i) c = pf::playSound(shot, c);
  EXPECT_TRUE(pf::channelPlaying(c));
  EXPECT_EQ(audio_->voicesInUse(), 1);
}

TEST_F(OpenAlAudioTest, DroppedOneShotPlaysToItsEndThenGivesItsSourceBack) {
  const pf::SoundPtr blip_owner = tone(60, false);
  const pf::Sound& blip = *blip_owner;
  std::weak_ptr<pf::ChannelState> dropped;
  {
    const pf::Channel c = pf::playSound(blip, pf::Channel());
    dropped = c.shared();
  }
  EXPECT_FALSE(dropped.expired()) << "the play was cut off when its handle went away";
  EXPECT_EQ(audio_->voicesInUse(), 1);

  const pf::Channel probe = pf::playSound(blip, pf::Channel());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (pf::channelPlaying(probe) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(pf::channelPlaying(probe)) << "a 60 ms sound never finished";
  // The next play reclaims the finished one-shot.
  const pf::Channel next = pf::playSound(blip, pf::Channel());
  EXPECT_TRUE(dropped.expired());
  EXPECT_EQ(audio_->voicesInUse(), 1);
}

TEST_F(OpenAlAudioTest, ForgettingAPlayingSoundStopsItAndFreesItsBuffer) {
  const pf::SoundPtr music_owner = tone(500, true);
  const pf::Sound& music = *music_owner;
  const pf::Channel c = pf::playSound(music, pf::Channel());
  ASSERT_TRUE(pf::channelPlaying(c));
  audio_->forgetSound(music);
  EXPECT_FALSE(pf::channelPlaying(c));
  // It uploads again when played again.
  pf::playSound(music, c);
  EXPECT_TRUE(pf::channelPlaying(c));
}

// Sources playing a queue of buffers right now. OpenAL Soft names sources
// with small numbers, so the pool is among the first few hundred.
int streamingSourcesPlaying() {
  int count = 0;
  for (ALuint s = 1; s < 512; ++s) {
    if (alIsSource(s) != AL_TRUE) continue;
    ALint type = 0, state = 0;
    alGetSourcei(s, AL_SOURCE_TYPE, &type);
    alGetSourcei(s, AL_SOURCE_STATE, &state);
    count += type == AL_STREAMING && state == AL_PLAYING;
  }
  return count;
}

TEST_F(OpenAlAudioTest, StreamedMusicKeepsPlayingFromItsQueueUntilStopped) {
  registerAssetStore();
  const pf::SoundPtr music = pf::loadSound("incbin::sfx/dirtysex.ogg", pf::kSoundLoop);
  ASSERT_TRUE(music && music->streamed());
  pf::Channel c = pf::playSound(*music, pf::Channel());
  pf::setChannelRate(c, 2.0f);
  EXPECT_EQ(audio_->streamsInUse(), 1);
  // Longer than the whole queue at twice the rate: only refills keep it going.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_TRUE(pf::channelPlaying(c));
  EXPECT_EQ(streamingSourcesPlaying(), 1);
  // Replaying the channel restarts the one stream.
  c = pf::playSound(*music, c);
  EXPECT_EQ(audio_->streamsInUse(), 1);
  EXPECT_EQ(audio_->voicesInUse(), 1);
  pf::stopChannel(c);
  EXPECT_FALSE(pf::channelPlaying(c));
  EXPECT_EQ(audio_->streamsInUse(), 0);
  EXPECT_EQ(streamingSourcesPlaying(), 0);
  // A sound going away stops its stream.
  c = pf::playSound(*music, c);
  audio_->forgetSound(*music);
  EXPECT_FALSE(pf::channelPlaying(c));
  EXPECT_EQ(audio_->streamsInUse(), 0);
}

TEST_F(OpenAlAudioTest, EmptyOrOddSoundsDoNotPlay) {
  pf::Sound empty;
  pf::SoundPtr sixChannelsOwner = tone(100, false);
  pf::Sound& sixChannels = *sixChannelsOwner;
  sixChannels.channels = 6;
  EXPECT_FALSE(pf::channelPlaying(pf::playSound(empty, pf::Channel())));
  EXPECT_FALSE(pf::channelPlaying(pf::playSound(sixChannels, pf::Channel())));
  EXPECT_EQ(audio_->voicesInUse(), 0);
}

}  // namespace
