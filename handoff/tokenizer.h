#pragma once
// Splits the launcher's command-line tail into tokens and collects the
// document named after each "-I". The tail is the UTF-16 one, so a document's
// name reaches the list whole, whatever the ANSI code page could hold.
#include <optional>

#include "classlib/cstringarray.h"
#include "platform/wide.h"

// One token; empty (nullopt) when its copy could not be allocated.
using Token = std::optional<WString>;

// Tokenizes a null-terminated tail (null counts as empty) and appends every
// document path to list.
void TokenizeCommandLine(const WChar* tail, CStringArray& list);

// Appends the token after each exact "-I" to list. A missing token where an
// option is expected ends the walk; where a path is expected it is skipped.
void CollectImports(int count, const Token* tokens, CStringArray& list);
