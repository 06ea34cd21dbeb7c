#include "platform/sdl/openal_audio.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pf {
namespace {

constexpr int kPoolSize = 32;

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
    voices_.push_back(Voice{s, 0, nullptr, 0, true});
  }
}

OpenAlAudio::~OpenAlAudio() {
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
  ALint state = AL_STOPPED;
  alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

int OpenAlAudio::voicesInUse() const {
  return static_cast<int>(
      std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.owner != nullptr; }));
}

void OpenAlAudio::detach(int index) {
  Voice& voice = voices_[static_cast<size_t>(index)];
  alSourceStop(voice.source);
  alSourcei(voice.source, AL_BUFFER, 0);
  voice.buffer = 0;
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

void OpenAlAudio::deleteBuffer(ALuint buffer) {
  // A buffer still queued on a source cannot be deleted.
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].buffer == buffer) detach(static_cast<int>(v));
  }
  alDeleteBuffers(1, &buffer);
}

void OpenAlAudio::play(const std::shared_ptr<ChannelState>& channel, const Sound& sound) {
  ChannelState& c = *channel;
  int v = owns(c) ? c.voice : -1;
  if (v >= 0) {
    alSourceStop(voices_[static_cast<size_t>(v)].source);
  } else {
    c.voice = -1;
    v = acquireVoice();
  }
  const ALuint buffer = bufferFor(sound);
  if (v < 0 || buffer == 0) {
    if (v >= 0 && owns(c)) detach(v);
    c.active = false;
    return;
  }
  Voice& voice = voices_[static_cast<size_t>(v)];
  voice.owner = channel;
  voice.buffer = buffer;
  voice.oneShot = !sound.loop;
  voice.startOrder = ++playCount_;
  c.voice = v;
  alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(buffer));
  alSourcei(voice.source, AL_LOOPING, sound.loop ? AL_TRUE : AL_FALSE);
  alSourcef(voice.source, AL_GAIN, gainOf(c.volume));
  alSourcef(voice.source, AL_PITCH, pitchOf(c.rate));
  alSourcePlay(voice.source);
}

void OpenAlAudio::stop(ChannelState& channel) {
  if (owns(channel)) detach(channel.voice);
}

void OpenAlAudio::applyVolume(ChannelState& channel) {
  if (owns(channel)) alSourcef(voices_[static_cast<size_t>(channel.voice)].source, AL_GAIN, gainOf(channel.volume));
}

void OpenAlAudio::applyRate(ChannelState& channel) {
  if (owns(channel)) alSourcef(voices_[static_cast<size_t>(channel.voice)].source, AL_PITCH, pitchOf(channel.rate));
}

bool OpenAlAudio::playing(ChannelState& channel) {
  if (!owns(channel)) return false;
  if (sourcePlaying(voices_[static_cast<size_t>(channel.voice)])) return true;
  detach(channel.voice);
  return false;
}

void OpenAlAudio::release(ChannelState& channel) {
  if (owns(channel)) detach(channel.voice);
}

void OpenAlAudio::forgetSound(const Sound& sound) {
  const auto it = buffers_.find(&sound);
  if (it == buffers_.end()) return;
  deleteBuffer(it->second);
  buffers_.erase(it);
}

}  // namespace pf
