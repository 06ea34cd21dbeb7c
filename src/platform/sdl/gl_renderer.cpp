#include "platform/sdl/gl_renderer.hpp"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "platform/platform.hpp"

namespace pf {
namespace {

constexpr size_t kMaxQuads = 8192;  // per draw call; indices stay 16-bit
constexpr size_t kMaxVertices = kMaxQuads * 4;
// Vertices drawn between two flushes to the rasteriser (a few hundred sprites).
constexpr size_t kFlushVertices = 3000;

// Texture coordinates into the 2x1 white texture: the centre of the opaque
// texel, and the centre of the transparent one (a smooth line's outer edge).
constexpr float kOpaqueU = 0.75f;
constexpr float kClearU = 0.25f;
constexpr float kTexelV = 0.5f;

// Every init is a new context, so texture names of an older one are stale.

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in vec4 aColour;
uniform vec2 uScreenSize;
out vec2 vTexCoord;
out vec4 vColour;
void main() {
  vec2 ndc = aPosition / uScreenSize * 2.0 - 1.0;
  gl_Position = vec4(ndc.x, -ndc.y, 0.0, 1.0);  // y runs down the screen
  vTexCoord = aTexCoord;
  vColour = aColour;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec2 vTexCoord;
in vec4 vColour;
uniform sampler2D uTexture;
uniform bool uAlphaTest;
out vec4 fragColour;
void main() {
  vec4 c = texture(uTexture, vTexCoord) * vColour;
  if (uAlphaTest && c.a < 0.5) discard;
  fragColour = c;
}
)";

// Solid quads and points: the textured shader would multiply the colour by
// the white texel, exactly 1, so leaving the texture out gives the same
// pixels without a filtered texture fetch for each of them.
const char* const kSolidFragmentShader = R"(#version 330 core
in vec4 vColour;
uniform bool uAlphaTest;
out vec4 fragColour;
void main() {
  if (uAlphaTest && vColour.a < 0.5) discard;
  fragColour = vColour;
}
)";

// Sprites covering fewer pixels than this are drawn as their whole quad:
// for them a tighter polygon saves less than its extra triangles cost.
constexpr float kHullMinPixels = 24.0f * 24.0f;
// A tighter polygon is drawn when it covers at most this part of the quad.
constexpr float kHullMinSaving = 0.9f;

// The blend that adds the soft layer onto the screen: its colour is already
// light times alpha, and the screen's alpha is left alone.
constexpr int kBlendAddLayer = 100;
// Per quality level, the largest change (in steps of 255) a sprite may see
// from being drawn into a soft layer, its image's loss at that reduction
// times its alpha and brightest colour channel, and the coarsest soft layer
// in use (0: half the resolution, 1: a quarter).
struct QualityLevel {
  float tolerance;
  int coarsestLayer;
};
constexpr QualityLevel kLevels[GlRenderer::kQualityLevels] = {{0.0f, -1}, {2.5f, 0}, {8.0f, 0}, {8.0f, 1}};
// Primitives of at most this many pixels, and lines at most kThinLine wide,
// are drawn without waiting for the soft layers.
constexpr float kSpeckPixels = 64.0f;
// Alpha (of 255) up to which a primitive is faint enough to pass the layers.
constexpr uint8_t kFaintAlpha = 16;
constexpr float kThinLine = 2.0f;
// Sprites smaller than this on the screen stay sharp: they save little.
constexpr float kSoftMinPixels = 16.0f * 16.0f;

GLuint compileShader(GLenum type, const char* source, std::string* error) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok == GL_TRUE) return shader;
  char log[512] = {};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  *error = std::string("cannot compile the sprite shader: ") + log;
  glDeleteShader(shader);
  return 0;
}

void setSampling(int flags) {
  const bool filtered = (flags & kImageFiltered) != 0;
  const bool mipmapped = (flags & kImageMipmapped) != 0;
  const GLint mag = filtered ? GL_LINEAR : GL_NEAREST;
  const GLint min = mipmapped ? GL_LINEAR_MIPMAP_LINEAR : mag;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
  // Plain trilinear filtering blurs minified detail a little too much: the
  // HUD's small text (the 20-pixel font at about half size) turns grey and
  // soft. Half a level sharper keeps its strokes white without shimmering.
  if (mipmapped) glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, -0.5f);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

// True when every texel of the quad's source rectangle covers at least a
// pixel along both of its edges (the quad is a parallelogram): the level of
// detail is then below zero and sampling uses the top level alone, even with
// the sharpening bias.
bool magnified(const QuadCmd& q, int width, int height) {
  const float across = std::hypot(q.x[1] - q.x[0], q.y[1] - q.y[0]);
  const float down = std::hypot(q.x[3] - q.x[0], q.y[3] - q.y[0]);
  return across >= std::fabs(q.u1 - q.u0) * static_cast<float>(width) &&
         down >= std::fabs(q.v1 - q.v0) * static_cast<float>(height);
}

}  // namespace

bool GlRenderer::buildProgram(Program& program, const char* fragmentSource, std::string* error) {
  const GLuint vs = compileShader(GL_VERTEX_SHADER, kVertexShader, error);
  if (vs == 0) return false;
  const GLuint fs = compileShader(GL_FRAGMENT_SHADER, fragmentSource, error);
  if (fs == 0) {
    glDeleteShader(vs);
    return false;
  }
  const GLuint id = glCreateProgram();
  glAttachShader(id, vs);
  glAttachShader(id, fs);
  glLinkProgram(id);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = GL_FALSE;
  glGetProgramiv(id, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) {
    char log[512] = {};
    glGetProgramInfoLog(id, sizeof log, nullptr, log);
    *error = std::string("cannot link the sprite shader: ") + log;
    glDeleteProgram(id);
    return false;
  }
  glUseProgram(id);
  const GLint texture = glGetUniformLocation(id, "uTexture");
  if (texture >= 0) glUniform1i(texture, 0);
  glUniform2f(glGetUniformLocation(id, "uScreenSize"), static_cast<float>(width_), static_cast<float>(height_));
  program = Program{id, glGetUniformLocation(id, "uAlphaTest"), false};
  glUniform1i(program.alphaTestLocation, 0);
  return true;
}

void GlRenderer::scissorScreen() {
  if (clipped_) glScissor(clipX_, height_ - clipY_ - clipH_, clipW_, clipH_);
}

void GlRenderer::scissorLayer(const SoftLayer& layer, int x0, int y0, int x1, int y1) {
  // Screen pixels to layer pixels, outwards.
  const int r = layer.reduction();
  const int lx0 = x0 / r, ly0 = y0 / r;
  const int lx1 = (x1 + r - 1) / r, ly1 = (y1 + r - 1) / r;
  glScissor(lx0, layer.height() - ly1, lx1 - lx0, ly1 - ly0);
}

void GlRenderer::useProgram(Program& program, bool alphaTest) {
  if (&program != currentProgram_) {
    glUseProgram(program.id);
    currentProgram_ = &program;
  }
  if (program.alphaTest != alphaTest) {
    glUniform1i(program.alphaTestLocation, alphaTest ? 1 : 0);
    program.alphaTest = alphaTest;
  }
}

bool GlRenderer::init(int width, int height, std::string* error) {
  width_ = width;
  height_ = height;
  if (!buildProgram(textured_, kFragmentShader, error) || !buildProgram(solid_, kSolidFragmentShader, error)) {
    shutdown();
    return false;
  }
  currentProgram_ = &solid_;

  glGenVertexArrays(1, &vao_);
  glBindVertexArray(vao_);
  glGenBuffers(1, &vbo_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kMaxVertices * sizeof(Vertex)), nullptr, GL_STREAM_DRAW);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
  glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, r)));
  for (GLuint i = 0; i < 3; ++i) glEnableVertexAttribArray(i);

  std::vector<uint16_t> indices;
  indices.reserve(kMaxQuads * 6);
  for (size_t q = 0; q < kMaxQuads; ++q) {
    const auto base = static_cast<uint16_t>(q * 4);
    for (const uint16_t corner : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + corner));
  }
  glGenBuffers(1, &ibo_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
               GL_STATIC_DRAW);
  screen_.vertices.reserve(kMaxVertices);
  lightHeld_.reset(1, width, height);

  const uint32_t white[2] = {packRgba(255, 255, 255, 0), packRgba(255, 255, 255, 255)};
  glGenTextures(1, &whiteTexture_);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  setSampling(kImageFiltered);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);

  glGenTextures(1, &colour_);
  glBindTexture(GL_TEXTURE_2D, colour_);
  setSampling(0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glGenFramebuffers(1, &fbo_);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    *error = "cannot create the off-screen drawing buffer";
    shutdown();
    return false;
  }
  glGenSamplers(1, &plainSampler_);
  glSamplerParameteri(plainSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glSamplerParameteri(plainSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glSamplerParameteri(plainSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glSamplerParameteri(plainSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  screen_.plain = false;
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);  // mirrored scales flip the winding
  glViewport(0, 0, width, height);
  // A fresh buffer starts black; from here on only clear() empties it.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  appliedBlend_ = -1;
  return true;
}

void GlRenderer::shutdown() {
  for (auto& [image, slots] : textures_) {
    for (TextureSlot& slot : slots) {
      if (slot.texture != 0) glDeleteTextures(1, &slot.texture);
    }
  }
  textures_.clear();
  lastImage_ = nullptr;
  lastSlots_ = nullptr;
  glDeleteSamplers(1, &plainSampler_);
  plainSampler_ = 0;
  for (Soft& soft : soft_) soft.layer.destroy();
  glDeleteFramebuffers(1, &fbo_);
  glDeleteTextures(1, &colour_);
  glDeleteTextures(1, &whiteTexture_);
  glDeleteBuffers(1, &ibo_);
  glDeleteBuffers(1, &vbo_);
  glDeleteVertexArrays(1, &vao_);
  for (Program* program : {&textured_, &solid_}) {
    if (program->id != 0) glDeleteProgram(program->id);
    *program = Program{};
  }
  currentProgram_ = nullptr;
  fbo_ = colour_ = whiteTexture_ = ibo_ = vbo_ = vao_ = 0;
  screen_ = Batch{};
  light_ = {};
  lightHeld_.clear();
  for (Soft& soft : soft_) soft.batch = Batch{{}, 0, 0, false, &soft.layer};
  quality_ = 0;
  ringUsed_ = 0;
  appliedBlend_ = -1;
  clipped_ = false;
}

void GlRenderer::applyBlend(int blend) {
  if (blend == appliedBlend_) return;
  appliedBlend_ = blend;
  switch (blend) {
    case kBlendAlpha:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      break;
    case kBlendLight:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      break;
    case kBlendShade:
      glEnable(GL_BLEND);
      glBlendFunc(GL_DST_COLOR, GL_ZERO);
      break;
    case kBlendAddLayer:
      glEnable(GL_BLEND);
      glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ZERO, GL_ONE);
      break;
    default:  // mask, solid and unknown modes write without blending
      glDisable(GL_BLEND);
      break;
  }
}

void GlRenderer::flushBatch(Batch& batch) {
  if (batch.vertices.empty()) return;
  const SoftLayer* layer = batch.layer;
  if (layer != nullptr) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, layer->framebuffer());
    glViewport(0, 0, layer->width(), layer->height());
    if (clipped_) scissorLayer(*layer, clipX_, clipY_, clipX_ + clipW_, clipY_ + clipH_);
  }
  applyBlend(batch.blend);
  if (batch.texture == kNoTexture) {
    useProgram(solid_, batch.blend == kBlendMask);
  } else {
    useProgram(textured_, batch.blend == kBlendMask);
    glBindTexture(GL_TEXTURE_2D, batch.texture);
    glBindSampler(0, batch.plain ? plainSampler_ : 0);
  }
  // The vertex buffer is a ring: each batch goes behind the previous ones,
  // so no draw in flight is overwritten and the driver never has to wait.
  // Only when the ring is full is the buffer orphaned and started afresh.
  const size_t count = batch.vertices.size();
  if (ringUsed_ + count > kMaxVertices) {
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(kMaxVertices * sizeof(Vertex)), nullptr, GL_STREAM_DRAW);
    ringUsed_ = 0;
  }
  const auto offset = static_cast<GLintptr>(ringUsed_ * sizeof(Vertex));
  const auto bytes = static_cast<GLsizeiptr>(count * sizeof(Vertex));
  void* target = glMapBufferRange(GL_ARRAY_BUFFER, offset, bytes,
                                  GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
  if (target != nullptr) {
    std::memcpy(target, batch.vertices.data(), static_cast<size_t>(bytes));
    glUnmapBuffer(GL_ARRAY_BUFFER);
    glDrawElementsBaseVertex(GL_TRIANGLES, static_cast<GLsizei>(count / 4 * 6), GL_UNSIGNED_SHORT, nullptr,
                             static_cast<GLint>(ringUsed_));
    ringUsed_ += count;
    ++drawCalls_;
  }
  batch.vertices.clear();
  // The rasteriser's threads start on a frame only when it is flushed:
  // flushed in parts, they fill the first part while the rest is still
  // being submitted.
  unflushedVertices_ += count;
  if (unflushedVertices_ >= kFlushVertices) {
    glFlush();
    unflushedVertices_ = 0;
  }
  if (layer != nullptr) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo_);
    glViewport(0, 0, width_, height_);
    scissorScreen();
  }
}

void GlRenderer::settle(size_t i) {
  SoftLayer& layer = soft_[i].layer;
  HeldRegion& held = layer.held();
  if (held.empty()) return;
  flushBatch(soft_[i].batch);
  // A coarser layer goes into the next finer one, the finest onto the
  // screen; either way it is light added.
  Batch& target = i == 0 ? screen_ : soft_[i - 1].batch;
  const float w = static_cast<float>(width_), h = static_cast<float>(height_);
  for (int r = 0; r < held.count(); ++r) {
    const PixelRect& rect = held.rect(r);
    const float x[4] = {float(rect.x0), float(rect.x1), float(rect.x1), float(rect.x0)};
    const float y[4] = {float(rect.y0), float(rect.y0), float(rect.y1), float(rect.y1)};
    // The layer's rows run bottom-up like every GL buffer; the screen is
    // drawn top-down.
    const float u[4] = {x[0] / w, x[1] / w, x[2] / w, x[3] / w};
    const float v[4] = {1 - y[0] / h, 1 - y[1] / h, 1 - y[2] / h, 1 - y[3] / h};
    pushQuad(layer.texture(), kBlendAddLayer, x, y, u, v, Rgba{255, 255, 255, 255}, false, &target);
  }
  const PixelRect emptied = held.hull();
  held.clear();
  flushBatch(target);
  // Emptied where it held something, for the next sprites.
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, layer.framebuffer());
  glEnable(GL_SCISSOR_TEST);
  scissorLayer(layer, emptied.x0, emptied.y0, emptied.x1, emptied.y1);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo_);
  if (clipped_) {
    scissorScreen();
  } else {
    glDisable(GL_SCISSOR_TEST);
  }
}

void GlRenderer::settleLayers() {
  for (size_t i = soft_.size(); i-- > 0;) settle(i);
}

void GlRenderer::flushScreen() {
  flushBatch(screen_);
  for (Batch& light : light_) flushBatch(light);
  lightHeld_.clear();
}

void GlRenderer::flush() {
  flushScreen();
  settleLayers();
}

GlRenderer::Batch& GlRenderer::lightBatch(unsigned texture, bool plainSampling) {
  Batch* free = nullptr;
  for (Batch& light : light_) {
    if (light.vertices.empty()) {
      if (free == nullptr) free = &light;
    } else if (light.texture == texture && light.plain == plainSampling) {
      // A full one is drawn after what the screen's batch holds, as always.
      if (light.vertices.size() + 12 > kMaxVertices) flushScreen();
      return light;
    }
  }
  if (free == nullptr) {
    flushScreen();
    free = &light_[0];
  }
  free->texture = texture;
  free->blend = kBlendLight;
  free->plain = plainSampling;
  return *free;
}

void GlRenderer::setQuality(int level) {
  level = std::clamp(level, 0, kQualityLevels - 1);
  if (level == quality_ || !ready()) return;
  flush();
  for (int i = 0; i <= kLevels[level].coarsestLayer; ++i) {
    if (!soft_[static_cast<size_t>(i)].layer.ensure(width_, height_)) level = std::min(level, i);
  }
  quality_ = level;
}

GlRenderer::Batch& GlRenderer::batchFor(const QuadCmd& q, const SpriteSoftness& softness) {
  const float across = std::hypot(q.x[1] - q.x[0], q.y[1] - q.y[0]);
  const float down = std::hypot(q.x[3] - q.x[0], q.y[3] - q.y[0]);
  if (across * down < kSoftMinPixels) return screen_;
  // Texels per screen pixel along the sprite's two edges.
  const float texels = std::max(std::fabs(q.u1 - q.u0) * static_cast<float>(q.image->width()) / across,
                                std::fabs(q.v1 - q.v0) * static_cast<float>(q.image->height()) / down);
  const float brightest = static_cast<float>(std::max({q.paint.r, q.paint.g, q.paint.b}));
  const float weight = brightest * static_cast<float>(q.paint.a) / 255.0f;
  const QualityLevel& level = kLevels[quality_];
  for (int i = level.coarsestLayer; i >= 0; --i) {
    Soft& soft = soft_[static_cast<size_t>(i)];
    const float loss = softness.lossAt(texels * static_cast<float>(soft.layer.reduction()));
    if (loss * weight <= level.tolerance) return soft.batch;
  }
  return screen_;
}

void GlRenderer::place(Batch& batch, int blend, uint8_t alpha, const Bounds& bounds) {
  // Only what the clip lets through is held back.
  Bounds seen = bounds;
  if (clipped_) {
    seen.x0 = std::max(seen.x0, static_cast<float>(clipX_));
    seen.y0 = std::max(seen.y0, static_cast<float>(clipY_));
    seen.x1 = std::min(seen.x1, static_cast<float>(clipX_ + clipW_));
    seen.y1 = std::min(seen.y1, static_cast<float>(clipY_ + clipH_));
  }
  if (batch.layer != nullptr) {
    batch.layer->held().add(seen.x0, seen.y0, seen.x1, seen.y1);
    return;
  }
  if (blend == kBlendLight) {
    lightHeld_.add(seen.x0, seen.y0, seen.x1, seen.y1);
    return;
  }
  // Light adds up in any order (a layer added onto the screen too): only
  // other blends must not pass the light waiting for the screen.
  if (blend == kBlendAddLayer) return;
  if (lightHeld_.meets(bounds.x0, bounds.y0, bounds.x1, bounds.y1)) flushScreen();
  if (quality_ == 0) return;
  // Nor the soft layers; but specks and thin lines may: drawn under the
  // layers' light instead of over it, they differ only in their own few
  // pixels. So may faint alpha-blended ones: they change what they pass by
  // their alpha's share of it.
  if (blend == kBlendAlpha && alpha <= kFaintAlpha) return;
  if (thinLine_ || (bounds.x1 - bounds.x0) * (bounds.y1 - bounds.y0) <= kSpeckPixels) return;
  // A coarser layer reaches the screen through the finer ones.
  for (const Soft& soft : soft_) {
    if (soft.layer.held().meets(bounds.x0, bounds.y0, bounds.x1, bounds.y1)) {
      settleLayers();
      return;
    }
  }
}

void GlRenderer::finish() {
  flush();
  glFinish();
}

unsigned GlRenderer::textureFor(const Image& image, int frame, bool withMipmaps) {
  if (image.width() <= 0 || image.height() <= 0 || frame < 0 || frame >= image.frames()) return 0;
  if (&image != lastImage_) {
    std::vector<TextureSlot>& slots = textures_[&image];
    slots.resize(static_cast<size_t>(image.frames()));
    lastImage_ = &image;
    lastSlots_ = &slots;
  }
  TextureSlot& slot = (*lastSlots_)[static_cast<size_t>(frame)];
  if (slot.texture != 0 && slot.uploadedVersion == image.version()) {
    if (withMipmaps && !slot.mipmapsMade) {
      // Quads batched with this texture so far sample only its top level.
      glBindTexture(GL_TEXTURE_2D, slot.texture);
      glGenerateMipmap(GL_TEXTURE_2D);
      slot.mipmapsMade = true;
    }
    return slot.texture;
  }

  // Quads already batched with this texture must show the old pixels.
  if (slot.texture != 0 && waitsToBeDrawn(slot.texture)) flushScreen();
  for (Soft& soft : soft_) {
    if (slot.texture != 0 && slot.texture == soft.batch.texture) flushBatch(soft.batch);
  }
  const bool fresh = slot.texture == 0;
  if (fresh) glGenTextures(1, &slot.texture);
  glBindTexture(GL_TEXTURE_2D, slot.texture);
  const void* pixels = image.pixels(frame).data();
  if (fresh) {
    setSampling(image.flags());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width(), image.height(), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  } else {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  }
  slot.mipmapsMade = withMipmaps;
  if (withMipmaps) glGenerateMipmap(GL_TEXTURE_2D);
  slot.uploadedVersion = image.version();
  // Only filtered images are drawn by their hull; it is built while the
  // pixels are at hand, since a released image would decode them again.
  if ((image.flags() & kImageFiltered) != 0) {
    slot.hull.build(static_cast<const uint32_t*>(pixels), image.width(), image.height());
    slot.hullVersion = image.version();
    slot.softness.build(static_cast<const uint32_t*>(pixels), image.width(), image.height());
  }
  // The texture holds the pixels now; a loaded image can decode them again.
  image.releasePixels();
  return slot.texture;
}

void GlRenderer::forget(const Image& image) {
  const auto it = textures_.find(&image);
  if (it == textures_.end()) return;
  for (TextureSlot& slot : it->second) {
    if (slot.texture == 0) continue;
    if (waitsToBeDrawn(slot.texture)) flushScreen();
    for (Soft& soft : soft_) {
      if (slot.texture == soft.batch.texture) flushBatch(soft.batch);
    }
    glDeleteTextures(1, &slot.texture);
  }
  textures_.erase(it);
  if (lastImage_ == &image) {
    lastImage_ = nullptr;
    lastSlots_ = nullptr;
  }
}

GlRenderer::Batch& GlRenderer::routed(Batch& batch, unsigned texture, int blend, bool plainSampling) {
  // Unbatched (a measurement), every primitive is its own draw call in order.
  if (&batch != &screen_ || blend != kBlendLight || !batching_) return batch;
  return lightBatch(texture, plainSampling);
}

void GlRenderer::startBatch(Batch& batch, unsigned texture, int blend, bool plainSampling, size_t vertices) {
  if (texture != batch.texture || blend != batch.blend || plainSampling != batch.plain ||
      batch.vertices.size() + vertices > kMaxVertices) {
    flushBatch(batch);
    batch.texture = texture;
    batch.blend = blend;
    batch.plain = plainSampling;
  }
}

bool GlRenderer::waitsToBeDrawn(unsigned texture) const {
  if (screen_.texture == texture) return true;
  return std::any_of(light_.begin(), light_.end(), [&](const Batch& b) { return b.texture == texture; });
}

void GlRenderer::pushQuad(unsigned texture, int blend, const float* x, const float* y, const float* u, const float* v,
                          Rgba colour, bool plainSampling, Batch* into) {
  Batch& batch = routed(into != nullptr ? *into : screen_, texture, blend, plainSampling);
  Bounds bounds;
  for (int i = 0; i < 4; ++i) bounds.add(x[i], y[i]);
  place(batch, blend, colour.a, bounds);
  startBatch(batch, texture, blend, plainSampling, 4);
  for (int i = 0; i < 4; ++i)
    batch.vertices.push_back(Vertex{x[i], y[i], u[i], v[i], colour.r, colour.g, colour.b, colour.a});
  if (!batching_) flushBatch(batch);
}

void GlRenderer::pushPolygon(Batch& target, unsigned texture, int blend, const Vertex* corners, int n,
                             bool plainSampling) {
  Batch& batch = routed(target, texture, blend, plainSampling);
  Bounds bounds;
  for (int i = 0; i < n; ++i) bounds.add(corners[i].x, corners[i].y);
  place(batch, blend, corners[0].a, bounds);
  // A fan around the first corner, as quads (0,1,2,3), (0,3,4,5), (0,5,6,7);
  // a missing last corner repeats the one before, an empty triangle.
  startBatch(batch, texture, blend, plainSampling, 12);
  for (int first = 1; first + 1 < n; first += 2) {
    batch.vertices.push_back(corners[0]);
    for (int i = first; i < first + 3; ++i) batch.vertices.push_back(corners[std::min(i, n - 1)]);
  }
  if (!batching_) flushBatch(batch);
}

void GlRenderer::pushSolid(int blend, const float* x, const float* y, Rgba colour) {
  const float u[4] = {kOpaqueU, kOpaqueU, kOpaqueU, kOpaqueU};
  const float v[4] = {kTexelV, kTexelV, kTexelV, kTexelV};
  if (!fillSavings_) {
    pushQuad(whiteTexture_, blend, x, y, u, v, colour);
    return;
  }
  // An opaque colour alpha-blended replaces the pixel exactly (the source
  // times one plus the pixel times zero): the same write without reading
  // the pixel back, as for the black side panels.
  if (blend == kBlendAlpha && colour.a == 255) blend = kBlendSolid;
  pushQuad(kNoTexture, blend, x, y, u, v, colour);
}

const SpriteHull& GlRenderer::hullFor(const Image& image, int frame) {
  TextureSlot& slot = (*lastSlots_)[static_cast<size_t>(frame)];
  if (slot.hullVersion != image.version()) {
    slot.hull.build(image.pixels(frame).data(), image.width(), image.height());
    slot.hullVersion = image.version();
  }
  return slot.hull;
}

bool GlRenderer::pushHull(Batch& batch, unsigned texture, const QuadCmd& q, Rgba colour, bool plainSampling) {
  // The quad is the image of the source rectangle under an affine map: a
  // parallelogram (both diagonals share their midpoint).
  const float ax = q.x[1] - q.x[0], ay = q.y[1] - q.y[0];
  const float bx = q.x[3] - q.x[0], by = q.y[3] - q.y[0];
  // Pixels of the target the quad covers: a soft layer has fewer.
  const float reduction = batch.layer != nullptr ? static_cast<float>(batch.layer->reduction()) : 1.0f;
  const float quadPixels = std::fabs(ax * by - ay * bx) / (reduction * reduction);
  if (quadPixels < kHullMinPixels) return false;
  if (std::fabs(q.x[0] + q.x[2] - q.x[1] - q.x[3]) > 0.01f || std::fabs(q.y[0] + q.y[2] - q.y[1] - q.y[3]) > 0.01f)
    return false;
  const float w = static_cast<float>(q.image->width()), h = static_cast<float>(q.image->height());
  const float s0 = q.u0 * w, s1 = q.u1 * w, t0 = q.v0 * h, t1 = q.v1 * h;
  if (s0 == s1 || t0 == t1) return false;
  float s[SpriteHull::kMaxCorners], t[SpriteHull::kMaxCorners];
  const int n = hullFor(*q.image, q.frame).clip(colour.a, s0, t0, s1, t1, s, t);
  if (n == 0) return true;  // no pixel of it can change
  double twice = 0;
  for (int i = 0; i < n; ++i) twice += s[i] * t[(i + 1) % n] - s[(i + 1) % n] * t[i];
  if (std::fabs(twice) * 0.5 > kHullMinSaving * std::fabs((s1 - s0) * (t1 - t0))) return false;
  Vertex corners[SpriteHull::kMaxCorners];
  for (int i = 0; i < n; ++i) {
    const float a = (s[i] - s0) / (s1 - s0), b = (t[i] - t0) / (t1 - t0);
    corners[i] = Vertex{
        q.x[0] + a * ax + b * bx, q.y[0] + a * ay + b * by, s[i] / w, t[i] / h, colour.r, colour.g, colour.b, colour.a};
  }
  pushPolygon(batch, texture, q.paint.blend, corners, n, plainSampling);
  return true;
}

void GlRenderer::quad(const QuadCmd& q) {
  const Rgba colour{q.paint.r, q.paint.g, q.paint.b, q.paint.a};
  if (q.image == nullptr) {
    pushSolid(q.paint.blend, q.x, q.y, colour);
    return;
  }
  const bool mipmapped = (q.image->flags() & kImageMipmapped) != 0;
  const bool plain = mipmapped && magnified(q, q.image->width(), q.image->height());
  const unsigned texture = textureFor(*q.image, q.frame, mipmapped && !plain);
  if (texture == 0) return;
  // Blending that leaves a pixel alone where the alpha is zero, bilinear
  // sampling that reaches only neighbouring texels (no smaller mipmap
  // level). Not nearest sampling: where texel edges fall on pixel centres,
  // the rounding of another polygon's interpolation could pick the
  // neighbouring texel.
  const bool blended = q.paint.blend == kBlendAlpha || q.paint.blend == kBlendLight;
  const bool filtered = (q.image->flags() & kImageFiltered) != 0;
  const bool sampledPlainly = filtered && (!mipmapped || plain);
  Batch& batch = quality_ > 0 && q.paint.blend == kBlendLight && sampledPlainly
                     ? batchFor(q, lastSlot(q.frame).softness)
                     : screen_;
  if (fillSavings_ && blended && sampledPlainly && pushHull(batch, texture, q, colour, plain)) return;
  const float u[4] = {q.u0, q.u1, q.u1, q.u0};
  const float v[4] = {q.v0, q.v0, q.v1, q.v1};
  pushQuad(texture, q.paint.blend, q.x, q.y, u, v, colour, plain, &batch);
}

void GlRenderer::line(const LineCmd& in) {
  // Integer coordinates name pixels: the line runs through their centres, so
  // a one-pixel line on whole numbers lights exactly one row or column.
  LineCmd l = in;
  l.x1 += 0.5f;
  l.y1 += 0.5f;
  l.x2 += 0.5f;
  l.y2 += 0.5f;
  const float dx = l.x2 - l.x1;
  const float dy = l.y2 - l.y1;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 1e-6f)) return;
  // Unit normal of the segment.
  const float nx = -dy / length;
  const float ny = dx / length;
  const float half = std::max(l.width, 1.0f) * 0.5f;
  thinLine_ = l.width <= kThinLine;
  const Rgba colour{l.paint.r, l.paint.g, l.paint.b, l.paint.a};
  // The band between offsets a and b from the centre line.
  auto band = [&](float a, float b, float ua, float ub) {
    const float x[4] = {l.x1 + nx * a, l.x2 + nx * a, l.x2 + nx * b, l.x1 + nx * b};
    const float y[4] = {l.y1 + ny * a, l.y2 + ny * a, l.y2 + ny * b, l.y1 + ny * b};
    const float u[4] = {ua, ua, ub, ub};
    const float v[4] = {kTexelV, kTexelV, kTexelV, kTexelV};
    pushQuad(whiteTexture_, l.paint.blend, x, y, u, v, colour);
  };
  if (!l.smooth) {
    band(-half, half, kOpaqueU, kOpaqueU);
    thinLine_ = false;
    return;
  }
  // A solid core plus a one-pixel edge on each side that fades out, so the
  // line covers its width on average and its sides are anti-aliased.
  const float core = std::max(half - 0.5f, 0.0f);
  const float outer = half + 0.5f;
  if (core > 0.0f) band(-core, core, kOpaqueU, kOpaqueU);
  band(core, outer, kOpaqueU, kClearU);
  band(-core, -outer, kOpaqueU, kClearU);
  thinLine_ = false;
}

void GlRenderer::point(const PointCmd& p) {
  const float x0 = std::floor(p.x);
  const float y0 = std::floor(p.y);
  const float x[4] = {x0, x0 + 1, x0 + 1, x0};
  const float y[4] = {y0, y0, y0 + 1, y0 + 1};
  pushSolid(p.paint.blend, x, y, Rgba{p.paint.r, p.paint.g, p.paint.b, p.paint.a});
}

void GlRenderer::clear(int r, int g, int b) {
  flush();
  glClearColor(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlRenderer::setClip(int x, int y, int w, int h) {
  const bool on = w > 0 && h > 0;
  if (!on && !clipped_) return;
  flush();
  clipped_ = on;
  if (!on) {
    glDisable(GL_SCISSOR_TEST);
    return;
  }
  clipX_ = x;
  clipY_ = y;
  clipW_ = w;
  clipH_ = h;
  glEnable(GL_SCISSOR_TEST);
  scissorScreen();
}

void GlRenderer::grab(Image& image, int frame, int x, int y) {
  flush();
  const int w = image.width();
  const int h = image.height();
  std::vector<uint32_t>& out = image.pixels(frame);
  std::fill(out.begin(), out.end(), packRgba(0, 0, 0, 255));
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  const int cw = x1 - x0, ch = y1 - y0;
  readback_.resize(static_cast<size_t>(cw) * ch);
  glReadPixels(x0, height_ - y1, cw, ch, GL_RGBA, GL_UNSIGNED_BYTE, readback_.data());
  // GL rows run bottom-up: readback row 0 is screen row y1 - 1.
  for (int row = 0; row < ch; ++row) {
    const uint32_t* src = readback_.data() + static_cast<size_t>(row) * cw;
    uint32_t* dst = out.data() + static_cast<size_t>(y1 - 1 - row - y) * w + (x0 - x);
    for (int col = 0; col < cw; ++col) dst[col] = src[col] | 0xFF000000u;
  }
}

void GlRenderer::present(int drawableWidth, int drawableHeight) {
  flush();
  const double scale =
      std::min(static_cast<double>(drawableWidth) / width_, static_cast<double>(drawableHeight) / height_);
  const int w = static_cast<int>(std::lround(width_ * scale));
  const int h = static_cast<int>(std::lround(height_ * scale));
  const int left = (drawableWidth - w) / 2;
  const int bottom = (drawableHeight - h) / 2;
  if (clipped_) glDisable(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // The bars are cleared only where there are bars: a whole-window clear
  // under a blit that covers the window is one more full pass of pixels.
  if (w != drawableWidth || h != drawableHeight) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
  const GLenum filter = (w == width_ && h == height_) ? GL_NEAREST : GL_LINEAR;
  glBlitFramebuffer(0, 0, width_, height_, left, bottom, left + w, bottom + h, GL_COLOR_BUFFER_BIT, filter);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  if (clipped_) glEnable(GL_SCISSOR_TEST);
}

}  // namespace pf
