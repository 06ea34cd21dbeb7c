#include "essentials/recycled.hpp"

#include <algorithm>
#include <array>
#include <new>

namespace {

constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargest = 2048;  // larger objects come from the heap as usual

struct FreeBlock {
  FreeBlock* next;
};

// One free list per multiple of the granule.
std::array<FreeBlock*, kLargest / kGranule + 1> freeLists{};

std::size_t sizeClass(std::size_t size) { return (size + kGranule - 1) / kGranule; }

#if defined(__SANITIZE_ADDRESS__)
#define OVELUNE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OVELUNE_ADDRESS_SANITIZER 1
#endif
#endif

// Blocks of one size are carved from slabs of about this many bytes, side by
// side without the heap's headers: objects made one after another (a burst
// of sparks, a trail of bubbles) share cache lines, and a walk over them
// reads memory in order. Slabs are never given back, like the blocks in the
// free lists. Under AddressSanitizer every block is an allocation of its
// own, so an overrun into the next object is still caught.
#ifdef OVELUNE_ADDRESS_SANITIZER
constexpr std::size_t kSlabBytes = 0;
#else
constexpr std::size_t kSlabBytes = 16 * 1024;
#endif

// Carves a slab for class c, queues all its blocks but the first in address
// order and returns the first.
void* refill(std::size_t c) {
  const std::size_t blockBytes = c * kGranule;
  const std::size_t count = std::max<std::size_t>(1, kSlabBytes / blockBytes);
  auto* slab = static_cast<unsigned char*>(::operator new(count* blockBytes));
  for (std::size_t i = count - 1; i >= 1; --i) {
    auto* block = reinterpret_cast<FreeBlock*>(slab + i * blockBytes);
    block->next = freeLists[c];
    freeLists[c] = block;
  }
  return slab;
}

}  // namespace

void* Recycled::operator new(std::size_t size) {
  if (size > kLargest) return ::operator new(size);
  const std::size_t c = sizeClass(size);
  if (FreeBlock* block = freeLists[c]) {
    freeLists[c] = block->next;
    return block;
  }
  return refill(c);
}

void Recycled::operator delete(void* block, std::size_t size) noexcept {
  if (block == nullptr) return;
  if (size > kLargest) {
    ::operator delete(block);
    return;
  }
  const std::size_t c = sizeClass(size);
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = freeLists[c];
  freeLists[c] = freed;
}
