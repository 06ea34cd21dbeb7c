#include "essentials/recycled.hpp"

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

}  // namespace

void* Recycled::operator new(std::size_t size) {
  if (size > kLargest) return ::operator new(size);
  const std::size_t c = sizeClass(size);
  if (FreeBlock* block = freeLists[c]) {
    freeLists[c] = block->next;
    return block;
  }
  return ::operator new(c* kGranule);
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
