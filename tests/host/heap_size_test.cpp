// The default heap limit added to the Java options.
#include "launcher/heap_size.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

TEST(DefaultHeapSize, AQuarterOfTheMemoryBetween96And128WhenNoMaximumIsSet) {
  constexpr uint64_t kMiB = 1048576;
  struct Case {
    const char16_t* options;
    uint64_t memory;
    const char16_t* result;
  } cases[] = {
      {u"", 0, u" -Xmx96m"},
      {u"", 384 * kMiB, u" -Xmx96m"},
      {u"", 400 * kMiB, u" -Xmx100m"},
      {u"", 512 * kMiB - 1, u" -Xmx127m"},
      {u"", 512 * kMiB, u" -Xmx128m"},
      {u"", 4294967295, u" -Xmx128m"},
      // Counts beyond 32 bits never wrap into a tiny heap.
      {u"", 16384 * kMiB + 400 * kMiB, u" -Xmx128m"},
      {u"", UINT64_MAX, u" -Xmx128m"},
      {u"-Xms64m", 256 * kMiB, u"-Xms64m -Xmx96m"},
      {u"-Xms32m -Xmx512m", 256 * kMiB, u"-Xms32m -Xmx512m"},
      {u"-xmx512m", 256 * kMiB, u"-xmx512m -Xmx96m"},  // the test is case-sensitive
      {u"-Dnote=-Xmx", 256 * kMiB, u"-Dnote=-Xmx"},     // found anywhere
  };
  for (const Case& c : cases) {
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    os.set_total_physical_memory(c.memory);
    LaunchSettings settings;
    settings.default_options = c.options;
    addDefaultHeapSize(settings);
    EXPECT_EQ(settings.default_options, c.result) << ToUtf8(c.options) << " " << c.memory;
  }
}

}  // namespace
