// The default heap limit added to the Java options.
#include "launcher/heap_size.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

WString WithDefaultHeap(const WString& default_options, uint64_t physical_memory, EmulatedPlatform& os) {
  ScopedPlatform installed(os);
  os.set_total_physical_memory(physical_memory);
  LaunchSettings settings;
  settings.default_options = default_options;
  addDefaultHeapSize(settings);
  return settings.default_options;
}

WString WithDefaultHeap(const WString& default_options, uint64_t physical_memory) {
  EmulatedPlatform os;
  return WithDefaultHeap(default_options, physical_memory, os);
}

TEST(DefaultHeapSize, AQuarterOfTheMemoryBetween96And128) {
  constexpr uint64_t kMiB = 1048576;
  struct Case {
    uint64_t memory;
    const char16_t* appended;
  } cases[] = {
      {0, u" -Xmx96m"},
      {268435456, u" -Xmx96m"},     // 256 MiB
      {401604608, u" -Xmx96m"},     // 383 MiB
      {402653183, u" -Xmx96m"},     // a byte short of 384 MiB
      {402653184, u" -Xmx96m"},     // 384 MiB
      {419430400, u" -Xmx100m"},    // 400 MiB
      {468713472, u" -Xmx111m"},    // 447 MiB
      {528482304, u" -Xmx126m"},    // 504 MiB
      {535822336, u" -Xmx127m"},    // 511 MiB
      {536870911, u" -Xmx127m"},    // a byte short of 512 MiB
      {536870912, u" -Xmx128m"},    // 512 MiB
      {1073741824, u" -Xmx128m"},   // 1 GiB
      {4294967295, u" -Xmx128m"},   // the largest 32-bit count
      // Larger machines: a count cut to 32 bits would give a tiny heap here.
      {4294967296, u" -Xmx128m"},
      {16384 * kMiB, u" -Xmx128m"},
      {16384 * kMiB + 5, u" -Xmx128m"},
      {16384 * kMiB + 400 * kMiB, u" -Xmx128m"},
      {UINT64_MAX, u" -Xmx128m"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithDefaultHeap(u"", c.memory), c.appended) << c.memory;
}

TEST(DefaultHeapSize, OnlyWhenTheOptionsSetNoMaximumHeap) {
  struct Case {
    const char16_t* options;
    uint64_t memory;
    const char16_t* result;
  } cases[] = {
      {u"-Xms64m", 268435456, u"-Xms64m -Xmx96m"},
      {u"-Xmx512m", 268435456, u"-Xmx512m"},
      {u"-Xms32m -Xmx512m", 1073741824, u"-Xms32m -Xmx512m"},
      {u"-xmx512m", 268435456, u"-xmx512m -Xmx96m"},  // the test is case-sensitive
      {u"-XMX512m", 1073741824, u"-XMX512m -Xmx128m"},
      {u"-Dnote=-Xmx", 1073741824, u"-Dnote=-Xmx"},   // found anywhere
      {u"-Xm x", 1073741824, u"-Xm x -Xmx128m"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithDefaultHeap(c.options, c.memory), c.result) << ToUtf8(c.options);
}

TEST(DefaultHeapSize, AsksForTheMemoryOnlyWhenItAppends) {
  EmulatedPlatform os;
  WithDefaultHeap(u"-Xmx512m", 1073741824, os);
  EXPECT_EQ(os.call_count(), 0);
}

}  // namespace
