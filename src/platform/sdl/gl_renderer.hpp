#pragma once
// The batched sprite renderer (OpenGL 3.3 core). Everything is drawn into an
// off-screen buffer of the logical screen size that keeps its pixels from one
// frame to the next; present() scales it into the window with black bars.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend.hpp"
#include "platform/sdl/soft_layer.hpp"
#include "platform/sdl/sprite_hull.hpp"
#include "platform/sdl/sprite_softness.hpp"

namespace pf {

class GlRenderer {
 public:
  GlRenderer() {
    for (Soft& soft : soft_) soft.batch.layer = &soft.layer;
  }
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;

  // Needs a current GL 3.3 core context. Textures of images are uploaded
  // again for every init (each one is a new context). False, with one line in
  // `error`, when the context cannot do what is needed.
  bool init(int width, int height, std::string* error);
  // Deletes every GL object; the context must still be current.
  void shutdown();
  bool ready() const { return textured_.id != 0; }

  void clear(int r, int g, int b);
  void quad(const QuadCmd& q);
  void line(const LineCmd& l);
  void point(const PointCmd& p);
  // Drawing and clearing touch only this rectangle of the screen (w <= 0:
  // all of it).
  void setClip(int x, int y, int w, int h);
  // Copies off-screen pixels at (x, y), of the image's size, into the frame;
  // pixels outside the screen read as opaque black.
  void grab(Image& image, int frame, int x, int y);
  void forget(const Image& image);
  // Draws the off-screen buffer letterboxed into the window's framebuffer of
  // the given size (the caller swaps).
  void present(int drawableWidth, int drawableHeight);

  // Measurement: draw calls issued so far; with batching off every quad is
  // its own draw call (the baseline the batching is measured against);
  // flush() issues the pending batch, finish() also waits until the pixels
  // are written.
  uint64_t drawCalls() const { return drawCalls_; }
  void setBatching(bool on) { batching_ = on; }
  // With the fill savings off, solid quads sample the white texture and
  // every sprite is drawn as its whole quad, as the renderer did before
  // them: the baseline they are measured against. Same pixels either way,
  // to the rounding of the interpolation.
  void setFillSavings(bool on) {
    flush();
    fillSavings_ = on;
  }
  // Issues everything pending, the soft layer added onto the screen.
  void flush();
  void finish();

  // Render quality: 0 draws every pixel exactly; each level above it draws
  // more of the soft light sprites (those whose look survives it, by their
  // image's SpriteSoftness, size and alpha) into layers of half or a
  // quarter of the resolution, which are added onto the screen before
  // anything that does not commute with them is drawn over them. Light
  // sprites add up in any order, so the picture stays the same but for the
  // lost resolution (and the order of specks and thin lines, see place()).
  static constexpr int kQualityLevels = 4;
  void setQuality(int level);
  int quality() const { return quality_; }

 private:
  struct Vertex {
    float x, y, u, v;
    uint8_t r, g, b, a;
  };
  struct Rgba {
    uint8_t r, g, b, a;
  };

  // Vertices waiting for one draw call: a run of equal texture, blend and
  // sampling, for the screen or for the soft layer.
  struct Batch {
    std::vector<Vertex> vertices;
    unsigned texture = 0;
    int blend = 0;
    bool plain = false;
    SoftLayer* layer = nullptr;  // drawn into this layer, else onto the screen
  };

  struct Program {
    unsigned id = 0;
    int alphaTestLocation = -1;
    bool alphaTest = false;  // the uniform's value
  };
  // The batch key of solid quads: drawn with the untextured program.
  static constexpr unsigned kNoTexture = 0;

  // Flushes the batch first unless `vertices` more fit it under this key.
  void startBatch(Batch& batch, unsigned texture, int blend, bool plainSampling, size_t vertices);
  void pushQuad(unsigned texture, int blend, const float* x, const float* y, const float* u, const float* v,
                Rgba colour, bool plainSampling = false, Batch* batch = nullptr);
  // A convex polygon of up to eight corners.
  void pushPolygon(Batch& batch, unsigned texture, int blend, const Vertex* corners, int n, bool plainSampling);
  void pushSolid(int blend, const float* x, const float* y, Rgba colour);
  // Draws a blended sprite as the polygon of its texels that can show (see
  // SpriteHull); false when the whole quad is the better choice.
  bool pushHull(Batch& batch, unsigned texture, const QuadCmd& q, Rgba colour, bool plainSampling);
  void applyBlend(int blend);
  // Issues the batch's draw call into its target.
  void flushBatch(Batch& batch);
  // The batch a blended sprite goes into at the current quality: the
  // coarsest soft layer it looks right in, or the screen's.
  Batch& batchFor(const QuadCmd& q, const SpriteSoftness& softness);
  // The screen rectangle around a primitive's corners.
  struct Bounds {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    void add(float x, float y) {
      x0 = std::min(x0, x);
      y0 = std::min(y0, y);
      x1 = std::max(x1, x);
      y1 = std::max(y1, y);
    }
  };
  // Books a primitive going into the batch: a soft layer, or the light
  // waiting for the screen, grows by it; on the screen, a blend other than
  // light first has the light waiting under it drawn, so that it lands on
  // top as drawn.
  void place(Batch& batch, int blend, uint8_t alpha, const Bounds& bounds);
  // The batch of the light waiting for the screen with this texture and
  // sampling; when all are taken, they are drawn first.
  Batch& lightBatch(unsigned texture, bool plainSampling);
  // Draws the screen's batch and then the light waiting for the screen.
  void flushScreen();
  // The batch a primitive for `batch` goes into: the screen's light waits.
  Batch& routed(Batch& batch, unsigned texture, int blend, bool plainSampling);
  // Whether a batch for the screen holds primitives of this texture.
  bool waitsToBeDrawn(unsigned texture) const;
  // Adds soft layer i onto the next finer layer (the finest onto the
  // screen) and empties it; all of them, the coarsest first.
  void settle(size_t i);
  void settleLayers();
  // Scissor rectangles of the screen or of the layer, GL rows bottom-up.
  void scissorScreen();
  void scissorLayer(const SoftLayer& layer, int x0, int y0, int x1, int y1);
  // One texture per frame of an image, uploaded on first use and again
  // whenever the image's pixels change; the hull of a filtered image with it.
  struct TextureSlot {
    unsigned texture = 0;
    uint64_t uploadedVersion = 0;
    bool mipmapsMade = false;
    SpriteHull hull;
    uint64_t hullVersion = 0;
    SpriteSoftness softness;
  };
  // The image's texture, uploaded if need be. Mipmaps are made only for a
  // draw that samples them (`withMipmaps`): the water frames are always
  // drawn magnified, and their mipmaps would be a third more texture memory.
  unsigned textureFor(const Image& image, int frame, bool withMipmaps);
  // The hull of a frame of the image textureFor() looked up last.
  const SpriteHull& hullFor(const Image& image, int frame);
  TextureSlot& lastSlot(int frame) { return (*lastSlots_)[static_cast<size_t>(frame)]; }
  bool buildProgram(Program& program, const char* fragmentSource, std::string* error);
  void useProgram(Program& program, bool alphaTest);

  int width_ = 0, height_ = 0;
  // The textures of this context, by image; dropped with the context.
  std::unordered_map<const Image*, std::vector<TextureSlot>> textures_;
  // The last image looked up: runs of quads share one sprite.
  const Image* lastImage_ = nullptr;
  std::vector<TextureSlot>* lastSlots_ = nullptr;
  Program textured_, solid_;
  Program* currentProgram_ = nullptr;
  unsigned vao_ = 0, vbo_ = 0, ibo_ = 0;
  unsigned fbo_ = 0, colour_ = 0;
  // 2x1 white texture, transparent on the left texel: lines sample the
  // opaque texel, smooth line edges ramp across both.
  unsigned whiteTexture_ = 0;
  bool clipped_ = false;
  int clipX_ = 0, clipY_ = 0, clipW_ = 0, clipH_ = 0;

  // The screen's primitives in the order drawn, and the light-blended ones
  // that follow them, by texture. Light adds the same whatever the order
  // (the 8-bit sum saturates alike), so light primitives of one texture are
  // drawn together however they alternate with others; only a primitive of
  // another blend that lies over them makes them be drawn first. Far fewer
  // draw calls (a missile's glow and point drawn in turn) and the same
  // pixels.
  Batch screen_;
  static constexpr int kLightBatches = 4;
  std::array<Batch, kLightBatches> light_;
  HeldRegion lightHeld_;
  struct Soft {
    SoftLayer layer;
    Batch batch;
  };
  static constexpr int kSoftLayers = 2;
  std::array<Soft, kSoftLayers> soft_{Soft{SoftLayer(2), {}}, Soft{SoftLayer(4), {}}};
  int quality_ = 0;
  bool thinLine_ = false;         // the bands of a thin line are being pushed
  size_t ringUsed_ = 0;           // vertices already in the GPU buffer since it was last orphaned
  size_t unflushedVertices_ = 0;  // drawn since the rasteriser was last flushed
  // A mipmapped texture drawn at a texel or more per pixel samples its top
  // level bilinearly either way; through this sampler the rasteriser skips
  // working out the level of detail for every pixel.
  unsigned plainSampler_ = 0;
  int appliedBlend_ = -1;
  bool batching_ = true;
  bool fillSavings_ = true;
  uint64_t drawCalls_ = 0;
  std::vector<uint32_t> readback_;
};

}  // namespace pf
