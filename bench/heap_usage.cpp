#include "heap_usage.h"

#include "allocation_count.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
// The benchmarks run on one thread.
std::size_t gInUse = 0;
std::size_t gPeak = 0;
std::size_t gAllocations = 0;

void* counted(void* p) {
  if (p) {
    ++gAllocations;
    gInUse += malloc_usable_size(p);
    gPeak = std::max(gPeak, gInUse);
  }
  return p;
}

void release(void* p) {
  if (!p) return;
  gInUse -= malloc_usable_size(p);
  std::free(p);
}
}  // namespace

namespace rescalo::bench {

std::size_t heapInUse() { return gInUse; }
void markHeapPeak() { gPeak = gInUse; }
std::size_t heapPeakSinceMark() { return gPeak; }
std::size_t allocationCount() { return gAllocations; }

}  // namespace rescalo::bench

// Every allocation comes from malloc and goes back to free, so that one size, the block's
// usable size, is counted both ways.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  if (void* p = counted(std::malloc(n ? n : 1))) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  return counted(std::malloc(n ? n : 1));
}
void operator delete(void* p) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
#pragma GCC diagnostic pop
