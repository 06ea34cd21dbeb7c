#pragma once
// A line trail: a short run of points, drawn as segments that fade towards
// the tail.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "essentials/recycled.hpp"

class tstreak : public Recycled {
 public:
  struct position {
    float x = 0, y = 0;
  };

  static constexpr int maxpoints = 5;
  // Where the newest point was appended.
  position lastpoint;
  int active = 0;
  int Red = 0, Green = 0, Blue = 0;
  // Alpha step per point.
  float Tint = 0;
  int streakType = 0;
  // 0 = thin lines; otherwise lines widen towards the head.
  uint8_t fat = 0;

  static std::unique_ptr<tstreak> Create(float x, float y, int red, int green, int blue);
  // Appends while short of maxpoints, otherwise drops the oldest point, so a
  // long-lived trail alternates between maxpoints - 1 and maxpoints points.
  void add(float x, float y);
  void draw() const;
  std::size_t size() const { return static_cast<std::size_t>(count_); }

 private:
  void append(float x, float y);

  // A ring, oldest at first_.
  std::array<position, maxpoints> points_{};
  int first_ = 0;
  int count_ = 0;
};
