#pragma once
// The launcher's own account of a start, for packagers and support: when the
// environment variable LEDGRIX_LOG names a file, each start appends to it one
// line per event. A log that cannot be opened or written changes nothing.
#include <string>

#include "base/system_values.h"

inline constexpr WStringView kLogVariable = u"LEDGRIX_LOG";

// One line, UTF-8: the local time to the millisecond and the process id, so
// that the lines of launchers running at once can be told apart, then the
// text, each carriage return and line feed in it written <CR> and <LF> (no
// path holds '<'), and CR LF.
std::string LogLine(const LocalTime& time, uint32_t process_id, WStringView text);

// "error <code>", as a line tells a failed call.
WString ErrorText(uint32_t code);

// Opens the log LEDGRIX_LOG names, if any.
void OpenLog();
// Whether a log is open: an account that costs a system call is made only then.
bool Logging();
void Log(WStringView text);
