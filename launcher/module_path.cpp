#include "launcher/module_path.h"

#include <vector>

#include "platform/platform.h"

namespace {
constexpr uint32_t kModulePathCapacity = 2600;
constexpr uint32_t kLongestPath = 32768;
}  // namespace

WString OwnExecutablePath(uint32_t* error) {
  // A path that does not fit is retried in a larger buffer rather than used cut.
  for (uint32_t capacity = kModulePathCapacity; capacity <= kLongestPath * 2; capacity *= 2) {
    std::vector<WChar> buffer(capacity, 0);
    uint32_t length = platform().GetModuleFileName(buffer.data(), capacity);
    if (length == 0) {
      *error = platform().GetLastError();
      return WString();
    }
    if (length < capacity) return WString(buffer.data(), length);
  }
  *error = err::kInsufficientBuffer;
  return WString();
}
