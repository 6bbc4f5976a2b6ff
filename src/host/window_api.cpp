#include <rescalo/host/window_api.h>

#include <cstring>

namespace rescalo::host {

void RtlMoveMemory(void* destination, const void* source, std::size_t length) {
  std::memmove(destination, source, length);
}

}  // namespace rescalo::host
