#pragma once
// One burning ring of ship three's "Shield": stays where it was made and fades
// out over ten frames.
#include <memory>

class powerring {
 public:
  float x = 0, y = 0;
  float life = 1;
  // Rotation, degrees.
  float angle = 0;

  static std::unique_ptr<powerring> Create(float x, float y);
  // 1 = burnt out.
  int Update(float angle);
  void paint() const;
};
