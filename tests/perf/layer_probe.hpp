#pragma once
// A display backend put in front of the real one for finding where a scene's
// time goes: it passes everything on, tallies what each layer draws (a layer
// is one image, or solid quads, lines or points, in one blend mode) and can
// leave one layer out, so that a scene can be timed without it.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend.hpp"

namespace pf {
class GlRenderer;
}

struct LayerTally {
  uint64_t key = 0;
  std::string name;
  double primitives = 0;  // per frame
  double pixels = 0;      // per frame, inside the clip
};

class LayerProbe final : public pf::DisplayBackend {
 public:
  // With a renderer, every flip is also timed on its own: present and swap
  // between two waits for the rasteriser.
  explicit LayerProbe(pf::DisplayBackend& inner, pf::GlRenderer* renderer = nullptr);

  // Starts counting afresh; tallies() divides by the frames flipped since.
  void resetTallies();
  std::vector<LayerTally> tallies() const;  // most pixels first
  // Processor time of a flip, per frame (with a renderer).
  double flipMs() const;
  // The layer to leave out (0: none).
  void leaveOut(uint64_t key) { leftOut_ = key; }

  bool open(int width, int height, int depth, std::string* error) override;
  void close() override { inner_.close(); }
  bool isOpen() const override { return inner_.isOpen(); }
  int width() const override { return inner_.width(); }
  int height() const override { return inner_.height(); }
  void flip() override;
  void pumpEvents() override { inner_.pumpEvents(); }
  bool idle(int ms) override { return inner_.idle(ms); }
  void setTitle(const std::string& title) override { inner_.setTitle(title); }
  void setPointerVisible(bool visible) override { inner_.setPointerVisible(visible); }
  int64_t millisecs() override { return inner_.millisecs(); }
  void clear(int r, int g, int b) override;
  void drawQuad(const pf::QuadCmd& q) override;
  void drawLine(const pf::LineCmd& l) override;
  void drawPoint(const pf::PointCmd& p) override;
  void beginText(const pf::TextCmd& t) override { inner_.beginText(t); }
  void endText() override { inner_.endText(); }
  void setLineSmoothing(bool on) override { inner_.setLineSmoothing(on); }
  void setClip(int x, int y, int w, int h) override;
  void grab(pf::Image& image, int frame, int x, int y) override { inner_.grab(image, frame, x, y); }
  void forgetImage(const pf::Image& image) override { inner_.forgetImage(image); }

 private:
  struct Count {
    double primitives = 0, pixels = 0;
  };
  uint64_t keyOf(const void* source, int blend) const;
  // Counts the primitive; false when its layer is left out.
  bool tally(uint64_t key, const float* x, const float* y);

  pf::DisplayBackend& inner_;
  pf::GlRenderer* renderer_;
  double flipSeconds_ = 0;
  // Images that belong to one layer (the rock slices, the water frames) map
  // to the first of them; known images have names.
  std::unordered_map<const void*, const void*> group_;
  std::unordered_map<const void*, std::string> names_;
  std::unordered_map<uint64_t, Count> counts_;
  int frames_ = 0;
  uint64_t leftOut_ = 0;
  int clipX0_ = 0, clipY0_ = 0, clipX1_ = 0, clipY1_ = 0;
};
