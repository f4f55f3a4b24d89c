#include "launcher/command_line.h"

const WChar* CommandLineTail(const WChar* command_line) {
  static const WChar kEmpty[] = u"";
  if (!command_line) return kEmpty;
  const WChar* p = command_line;
  bool quoted = false;
  while (*p && (quoted || *p > u' ')) {
    if (*p == u'"') quoted = !quoted;
    ++p;
  }
  while (*p && *p <= u' ') ++p;
  return p;
}
