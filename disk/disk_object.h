#pragma once
// The launcher's file-system worker. Each public operation answers true or
// false and keeps the text of its last failure; each leaves the process's
// current directory as it found it. Not for concurrent use: the operations
// move the process-wide current directory while they run.
#include <cstdint>

#include "classlib/cstringarray.h"
#include "platform/wide.h"

class CDiskObject {
 public:
  bool DirectoryExists(const WString& directory);
  bool CreateDirectory(const WString& directory);
  // Each document is copied under a name of this process's own into staging
  // (on the destination's volume), then renamed into the destination, so that
  // a reader of the destination only ever sees it whole.
  bool CopyFiles(const CStringArray& files, const WString& destination, const WString& staging);

  // The path rules and error texts the operations share. Only the public
  // operations above clear the error text.
  void ClearError();
  void SetInternalError();
  void SetSystemError(uint32_t code, const WString& detail);
  static bool IsValidPathPart(const WString& part);
  // Both make the path absolute in place, '\' separated. False with the
  // internal error when a part holds ':', '*' or '?' or is too long to split;
  // false with a system error when the current directory the path depends on
  // cannot be read, or a parent step cannot be taken and undone.
  bool QualifyFile(WString& path);
  bool QualifyDirectory(WString& directory);  // and ends it with '\'
  WString GetFileName(const WString& path);

  // The text of the most recent failure, or empty, and the system's code for
  // it (0 when the failure had none, as for the internal error).
  WString error_message;
  uint32_t error_code = 0;

 private:
  // Reads the current directory before an operation on `path` moves it;
  // false, with the error text set, when it could not be read or could not be
  // restored afterwards: the operation must then not move it.
  bool SaveCurrentDirectory(const WString& path, WString* saved);
};
