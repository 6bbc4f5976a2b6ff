// Qt allocates with malloc as much as with new: the Qt benchmarks count at malloc itself, which
// glibc lets a program replace while keeping its own under another name.

#include "allocation_count.h"

#include <atomic>
#include <cstdlib>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
}

namespace {
// Qt's own threads allocate too, rarely; they are counted with the rest.
std::atomic<std::size_t> gAllocations{0};
}  // namespace

namespace rescalo::bench {

std::size_t allocationCount() { return gAllocations.load(std::memory_order_relaxed); }

}  // namespace rescalo::bench

extern "C" {
void* malloc(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, n);
}
}
