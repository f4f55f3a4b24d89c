#pragma once
// The launcher's command line: the tail after the program name, its tokens,
// and the documents named after each "-I". The command line is the UTF-16
// one, so a document's name reaches the list whole, whatever the ANSI code
// page could hold.
#include <vector>

#include "text/wide_string.h"

// The documents named on the command line, in order.
using ImportList = std::vector<WString>;

// What follows the program name and the blanks and control characters after
// it. The program name runs to the first character at or below the space
// that is not inside double quotes.
WStringView CommandLineTail(WStringView command_line);

// Splits the tail at blanks (space, tab, line feed, carriage return) into
// tokens, a token that begins with a double quote or an apostrophe running to
// the same quote (doubled, it stands for itself; unclosed, to the end), and
// takes the token after each exact "-I" as a document.
ImportList TokenizeCommandLine(WStringView tail);
