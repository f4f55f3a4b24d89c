#pragma once
// The launcher's file-system worker. Each public operation answers true or
// false and keeps the text of its last failure, and the system's code for it.
// None moves the process's current directory.
#include <cstdint>
#include <vector>

#include "platform/platform.h"

class CDiskObject {
 public:
  // Whether the directory exists and may be entered; a file, or a folder the
  // process may not enter, counts as missing.
  bool DirectoryExists(const WString& directory);
  // Creates every missing level from the top, then tells whether the whole
  // directory may be entered. Nothing is ever removed.
  bool CreateDirectory(const WString& directory);
  // Copies each non-empty file into destination under its own name,
  // replacing a file of that name, and stops at the first that fails. Each is
  // copied under a name of this process's own into staging (on the
  // destination's volume) and renamed into destination, so that a reader of
  // destination only ever sees it whole; a failed one leaves nothing staged.
  bool CopyFiles(const std::vector<WString>& files, const WString& destination, const WString& staging);

  // The text of the most recent failure, or empty, and the system's code for
  // it: 0 when it had none (the internal error).
  WString error_message;
  uint32_t error_code = 0;

 private:
  void ClearError();
  void SetInternalError();
  void SetSystemError(uint32_t code, const WString& detail);
  // Qualifies a directory against the current directory when it needs one;
  // false with the error set.
  bool QualifyDirectory(WString& directory);
  // The current directory, read once per operation and only when needed.
  bool ReadCurrentDirectory(const WString& path, WString* current);
};
