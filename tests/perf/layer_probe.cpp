#include "layer_probe.hpp"

#include <algorithm>
#include <cmath>

#include "bench_scenes.hpp"
#include "essentials/assets.hpp"
#include "platform/sdl/gl_renderer.hpp"

namespace {

// Stand-ins for the layers that have no image.
const char kSolid = 0, kLine = 0, kPoint = 0, kClear = 0;

// Sprites of one image fall into layers by their size on screen, so that a
// few large halos and many small sparks of the same glow sprite show apart.
constexpr float kSizeBounds[] = {8, 32, 128};
constexpr const char* kSizeNames[] = {"<8px", "8-32px", "32-128px", ">=128px"};
constexpr const char* kBlendNames[] = {"?", "mask", "solid", "alpha", "light", "shade"};

double polygonArea(const float* x, const float* y) {
  double twice = 0;
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    twice += static_cast<double>(x[i]) * y[j] - static_cast<double>(x[j]) * y[i];
  }
  return std::fabs(twice) * 0.5;
}

}  // namespace

LayerProbe::LayerProbe(pf::DisplayBackend& inner, pf::GlRenderer* renderer) : inner_(inner), renderer_(renderer) {
  setClip(0, 0, 0, 0);
  auto name = [&](const Loaded<pf::Image>& image, const char* text) { names_[&image()] = text; };
  name(assets.blobImage, "glow");
  name(assets.blobImageLeft, "glow left");
  name(assets.blobImageRight, "glow right");
  name(assets.rockBackgroundImage, "rock background");
  name(assets.rockImage, "rock");
  name(assets.powerBarImage, "power bar");
  name(assets.heartImage, "heart");
  name(assets.fireImage, "fire");
  name(assets.rockSlices[0], "rock slices");
  name(assets.waterFrames[0], "water");
  for (const Loaded<pf::Image>& slice : assets.rockSlices) group_[&slice()] = &assets.rockSlices[0]();
  for (const Loaded<pf::Image>& frame : assets.waterFrames) group_[&frame()] = &assets.waterFrames[0]();
  names_[&assets.gameFont().atlas()] = "text";
  names_[&kSolid] = "solid";
  names_[&kLine] = "lines";
  names_[&kPoint] = "points";
  names_[&kClear] = "clear";
}

bool LayerProbe::open(int width, int height, int depth, std::string* error) {
  return inner_.open(width, height, depth, error);
}

uint64_t LayerProbe::keyOf(const void* source, int blend) const {
  const auto it = group_.find(source);
  if (it != group_.end()) source = it->second;
  return (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(source)) << 8) | static_cast<uint64_t>(blend & 7);
}

bool LayerProbe::tally(uint64_t key, const float* x, const float* y) {
  const double area = polygonArea(x, y);
  const float side = static_cast<float>(std::sqrt(area));
  int size = 0;
  while (size < 3 && side >= kSizeBounds[size]) ++size;
  key |= static_cast<uint64_t>(size) << 4;
  // The part of the bounding box inside the clip stands for the part of
  // the primitive inside it.
  const float x0 = *std::min_element(x, x + 4), x1 = *std::max_element(x, x + 4);
  const float y0 = *std::min_element(y, y + 4), y1 = *std::max_element(y, y + 4);
  const double box = static_cast<double>(x1 - x0) * (y1 - y0);
  const double cw =
      std::max(0.0f, std::min(x1, static_cast<float>(clipX1_)) - std::max(x0, static_cast<float>(clipX0_)));
  const double ch =
      std::max(0.0f, std::min(y1, static_cast<float>(clipY1_)) - std::max(y0, static_cast<float>(clipY0_)));
  Count& c = counts_[key];
  c.primitives += 1;
  c.pixels += box > 0 ? area * (cw * ch / box) : 0;
  return key != leftOut_;
}

void LayerProbe::resetTallies() {
  counts_.clear();
  frames_ = 0;
  flipSeconds_ = 0;
}

std::vector<LayerTally> LayerProbe::tallies() const {
  std::vector<LayerTally> out;
  const double frames = std::max(frames_, 1);
  for (const auto& [key, count] : counts_) {
    const void* source = reinterpret_cast<const void*>(static_cast<uintptr_t>(key >> 8));
    const auto named = names_.find(source);
    std::string name;
    if (named != names_.end()) {
      name = named->second;
    } else {
      const auto* image = static_cast<const pf::Image*>(source);
      name = "image " + std::to_string(image->width()) + "x" + std::to_string(image->height());
    }
    name += std::string(" ") + kBlendNames[std::min<uint64_t>(key & 7, 5)];
    if (source != &kClear) name += std::string(" ") + kSizeNames[(key >> 4) & 3];
    out.push_back(LayerTally{key, name, count.primitives / frames, count.pixels / frames});
  }
  std::sort(out.begin(), out.end(), [](const LayerTally& a, const LayerTally& b) { return a.pixels > b.pixels; });
  return out;
}

void LayerProbe::flip() {
  ++frames_;
  if (renderer_ == nullptr) {
    inner_.flip();
    return;
  }
  renderer_->finish();
  const double start = processSeconds();
  inner_.flip();
  renderer_->finish();
  flipSeconds_ += processSeconds() - start;
}

void LayerProbe::clear(int r, int g, int b) {
  const float x[4] = {static_cast<float>(clipX0_), static_cast<float>(clipX1_), static_cast<float>(clipX1_),
                      static_cast<float>(clipX0_)};
  const float y[4] = {static_cast<float>(clipY0_), static_cast<float>(clipY0_), static_cast<float>(clipY1_),
                      static_cast<float>(clipY1_)};
  if (tally(keyOf(&kClear, 0), x, y)) inner_.clear(r, g, b);
}

void LayerProbe::drawQuad(const pf::QuadCmd& q) {
  const void* source = q.image != nullptr ? static_cast<const void*>(q.image) : &kSolid;
  if (tally(keyOf(source, q.paint.blend), q.x, q.y)) inner_.drawQuad(q);
}

void LayerProbe::drawLine(const pf::LineCmd& l) {
  const float dx = l.x2 - l.x1, dy = l.y2 - l.y1;
  const float length = std::max(std::sqrt(dx * dx + dy * dy), 1e-6f);
  const float half = std::max(l.width, 1.0f) * 0.5f + (l.smooth ? 0.5f : 0.0f);
  const float nx = -dy / length * half, ny = dx / length * half;
  const float x[4] = {l.x1 + nx, l.x2 + nx, l.x2 - nx, l.x1 - nx};
  const float y[4] = {l.y1 + ny, l.y2 + ny, l.y2 - ny, l.y1 - ny};
  if (tally(keyOf(&kLine, l.paint.blend), x, y)) inner_.drawLine(l);
}

void LayerProbe::drawPoint(const pf::PointCmd& p) {
  const float x[4] = {p.x, p.x + 1, p.x + 1, p.x};
  const float y[4] = {p.y, p.y, p.y + 1, p.y + 1};
  if (tally(keyOf(&kPoint, p.paint.blend), x, y)) inner_.drawPoint(p);
}

double LayerProbe::flipMs() const { return flipSeconds_ * 1000 / std::max(frames_, 1); }

void LayerProbe::setClip(int x, int y, int w, int h) {
  const bool on = w > 0 && h > 0;
  clipX0_ = on ? x : 0;
  clipY0_ = on ? y : 0;
  clipX1_ = on ? x + w : inner_.width();
  clipY1_ = on ? y + h : inner_.height();
  inner_.setClip(x, y, w, h);
}
