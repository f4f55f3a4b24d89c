#pragma once
// What emulated processes of one machine share: named objects, the file
// system and the registry.
#include <map>
#include <memory>

#include "platform/emulated_file_system.h"
#include "platform/emulated_registry.h"
#include "platform/wide.h"

class EmulatedMachine {
 public:
  EmulatedFileSystem& fs() { return fs_; }
  EmulatedRegistry& registry() { return registry_; }

  // Named mutexes, by name compared exactly (the kernel's object namespace
  // ignores case, but the launcher uses one fixed spelling), with open counts.
  // Opening one that exists answers true in *existed.
  bool OpenMutex(const WString& name, bool* existed);
  void ReleaseMutex(const WString& name);
  bool MutexExists(const WString& name) const;
  // A mutex this process may not open (another user's, say).
  void DenyMutex(const WString& name) { denied_mutexes_[name] = true; }

 private:
  EmulatedFileSystem fs_;
  EmulatedRegistry registry_;
  std::map<WString, int> mutexes_;
  std::map<WString, bool> denied_mutexes_;
};
