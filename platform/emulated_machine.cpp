#include "platform/emulated_machine.h"

bool EmulatedMachine::OpenMutex(const WString& name, bool* existed) {
  if (denied_mutexes_.count(name)) return false;
  int& count = mutexes_[name];
  *existed = count > 0;
  ++count;
  return true;
}

void EmulatedMachine::ReleaseMutex(const WString& name) {
  auto it = mutexes_.find(name);
  if (it != mutexes_.end() && --it->second <= 0) mutexes_.erase(it);
}

bool EmulatedMachine::MutexExists(const WString& name) const { return mutexes_.count(name) > 0; }
