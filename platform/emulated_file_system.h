#pragma once
// An in-memory file system that resolves paths as Windows does: drive letters
// and \\server\share roots, '/' or '\' separators, "." and ".." steps, names
// compared without regard to letter case but keeping their first spelling,
// files and directories as different things, folders that may not be entered
// or written. Operations answer Windows error codes (0 on success).
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/wide.h"

class EmulatedFileSystem {
 public:
  EmulatedFileSystem();
  ~EmulatedFileSystem();

  // --- set-up and inspection (absolute paths) ---
  void AddDrive(WChar letter);
  void AddShare(const WString& server, const WString& share);
  bool MakeDirectories(WStringView path);
  bool WriteFile(WStringView path, std::string bytes);  // creates missing parents
  std::optional<std::string> ReadFileBytes(WStringView path) const;
  bool IsDirectory(WStringView path) const;
  bool IsFile(WStringView path) const;
  // Names inside a directory, as first spelled, sorted case-insensitively.
  std::vector<WString> List(WStringView path) const;
  // The stored spelling of an existing path, e.g. C:\Data for c:\DATA.
  std::optional<WString> Spelling(WStringView path) const;
  void DenyEnter(WStringView path, bool deny = true);
  void DenyWrite(WStringView path, bool deny = true);

  // Full path by the rules of GetFullPathName, relative to current (a full
  // path). Empty on a path that cannot be resolved; *error then says why.
  WString FullPath(WStringView path, const WString& current, uint32_t* error) const;

  // --- operations with Windows error codes ---
  // Resolves a directory that can be entered; *full receives its full path.
  uint32_t EnterDirectory(WStringView path, const WString& current, WString* full) const;
  uint32_t CreateDirectory(WStringView path, const WString& current);
  uint32_t CopyFile(WStringView source, WStringView target, const WString& current, bool fail_if_exists);
  uint32_t DeleteFile(WStringView path, const WString& current);
  uint32_t ReadWholeFile(WStringView path, const WString& current, std::string* bytes) const;

 private:
  struct Node;
  struct Resolved;
  Resolved Resolve(WStringView path, const WString& current) const;
  Node* Root(const Resolved& resolved) const;
  // Walks to the parent of the last component; error 3 when a level is missing.
  Node* Parent(const Resolved& resolved, uint32_t* error) const;
  Node* Lookup(const Resolved& resolved, uint32_t* error) const;

  std::map<WString, std::unique_ptr<Node>> roots_;  // "C:" or "\\SERVER\SHARE", folded
};

// Case folding used for names: ASCII, Latin-1 and basic Cyrillic letters.
WChar FoldCase(WChar c);
WString FoldCase(WStringView text);
