#include "support/allocation_meter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> held{0};
std::atomic<size_t> peak{0};
std::atomic<size_t> base{0};

// Each block carries its size in front, kept at the alignment new must give.
constexpr size_t kPrefix = alignof(std::max_align_t);

void* Allocate(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<size_t*>(block) = size;
  const size_t now = held.fetch_add(size) + size;
  size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return block + kPrefix;
}

void Free(void* pointer) {
  if (pointer == nullptr) return;
  auto* block = static_cast<unsigned char*>(pointer) - kPrefix;
  held.fetch_sub(*reinterpret_cast<size_t*>(block));
  std::free(block);
}

}  // namespace

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, size_t) noexcept { Free(p); }
void operator delete[](void* p, size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }

namespace allocation_meter {

void Restart() {
  base = held.load();
  peak = base.load();
}

size_t PeakSinceRestart() { return peak.load() - base.load(); }

}  // namespace allocation_meter
