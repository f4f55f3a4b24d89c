#include "log/log.h"

#include "platform/platform.h"

namespace {

uintptr_t g_log = 0;

}  // namespace

void OpenLog() {
  const WString path = os::EnvironmentVariable(WString(kLogVariable));
  if (!path.empty()) g_log = os::OpenLog(path);
}

bool Logging() { return g_log != 0; }

void Log(WStringView text) {
  if (g_log) os::AppendLog(g_log, LogLine(os::Now(), os::ProcessId(), text));
}
