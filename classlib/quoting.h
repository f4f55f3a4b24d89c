#pragma once
// Texts on a command line, quoted by the rules the C runtime and the Java
// runtime split arguments by.
#include "platform/wide.h"

// Enclosed in double quotes. Backslashes just before the closing quote are
// doubled: left single, the last one would make the quote a literal one, and
// the argument would run on into the next.
inline WString Quoted(WStringView text) {
  const size_t trailing = text.size() - (text.find_last_not_of(u'\\') + 1);
  return u"\"" + WString(text) + WString(trailing, u'\\') + u"\"";
}

// A program path: quoted when it holds a blank, because unquoted the system
// tries every shorter prefix ending at a blank first (C:\Program.exe for
// C:\Program Files\...) and could run another program.
inline WString QuotedIfBlank(WStringView path) {
  if (path.find_first_of(u" \t") == WStringView::npos) return WString(path);
  return Quoted(path);
}
