#include "launcher/heap_size.h"

#include "platform/platform.h"

namespace {
constexpr uint64_t kFourMiB = 4194304;
constexpr uint32_t kSmallestHeap = 96;
constexpr uint32_t kLargestHeap = 128;
}  // namespace

uint32_t DefaultHeapMegabytes(uint64_t physical_memory_bytes) {
  // Clamped before narrowing, so no amount of memory wraps to a small heap.
  uint64_t quarter_in_mib = physical_memory_bytes / kFourMiB;
  if (quarter_in_mib < kSmallestHeap) return kSmallestHeap;
  if (quarter_in_mib > kLargestHeap) return kLargestHeap;
  return static_cast<uint32_t>(quarter_in_mib);
}

void addDefaultHeapSize(LaunchSettings& settings) {
  if (settings.default_options.find(u"-Xmx") != WString::npos) return;
  uint32_t heap = DefaultHeapMegabytes(platform().GetTotalPhysicalMemory());
  settings.default_options += u" -Xmx" + DecimalText(heap) + u"m";
}
