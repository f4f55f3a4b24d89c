// Work whose instruction count script/bench measures under callgrind, on the
// emulated platform. Only the work itself is instrumented, not its set-up.
//   host_work none | second-start N | tokenize CHARS | boot-reader BYTES
#include <cstdio>
#include <cstdlib>
#include <string>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

#include "classlib/cstringarray.h"
#include "handoff/tokenizer.h"
#include "launcher/boot_file.h"
#include "platform/emulated_platform.h"
#include "support/emulated_start.h"

namespace {

void SecondStart(int documents) {
  EmulatedPlatform os;
  os.set_module_file_name(u"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe");
  os.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\ledgrix.boot",
                    "install_dir=C:\\Program Files\\Ledgrix\nlib-classpath=lib\\app.jar;\n");
  os.fs().MakeDirectories(u"C:\\users\\user\\AppData\\Roaming");
  WString command_line = u"\"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe\"";
  for (int i = 0; i < documents; ++i) {
    WString path = u"C:\\Statements\\statement-" + DecimalText(i) + u".qif";
    os.fs().WriteFile(path, "!Type:Bank\nD01/02/2026\nT-12.50\n^\n");
    command_line += u" -I \"" + path + u"\"";
  }
  EmulatedPlatform running(os.shared_machine());
  ScopedPlatform installed(running);
  Handle guard = running.CreateMutex(u"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  CALLGRIND_START_INSTRUMENTATION;
  RunEmulatedStart(os, command_line);
  CALLGRIND_STOP_INSTRUMENTATION;
  running.CloseHandle(guard);
}

void Tokenize(size_t characters) {
  WString tail;
  for (int i = 0; tail.size() < characters; ++i) tail += u"-I \"C:\\Statements\\statement " + DecimalText(i) + u".qif\" ";
  tail.resize(characters);
  CStringArray list;
  CALLGRIND_START_INSTRUMENTATION;
  TokenizeCommandLine(tail.c_str(), list);
  CALLGRIND_STOP_INSTRUMENTATION;
  std::printf("%d documents\n", list.GetSize());
}

void ReadBootFile(size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += "# line " + std::to_string(i) + " of a long boot file\n";
    text += "default_options=-Xms32m -Dfile.encoding=UTF-8 -Dledgrix.line=" + std::to_string(i) + "\n";
    text += "install_dir=\"C:\\Program Files\\Ledgrix\"   \r\n";
  }
  text.resize(bytes);
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.fs().WriteFile(u"C:\\Ledgrix\\ledgrix.boot", text);
  LaunchSettings settings;
  CALLGRIND_START_INSTRUMENTATION;
  parseConfigFile(u"C:\\Ledgrix\\ledgrix.boot", settings);
  CALLGRIND_STOP_INSTRUMENTATION;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "none";
  long amount = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;
  if (mode == "second-start") {
    SecondStart(static_cast<int>(amount));
  } else if (mode == "tokenize") {
    Tokenize(static_cast<size_t>(amount));
  } else if (mode == "boot-reader") {
    ReadBootFile(static_cast<size_t>(amount));
  } else if (mode != "none") {
    std::fprintf(stderr, "usage: host_work none | second-start N | tokenize CHARS | boot-reader BYTES\n");
    return 2;
  }
  return 0;
}
