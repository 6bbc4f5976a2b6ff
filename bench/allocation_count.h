#pragma once
// How many blocks this process has taken from the heap so far: a pass's allocations are the
// difference across it.

#include <cstddef>

namespace rescalo::bench {

std::size_t allocationCount();

}  // namespace rescalo::bench
