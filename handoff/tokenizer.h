#pragma once
// Splits the launcher's command-line tail into tokens and collects the
// document named after each "-I". The tail is the UTF-16 one, so a document's
// name reaches the list whole, whatever the ANSI code page could hold.
#include <optional>
#include <vector>

#include "platform/platform.h"

// The documents named on the command line, in order.
using CStringArray = std::vector<WString>;

// One token; empty (nullopt) when its copy could not be allocated.
using Token = std::optional<WString>;

// Tokenizes the tail and appends every document path to list.
void TokenizeCommandLine(WStringView tail, CStringArray& list);

// Appends the token after each exact "-I" to list. A missing token where an
// option is expected ends the walk; where a path is expected it is skipped.
void CollectImports(int count, const Token* tokens, CStringArray& list);
