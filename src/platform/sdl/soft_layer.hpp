#pragma once
// An off-screen layer of a fraction of the screen's resolution that soft
// light sprites are drawn into at lowered render quality, and the part of
// the screen it holds something for since it was last added onto the
// screen.
#include "platform/sdl/held_region.hpp"

namespace pf {

class SoftLayer {
 public:
  // `reduction`: screen pixels a layer pixel covers along each axis.
  explicit SoftLayer(int reduction) : reduction_(reduction) {}
  int reduction() const { return reduction_; }

  // Made on first use at a lowered quality (the exact picture never needs
  // it); needs a current GL context. False when the context cannot.
  bool ensure(int screenWidth, int screenHeight);
  void destroy();
  unsigned framebuffer() const { return framebuffer_; }
  unsigned texture() const { return texture_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // What the layer holds light for, in screen pixels.
  HeldRegion& held() { return held_; }
  const HeldRegion& held() const { return held_; }

 private:
  int reduction_;
  unsigned framebuffer_ = 0, texture_ = 0;
  int width_ = 0, height_ = 0;
  int screenWidth_ = 0, screenHeight_ = 0;
  HeldRegion held_;
};

}  // namespace pf
