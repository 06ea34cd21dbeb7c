// Display, loading, sound, input and clock operations of the platform API,
// forwarded to the installed backends.
#include "platform/platform.hpp"

#include <chrono>
#include <fstream>
#include <map>

#include "platform/backend.hpp"
#include "platform/input_state.hpp"
#include "platform/input_tape.hpp"

namespace pf {
namespace {

DisplayBackend* gDisplay = nullptr;
DisplayBackend* gDrawTarget = nullptr;
AudioBackend* gAudio = nullptr;
std::string gDisplayError;
constexpr const char* kEmbeddedPrefix = "incbin::";

struct EmbeddedFile {
  const uint8_t* data;
  size_t size;
};

std::map<std::string, EmbeddedFile>& embeddedFiles() {
  static std::map<std::string, EmbeddedFile> files;
  return files;
}

std::shared_ptr<ChannelState> newChannelState() {
  return std::shared_ptr<ChannelState>(new ChannelState, [](ChannelState* s) {
    if (gAudio != nullptr) gAudio->release(*s);
    delete s;
  });
}

}  // namespace

DisplayBackend::~DisplayBackend() {
  if (gDisplay == this) installDisplayBackend(nullptr);
}

AudioBackend::~AudioBackend() {
  if (gAudio == this) gAudio = nullptr;
}

void installDisplayBackend(DisplayBackend* display) {
  gDisplay = display;
  refreshDrawTarget();
}

bool detail::drawingOn = false;

namespace {
int gUndrawnScopes = 0;
}  // namespace

void refreshDrawTarget() {
  const bool accepting = gDisplay != nullptr && gDisplay->isOpen() && gDisplay->acceptsDraws();
  gDrawTarget = accepting && gUndrawnScopes == 0 ? gDisplay : nullptr;
  detail::drawingOn = gDrawTarget != nullptr;
}

UndrawnFrames::UndrawnFrames() {
  ++gUndrawnScopes;
  refreshDrawTarget();
}

UndrawnFrames::~UndrawnFrames() {
  --gUndrawnScopes;
  refreshDrawTarget();
}

bool framesUndrawn() { return gUndrawnScopes > 0; }

bool frameSkipped() { return framesUndrawn() || (displayOpen() && gDisplay->skippingFrame()); }

DisplayBackend* drawTarget() { return gDrawTarget; }
void installAudioBackend(AudioBackend* audio) { gAudio = audio; }
DisplayBackend* displayBackend() { return gDisplay; }
AudioBackend* audioBackend() { return gAudio; }

// ---------------------------------------------------------------- display

bool openDisplay(int width, int height, int depth) {
  gDisplayError.clear();
  if (gDisplay == nullptr) {
    gDisplayError = "no display backend is installed";
    return false;
  }
  if (gDisplay->isOpen()) gDisplay->close();
  const bool opened = gDisplay->open(width, height, depth, &gDisplayError);
  refreshDrawTarget();
  return opened;
}

const std::string& lastDisplayError() { return gDisplayError; }

void closeDisplay() {
  if (gDisplay != nullptr && gDisplay->isOpen()) gDisplay->close();
  refreshDrawTarget();
}

bool displayOpen() { return gDisplay != nullptr && gDisplay->isOpen(); }
int displayWidth() { return displayOpen() ? gDisplay->width() : 0; }
int displayHeight() { return displayOpen() ? gDisplay->height() : 0; }

void flip() {
  if (displayOpen()) gDisplay->flip();
}

void flipKeepingTime() {
  if (displayOpen()) gDisplay->flipKeepingTime();
}

void pumpEvents() {
  if (gDisplay != nullptr) gDisplay->pumpEvents();
}

void setWindowTitle(const std::string& title) {
  if (gDisplay != nullptr) gDisplay->setTitle(title);
}

void showPointer() {
  if (gDisplay != nullptr) gDisplay->setPointerVisible(true);
}

void hidePointer() {
  if (gDisplay != nullptr) gDisplay->setPointerVisible(false);
}

bool appSuspended() {
  if (inputTape().playing()) return inputTape().replay(InputQuery::suspended, 0) != 0;
  const bool suspended = inputState().suspended();
  inputTape().note(InputQuery::suspended, 0, suspended ? 1.0f : 0.0f);
  return suspended;
}
bool takeCloseRequest() { return inputState().takeCloseRequest(); }
bool closeRequested() { return inputState().closeRequested(); }

namespace {
DisplayLostHandler gDisplayLost = nullptr;
}  // namespace

void setDisplayLostHandler(DisplayLostHandler handler) { gDisplayLost = handler; }
DisplayLostHandler displayLostHandler() { return gDisplayLost; }

// ---------------------------------------------------------------- files

void registerEmbeddedFile(const std::string& name, const uint8_t* data, size_t size) {
  embeddedFiles()[name] = EmbeddedFile{data, size};
}

std::vector<std::string> embeddedFileNames() {
  std::vector<std::string> names;
  for (const auto& [name, file] : embeddedFiles()) names.push_back(name);
  return names;
}

namespace {
// The embedded file a URL names; null for any other URL.
const EmbeddedFile* embeddedFile(const std::string& url) {
  if (url.rfind(kEmbeddedPrefix, 0) != 0) return nullptr;
  const auto it = embeddedFiles().find(url.substr(std::char_traits<char>::length(kEmbeddedPrefix)));
  return it == embeddedFiles().end() ? nullptr : &it->second;
}
}  // namespace

bool readAsset(const std::string& url, std::vector<uint8_t>& out) {
  out.clear();
  if (url.rfind(kEmbeddedPrefix, 0) == 0) {
    const EmbeddedFile* file = embeddedFile(url);
    if (file == nullptr) return false;
    out.assign(file->data, file->data + file->size);
    return true;
  }
  std::ifstream in(url, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// Images and music keep referring to an embedded file's bytes (they can
// decode again from them); anything else is read into a copy.
ImagePtr loadImage(const std::string& url, int flags) {
  if (const EmbeddedFile* file = embeddedFile(url)) {
    return decodeImage(file->data, file->size, flags, getMaskColour(), true);
  }
  std::vector<uint8_t> bytes;
  if (!readAsset(url, bytes)) return nullptr;
  return decodeImage(bytes.data(), bytes.size(), flags, getMaskColour());
}

ImagePtr createImage(int width, int height, int frames, int flags) {
  return std::make_unique<Image>(width, height, frames, flags);
}

FontPtr loadFont(const std::string& url, int pixelSize, int style) {
  std::vector<uint8_t> bytes;
  if (!readAsset(url, bytes)) return nullptr;
  return rasteriseFont(bytes.data(), bytes.size(), pixelSize, style);
}

// ---------------------------------------------------------------- sound

SoundPtr loadSound(const std::string& url, int flags) {
  if (const EmbeddedFile* file = embeddedFile(url)) return decodeSound(file->data, file->size, flags, true);
  std::vector<uint8_t> bytes;
  if (!readAsset(url, bytes)) return nullptr;
  return decodeSound(bytes.data(), bytes.size(), flags);
}

Channel allocChannel() { return Channel(newChannelState()); }

Channel playSound(const Sound& sound, Channel channel) {
  if (!channel) channel = allocChannel();
  ChannelState& s = *channel.state();
  s.sound = &sound;
  s.active = true;
  s.startedMs = millisecs();
  if (gAudio != nullptr) gAudio->play(channel.shared(), sound);
  return channel;
}

void stopChannel(const Channel& channel) {
  if (!channel) return;
  channel.state()->active = false;
  if (gAudio != nullptr) gAudio->stop(*channel.state());
}

void setChannelVolume(const Channel& channel, float volume) {
  if (!channel) return;
  channel.state()->volume = volume;
  if (gAudio != nullptr) gAudio->applyVolume(*channel.state());
}

void setChannelRate(const Channel& channel, float rate) {
  if (!channel) return;
  channel.state()->rate = rate;
  if (gAudio != nullptr) gAudio->applyRate(*channel.state());
}

bool channelPlaying(const Channel& channel) {
  if (!channel || gAudio == nullptr) return false;
  return gAudio->playing(*channel.state());
}

void setSoundMuted(bool muted) {
  if (gAudio != nullptr) gAudio->setMuted(muted);
}

// ---------------------------------------------------------------- input

// Reads of the keys, buttons and axes go through the input tape: recorded
// while a run is recorded, answered from it while one plays back.
namespace {

float taped(InputQuery query, int code, float live) {
  inputTape().note(query, code, live);
  return live;
}

}  // namespace

bool keyDown(int code) {
  if (inputTape().playing()) return inputTape().replay(InputQuery::keyDown, code) != 0;
  return taped(InputQuery::keyDown, code, inputState().keyDown(code) ? 1.0f : 0.0f) != 0;
}

int keyHit(int code) {
  if (inputTape().playing()) return static_cast<int>(inputTape().replay(InputQuery::keyHit, code));
  return static_cast<int>(taped(InputQuery::keyHit, code, static_cast<float>(inputState().takeKeyHits(code))));
}
int liveKeyHit(int code) { return inputState().takeKeyHits(code); }
void flushKeys() { inputState().flushKeys(); }
int getChar() { return inputState().takeChar(); }

int waitKey() {
  InputState& in = inputState();
  // Only a key hit during the wait counts.
  while (in.takeAnyKeyHit() != 0) {
  }
  while (true) {
    pumpEvents();
    if (const int code = in.takeAnyKeyHit(); code != 0) {
      in.takeKeyHits(code);
      return code;
    }
    if (in.closeRequested()) return 0;
    if (gDisplay == nullptr || !gDisplay->idle(10)) return 0;
  }
}

int joyCount() { return inputState().joystickCount(); }
bool joyDown(int button, int port) {
  if (inputTape().playing()) return inputTape().replay(InputQuery::joyDown, button) != 0;
  return taped(InputQuery::joyDown, button, inputState().joyDown(port, button) ? 1.0f : 0.0f) != 0;
}

int joyHit(int button, int port) {
  if (inputTape().playing()) return static_cast<int>(inputTape().replay(InputQuery::joyHit, button));
  return static_cast<int>(
      taped(InputQuery::joyHit, button, static_cast<float>(inputState().takeJoyHits(port, button))));
}

float joyAxis(JoyAxis axis, int port) {
  if (inputTape().playing()) return inputTape().replay(InputQuery::joyAxis, axis);
  return taped(InputQuery::joyAxis, axis, inputState().joyAxisValue(port, axis));
}

// ---------------------------------------------------------------- time

int64_t millisecs() {
  if (gDisplay != nullptr) return gDisplay->millisecs();
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace pf
