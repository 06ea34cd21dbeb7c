#pragma once
// The studio mark shown once at start-up: a ring of neon glows around a
// bright pearl above the studio name, faded in, held and faded out.

class logoscreen {
 public:
  int timer = 0;       // frames shown
  float Alpha = 0.0f;  // above 1 draws fully opaque
  int goback = 0;      // 0 while fading in, 1 while fading out

  // Advances and draws one frame; 1 once the fade-out is complete.
  // (The game calls this `do`, a reserved word in C++.)
  int Do();

 private:
  void paint() const;
};
