#include "host/window_api.h"

#include <cstring>

namespace host {

void RtlMoveMemory(void* destination, const void* source, std::size_t length) {
  std::memmove(destination, source, length);
}

}  // namespace host
