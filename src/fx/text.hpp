#pragma once
// A floating message or picture that fades out, optionally drifting upwards.
#include <memory>
#include <string>

#include "platform/image.hpp"

class Text {
 public:
  float x = 0, y = 0;
  int rising = 1;
  // Also the drawing alpha, so the text stays opaque while above 1.
  float life = 3;
  std::string message;
  float size = 0;
  // Shown instead of the message when present.
  const pf::Image* Image = nullptr;

  // A rising text starts 20 pixels above the given y.
  static std::unique_ptr<Text> Create(float x, float y, int rising, float size, std::string message,
                                      const pf::Image* image, float life);
  // 1 = gone.
  int update();
  void draw() const;
};
