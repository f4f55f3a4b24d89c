#pragma once
// The command-line tail: what follows the program name and the blanks and
// control characters after it. The program name runs to the first character
// at or below the space that is not inside double quotes.
#include "platform/wide.h"

const WChar* CommandLineTail(const WChar* command_line);
