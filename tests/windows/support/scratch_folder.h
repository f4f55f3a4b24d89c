#pragma once
// A fresh folder below the temporary folder, removed with its content at the
// end, and a side channel to lay out and look at files there without the
// layer under test. Free of <windows.h>, whose macros would rename members
// such as CDiskObject::CreateDirectory.
#include <optional>
#include <string>

#include "platform/wide.h"

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Full path without a trailing backslash.
  const WString& path() const { return path_; }
  void PutFile(const WString& path, const std::string& bytes);
  void PutDirectory(const WString& path);  // every missing level
  std::optional<std::string> FileBytes(const WString& path) const;
  bool IsDirectory(const WString& path) const;

 private:
  WString path_;
};
