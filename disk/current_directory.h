#pragma once
// The process's current directory, read whole, and whether a disk operation
// may move away from it.
#include <cstdint>

#include "platform/wide.h"

// First into the classic buffer of kMaxPath characters, then, when the system
// asks for more, into one of the size it asks for. False with the system's
// code when there is none to read.
bool ReadCurrentDirectory(WString* directory, uint32_t* error);

// Whether the process, now in `saved`, could be brought back there after
// moving away. Certain for a directory that fits MAX_PATH with a trailing
// separator; a longer one is entered again, which leaves the process where it
// is, because a system without long-path support refuses it. False with the
// code of the refusal.
bool CanReturnTo(const WString& saved, uint32_t* error);

// Makes saved the current directory again after an operation moved away. A
// refusal is tried again a few times: the process must not be left elsewhere
// by a passing failure. The last error is left as the operation set it.
void ReturnTo(const WString& saved);
