#pragma once
// The launcher's file-system worker. None of its operations moves the
// process's current directory.
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
  // Silent: nothing reads how it went.
  void CopyFiles(const std::vector<WString>& files,
                 const WString& destination,
                 const WString& staging);

  // The system's code for the last failure of DirectoryExists, for a fatal
  // box: 0 when there was none to give (an empty path, or one holding ':',
  // '*' or '?').
  uint32_t error_code = 0;

 private:
  // The directory absolute and '\'-ended, against the current directory;
  // false with error_code set.
  bool Qualify(const WString& directory, WString* qualified);
};
