#pragma once
// A program path on a command line: enclosed in double quotes when it holds a
// blank, because unquoted the system tries every shorter prefix ending at a
// blank first (C:\Program.exe for C:\Program Files\...) and could run another
// program. A path without blanks stays as it is.
#include "platform/wide.h"

inline WString QuotedIfBlank(WStringView path) {
  if (path.find_first_of(u" \t") == WStringView::npos) return WString(path);
  return u"\"" + WString(path) + u"\"";
}
