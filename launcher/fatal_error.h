#pragma once
// The single path for failures that make a launch impossible: one box titled
// "Error" with the step that failed, the system error code and its text, then
// the end of the process with that code (1 when it is 0).
#include "platform/wide.h"

// The box text for a message, an optional context, a code and its system text.
WString ComposeFatalText(const WString& message, const WChar* context, uint32_t code, const WString& system_text);

// The code is the system's error for the step that failed, taken right after
// the call that failed.
[[noreturn]] void reportFatalError(const WString& message, const WChar* context, uint32_t code);
