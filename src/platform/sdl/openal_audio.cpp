#include "platform/sdl/openal_audio.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace pf {
namespace {

constexpr int kPoolSize = 32;
// A stream's queue: four buffers of about 190 ms at 44.1 kHz, refilled every
// 20 ms, so the source never runs dry even at twice the rate.
constexpr size_t kStreamChunkFrames = 8192;
constexpr auto kStreamPeriod = std::chrono::milliseconds(20);

float gainOf(float volume) { return std::isnan(volume) ? 0.0f : std::max(volume, 0.0f); }
float pitchOf(float rate) { return std::isnan(rate) ? 1.0f : std::max(rate, 0.0f); }

// Opens the default output. On a machine without a sound card the probing
// drivers (ALSA above all) print a screenful of errors on their own; those
// are held back and one line says what it means for the player instead.
ALCdevice* openDefaultDevice() {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  ALCdevice* device = alcOpenDevice(nullptr);
  std::fflush(stderr);
  if (saved >= 0 && null >= 0) dup2(saved, STDERR_FILENO);
  if (null >= 0) close(null);
  if (saved >= 0) close(saved);
  if (device == nullptr) std::fprintf(stderr, "Ovelune: no sound output answered; playing without sound\n");
  return device;
}

}  // namespace

std::unique_ptr<OpenAlAudio> OpenAlAudio::open() {
  ALCdevice* device = openDefaultDevice();
  if (device == nullptr) return nullptr;
  ALCcontext* context = alcCreateContext(device, nullptr);
  if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
    if (context != nullptr) alcDestroyContext(context);
    alcCloseDevice(device);
    return nullptr;
  }
  std::vector<ALuint> sources;
  alGetError();
  for (int i = 0; i < kPoolSize; ++i) {
    ALuint s = 0;
    alGenSources(1, &s);
    if (alGetError() != AL_NO_ERROR) break;
    sources.push_back(s);
  }
  if (sources.empty()) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    return nullptr;
  }
  return std::unique_ptr<OpenAlAudio>(new OpenAlAudio(device, context, sources));
}

OpenAlAudio::OpenAlAudio(ALCdevice* device, ALCcontext* context, const std::vector<ALuint>& sources)
    : device_(device), context_(context) {
  for (ALuint s : sources) {
    // Sounds play as they are, not placed in space.
    alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(s, AL_POSITION, 0.0f, 0.0f, 0.0f);
    Voice voice;
    voice.source = s;
    voices_.push_back(std::move(voice));
  }
  streamer_ = std::thread([this] {
    std::unique_lock<std::recursive_mutex> hold(lock_);
    while (!quitting_) {
      wake_.wait_for(hold, kStreamPeriod);
      serviceStreams();
    }
  });
}

OpenAlAudio::~OpenAlAudio() {
  {
    const std::lock_guard<std::recursive_mutex> hold(lock_);
    quitting_ = true;
  }
  wake_.notify_all();
  streamer_.join();
  for (size_t v = 0; v < voices_.size(); ++v) detach(static_cast<int>(v));
  for (const Voice& voice : voices_) alDeleteSources(1, &voice.source);
  for (const auto& [sound, buffer] : buffers_) alDeleteBuffers(1, &buffer);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context_);
  alcCloseDevice(device_);
}

bool OpenAlAudio::owns(const ChannelState& channel) const {
  return channel.voice >= 0 && static_cast<size_t>(channel.voice) < voices_.size() &&
         voices_[static_cast<size_t>(channel.voice)].owner.get() == &channel;
}

bool OpenAlAudio::sourcePlaying(const Voice& voice) const {
  // A stream loops until it is stopped, even through a moment of starvation.
  if (voice.stream != nullptr) return true;
  ALint state = AL_STOPPED;
  alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

int OpenAlAudio::voicesInUse() const {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  return static_cast<int>(
      std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.owner != nullptr; }));
}

int OpenAlAudio::streamsInUse() const {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  return static_cast<int>(
      std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.stream != nullptr; }));
}

void OpenAlAudio::detach(int index) {
  Voice& voice = voices_[static_cast<size_t>(index)];
  alSourceStop(voice.source);
  alSourcei(voice.source, AL_BUFFER, 0);
  voice.buffer = 0;
  stopStream(voice);
  if (voice.owner == nullptr) return;
  voice.owner->voice = -1;
  voice.owner->active = false;
  // May destroy the channel, which calls release(); the pool is consistent.
  voice.owner.reset();
}

int OpenAlAudio::acquireVoice() {
  // Plays that ended give their sources back first.
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].owner != nullptr && !sourcePlaying(voices_[v])) detach(static_cast<int>(v));
  }
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].owner == nullptr) return static_cast<int>(v);
  }
  // Every source is busy: cut off the oldest one-shot. Loops are never cut.
  int oldest = -1;
  for (size_t v = 0; v < voices_.size(); ++v) {
    const Voice& voice = voices_[v];
    if (voice.oneShot && (oldest < 0 || voice.startOrder < voices_[static_cast<size_t>(oldest)].startOrder)) {
      oldest = static_cast<int>(v);
    }
  }
  if (oldest >= 0) detach(oldest);
  return oldest;
}

ALuint OpenAlAudio::bufferFor(const Sound& sound) {
  const auto it = buffers_.find(&sound);
  if (it != buffers_.end()) return it->second;
  const size_t channels = static_cast<size_t>(sound.channels);
  if ((channels != 1 && channels != 2) || sound.sampleRate <= 0 || sound.samples.size() < channels) return 0;
  const size_t bytes = sound.samples.size() / channels * channels * sizeof(int16_t);
  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  if (alGetError() != AL_NO_ERROR) return 0;
  alBufferData(buffer, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, sound.samples.data(),
               static_cast<ALsizei>(bytes), sound.sampleRate);
  if (alGetError() != AL_NO_ERROR) {
    alDeleteBuffers(1, &buffer);
    return 0;
  }
  buffers_[&sound] = buffer;
  return buffer;
}

bool OpenAlAudio::fill(Stream& stream, ALuint buffer) {
  const size_t channels = static_cast<size_t>(stream.sound->channels);
  stream.chunk.resize(kStreamChunkFrames * channels);
  size_t got = stream.decoder.read(stream.chunk.data(), kStreamChunkFrames);
  // The end of the track runs straight on into its start.
  while (got < kStreamChunkFrames && stream.sound->loop) {
    stream.decoder.rewind();
    const size_t more = stream.decoder.read(stream.chunk.data() + got * channels, kStreamChunkFrames - got);
    if (more == 0) break;
    got += more;
  }
  if (got == 0) return false;
  alGetError();
  alBufferData(buffer, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, stream.chunk.data(),
               static_cast<ALsizei>(got * channels * sizeof(int16_t)), stream.sound->sampleRate);
  return alGetError() == AL_NO_ERROR;
}

bool OpenAlAudio::startStream(Voice& voice, const Sound& sound) {
  auto stream = std::make_unique<Stream>(sound);
  if (!stream->decoder.ok() || stream->decoder.channels() != sound.channels) return false;
  alGetError();
  alGenBuffers(static_cast<ALsizei>(stream->buffers.size()), stream->buffers.data());
  if (alGetError() != AL_NO_ERROR) return false;
  ALsizei queued = 0;
  for (ALuint buffer : stream->buffers) {
    if (!fill(*stream, buffer)) break;
    alSourceQueueBuffers(voice.source, 1, &buffer);
    ++queued;
  }
  voice.stream = std::move(stream);
  return queued > 0;
}

void OpenAlAudio::refill(Voice& voice) {
  ALint processed = 0;
  alGetSourcei(voice.source, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0; --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(voice.source, 1, &buffer);
    if (fill(*voice.stream, buffer)) alSourceQueueBuffers(voice.source, 1, &buffer);
  }
  // A source that ran dry (the machine stalled) picks up where it stopped.
  ALint state = AL_STOPPED;
  alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
  ALint queued = 0;
  alGetSourcei(voice.source, AL_BUFFERS_QUEUED, &queued);
  if (state != AL_PLAYING && queued > 0) alSourcePlay(voice.source);
}

void OpenAlAudio::stopStream(Voice& voice) {
  if (voice.stream == nullptr) return;
  alDeleteBuffers(static_cast<ALsizei>(voice.stream->buffers.size()), voice.stream->buffers.data());
  voice.stream.reset();
}

void OpenAlAudio::serviceStreams() {
  for (Voice& voice : voices_) {
    if (voice.stream != nullptr && voice.owner != nullptr) refill(voice);
  }
}

void OpenAlAudio::deleteBuffer(ALuint buffer) {
  // A buffer still queued on a source cannot be deleted.
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].buffer == buffer) detach(static_cast<int>(v));
  }
  alDeleteBuffers(1, &buffer);
}

void OpenAlAudio::play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  ChannelState& c = *channel;
  int v = owns(c) ? c.voice : -1;
  if (v >= 0) {
    Voice& replayed = voices_[static_cast<size_t>(v)];
    alSourceStop(replayed.source);
    alSourcei(replayed.source, AL_BUFFER, 0);
    replayed.buffer = 0;
    stopStream(replayed);
  } else {
    c.voice = -1;
    v = acquireVoice();
  }
  const ALuint buffer = (v < 0 || sound.streamed()) ? 0 : bufferFor(sound);
  const bool ready = v >= 0 && (sound.streamed() ? startStream(voices_[static_cast<size_t>(v)], sound) : buffer != 0);
  if (!ready) {
    if (v >= 0) {
      Voice& failed = voices_[static_cast<size_t>(v)];
      alSourcei(failed.source, AL_BUFFER, 0);
      stopStream(failed);
      if (owns(c)) detach(v);
    }
    c.active = false;
    return;
  }
  Voice& voice = voices_[static_cast<size_t>(v)];
  voice.owner = channel;
  voice.buffer = buffer;
  voice.oneShot = !sound.loop;
  voice.startOrder = ++playCount_;
  c.voice = v;
  if (!sound.streamed()) alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(buffer));
  // A stream loops in its decoder; its source only plays its queue.
  alSourcei(voice.source, AL_LOOPING, sound.loop && !sound.streamed() ? AL_TRUE : AL_FALSE);
  alSourcef(voice.source, AL_GAIN, gainOf(c.volume));
  alSourcef(voice.source, AL_PITCH, pitchOf(c.rate));
  alSourcePlay(voice.source);
}

void OpenAlAudio::stop(ChannelState& channel) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  if (owns(channel)) detach(channel.voice);
}

void OpenAlAudio::applyVolume(ChannelState& channel) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  if (owns(channel)) alSourcef(voices_[static_cast<size_t>(channel.voice)].source, AL_GAIN, gainOf(channel.volume));
}

void OpenAlAudio::applyRate(ChannelState& channel) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  if (owns(channel)) alSourcef(voices_[static_cast<size_t>(channel.voice)].source, AL_PITCH, pitchOf(channel.rate));
}

bool OpenAlAudio::playing(ChannelState& channel) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  if (!owns(channel)) return false;
  if (sourcePlaying(voices_[static_cast<size_t>(channel.voice)])) return true;
  detach(channel.voice);
  return false;
}

void OpenAlAudio::release(ChannelState& channel) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  if (owns(channel)) detach(channel.voice);
}

void OpenAlAudio::setMuted(bool muted) { alListenerf(AL_GAIN, muted ? 0.0f : 1.0f); }

void OpenAlAudio::forgetSound(const Sound& sound) {
  const std::lock_guard<std::recursive_mutex> hold(lock_);
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].stream != nullptr && voices_[v].stream->sound == &sound) detach(static_cast<int>(v));
  }
  const auto it = buffers_.find(&sound);
  if (it == buffers_.end()) return;
  deleteBuffer(it->second);
  buffers_.erase(it);
}

}  // namespace pf
