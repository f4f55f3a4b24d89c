// Work whose instruction count script/bench measures under callgrind: the
// core's values, with only the work itself instrumented, not its set-up.
//   host_work none | tokenize CHARS | boot-reader BYTES
#include <cstdio>
#include <cstdlib>
#include <string>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include "handoff/tokenizer.h"
#include "launcher/boot_file.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "none";
  const size_t amount = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;
  if (mode == "tokenize") {
    WString tail;
    for (int i = 0; tail.size() < amount; ++i)
      tail += u"-I \"C:\\Statements\\statement " + DecimalText(i) + u".qif\" ";
    tail.resize(amount);
    CALLGRIND_START_INSTRUMENTATION;
    const ImportList list = TokenizeCommandLine(tail);
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("%zu documents\n", list.size());
  } else if (mode == "boot-reader") {
    std::string text;
    for (int i = 0; text.size() < amount; ++i)
      text += "# line " + std::to_string(i) +
              "\ndefault_options=-Xms32m -Dledgrix.line=" + std::to_string(i) +
              "\ninstall_dir=\"C:\\Program Files\\Ledgrix\"   \r\n";
    text.resize(amount);
    CALLGRIND_START_INSTRUMENTATION;
    const BootSettings settings = ParseBootFile(text, false);
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("%zu bytes of options\n", settings.default_options.size());
  } else if (mode != "none") {
    std::fprintf(stderr, "usage: host_work none | tokenize CHARS | boot-reader BYTES\n");
    return 2;
  }
  return 0;
}
