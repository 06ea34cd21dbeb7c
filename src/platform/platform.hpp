#pragma once
// The platform API: every display, drawing, image, font, sound, input and
// clock operation the game uses. Plain functions over one global drawing state,
// served by whichever backend is installed (see backend.hpp).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw_state.hpp"
#include "platform/font.hpp"
#include "platform/image.hpp"
#include "platform/sound.hpp"

namespace pf {

// ---------------------------------------------------------------- display
// depth 0: a window of that client size; any other depth: desktop full screen.
// Returns false (and prints nothing) when no display can be opened; the
// message for the user is then in lastDisplayError().
bool openDisplay(int width, int height, int depth);
const std::string& lastDisplayError();
void closeDisplay();
bool displayOpen();
int displayWidth();
int displayHeight();
// Presents the back buffer paced to 60 frames a second, then pumps events.
// A frame that ends late starts the schedule afresh: the loop slows down.
void flip();
// Ends a frame of a loop whose updates must keep wall time (a run, the
// menu): as flip(), but when drawing falls behind the 60 Hz clock, the next
// frames are left undrawn (drawingEnabled() and frameSkipped() say so while they run) until the loop has caught up, at
// most two in a row, so that at least 20 frames a second are shown; only below that does the game slow down. A frame
// that first sees a key or button pressed is always drawn: it may open a prompt and wait for an answer.
void flipKeepingTime();
void pumpEvents();
void setWindowTitle(const std::string& title);
void showPointer();
void hidePointer();
// 1 while the window has lost the focus.
bool appSuspended();
// The window was asked to close; reading clears the request.
bool takeCloseRequest();
// Peeks without clearing (a run that must finish before honouring it).
bool closeRequested();
// Called when the connection to the display server is lost for good (the X
// server went away). Nothing can be drawn or read after that, so the handler
// saves what it can and ends the process; it must not return.
using DisplayLostHandler = void (*)();
void setDisplayLostHandler(DisplayLostHandler handler);
DisplayLostHandler displayLostHandler();

// ---------------------------------------------------------------- drawing state
// setColour, getColour, setAlpha, getAlpha, setBlend, getBlend, setRotation,
// getRotation, setScale, getScale, setLineWidth, setFont and
// currentFont are inline in draw_state.hpp.
void setClearColour(int r, int g, int b);
void setMaskColour(int r, int g, int b);
MaskColour getMaskColour();
// Turns on anti-aliased lines at the nicest quality.
void enableLineSmoothing();
// Every element of the drawing state back to its default (tests, display reopen).
void resetPlatformDrawState();

// ---------------------------------------------------------------- drawing
// False while draws go nowhere (no display open, or a headless run that does
// not record): a frame then needs only the parts of drawing that change the
// game.
inline bool drawingEnabled() { return detail::drawingOn; }
// While one lives, the frames run are left undrawn, as a replay played fast
// or sought leaves them: drawingEnabled() is false and framesUndrawn() true.
class UndrawnFrames {
 public:
  UndrawnFrames();
  ~UndrawnFrames();
  UndrawnFrames(const UndrawnFrames&) = delete;
  UndrawnFrames& operator=(const UndrawnFrames&) = delete;
};
bool framesUndrawn();
// True in a frame left undrawn that a drawn one follows on the same picture:
// skipped by flipKeepingTime() to keep time, or run inside UndrawnFrames.
// (A display that draws nowhere, as the simulator's, skips nothing.)
bool frameSkipped();
void clear();
// Draws the image with its handle on (x, y).
inline void drawImage(const Image& image, float x, float y, int frame = 0) {
  // Checked here so that a run that draws nowhere pays almost nothing.
  if (detail::drawingOn) {
    detail::drawImageRect(image, Origin{image.handleX(), image.handleY()}, x, y, static_cast<float>(image.width()),
                          static_cast<float>(image.height()), frame);
  }
}
// Draws the image with the given origin on (x, y) instead of its handle, so a
// drawing step that wants another anchor never changes the shared image.
inline void drawImage(const Image& image, float x, float y, Origin origin, int frame = 0) {
  if (detail::drawingOn) {
    detail::drawImageRect(image, origin, x, y, static_cast<float>(image.width()), static_cast<float>(image.height()),
                          frame);
  }
}
void fillRect(float x, float y, float w, float h);
void drawLine(float x1, float y1, float x2, float y2);
void plot(float x, float y);
void drawText(const std::string& text, float x, float y);
int textWidth(const std::string& text);
int textHeight(const std::string& text);
// Limits drawing (clears included) to the screen rectangle until
// clearDrawClip(). It saves filling pixels that will be painted over
// opaquely anyway; what a frame draws is unchanged, so headless recordings
// ignore it.
void setDrawClip(int x, int y, int w, int h);
void clearDrawClip();

// ---------------------------------------------------------------- images
// url: a file path or "incbin::" + the name of an embedded file.
ImagePtr loadImage(const std::string& url, int flags);
ImagePtr createImage(int width, int height, int frames, int flags);
void grabImage(Image& image, int x, int y, int frame = 0);
// Handles are fixed when an image is loaded; drawing passes an Origin instead.
void setImageHandle(Image& image, float x, float y);
void midHandleImage(Image& image);

// ---------------------------------------------------------------- fonts
FontPtr loadFont(const std::string& url, int pixelSize, int style);

// ---------------------------------------------------------------- sound
SoundPtr loadSound(const std::string& url, int flags);
Channel allocChannel();
// Starts the sound on the channel (allocating one when the handle is empty)
// and returns that channel.
Channel playSound(const Sound& sound, Channel channel);
void stopChannel(const Channel& channel);
void setChannelVolume(const Channel& channel, float volume);
void setChannelRate(const Channel& channel, float rate);
bool channelPlaying(const Channel& channel);
// Every channel unheard while muted; they go on playing all the same.
void setSoundMuted(bool muted);

// ---------------------------------------------------------------- keyboard
bool keyDown(int code);
// Presses of the key since the last query of that key.
int keyHit(int code);
// Clears every key state and the typed-character queue.
void flushKeys();
// Next typed character, 0 when none.
int getChar();
// Blocks until a key is hit and returns its code; returns 0 when the window
// is asked to close meanwhile (the request stays set for the caller).
int waitKey();

// ---------------------------------------------------------------- joystick
enum JoyAxis : int { kJoyX = 0, kJoyY = 1, kJoyZ = 2, kJoyR = 3, kJoyU = 4, kJoyV = 5 };
int joyCount();
bool joyDown(int button, int port);
int joyHit(int button, int port);
float joyAxis(JoyAxis axis, int port);

// ---------------------------------------------------------------- time
int64_t millisecs();

// ---------------------------------------------------------------- files
// Bytes of a file path or of an "incbin::" name; false when absent.
bool readAsset(const std::string& url, std::vector<uint8_t>& out);
// The bytes stay in place for the whole program: loaded images and music
// refer to them.
void registerEmbeddedFile(const std::string& name, const uint8_t* data, size_t size);
std::vector<std::string> embeddedFileNames();

}  // namespace pf
