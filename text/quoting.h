#pragma once
// Arguments of a command line, quoted so that the program receives them whole.
#include "text/wide_string.h"

// Enclosed in double quotes. Backslashes just before the closing quote are
// doubled: left single, the last would make the quote a literal one, and the
// argument would run on into the next.
WString Quoted(WStringView text);

// A program path, quoted when it holds a blank: unquoted, the system tries
// every shorter prefix ending at a blank first (C:\Program.exe for
// C:\Program Files\...) and could run another program.
WString QuotedIfBlank(WStringView path);
