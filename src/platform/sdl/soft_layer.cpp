#include "platform/sdl/soft_layer.hpp"

#include <epoxy/gl.h>

namespace pf {

bool SoftLayer::ensure(int screenWidth, int screenHeight) {
  if (framebuffer_ != 0 && screenWidth == screenWidth_ && screenHeight == screenHeight_) return true;
  destroy();
  screenWidth_ = screenWidth;
  screenHeight_ = screenHeight;
  width_ = (screenWidth + reduction_ - 1) / reduction_;
  height_ = (screenHeight + reduction_ - 1) / reduction_;
  GLint previous = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
  glGenTextures(1, &texture_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (complete) {
    GLboolean scissored = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    if (scissored) glEnable(GL_SCISSOR_TEST);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  if (!complete) destroy();
  held_.reset(reduction_, screenWidth, screenHeight);
  return complete;
}

void SoftLayer::destroy() {
  if (framebuffer_ != 0) glDeleteFramebuffers(1, &framebuffer_);
  if (texture_ != 0) glDeleteTextures(1, &texture_);
  framebuffer_ = texture_ = 0;
  width_ = height_ = 0;
  held_.clear();
}

}  // namespace pf
