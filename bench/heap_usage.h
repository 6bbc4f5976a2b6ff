#pragma once
// The bytes this process holds on the heap, counted by the benchmarks' own operator new and
// delete, and the most it held since a mark.

#include <cstddef>

namespace rescalo::bench {

std::size_t heapInUse();
// Starts a new high-water mark at what is in use now.
void markHeapPeak();
std::size_t heapPeakSinceMark();

}  // namespace rescalo::bench
