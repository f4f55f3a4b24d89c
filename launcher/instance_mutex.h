#pragma once
// The single-instance guard: a named mutex created at start-up. It is never
// owned or waited on; only whether it existed already counts.
#include <cstdint>

#include "platform/platform.h"

inline constexpr const WChar* kInstanceMutexName = u"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}";

class InstanceMutex {
 public:
  InstanceMutex();
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // True when another launcher holds the mutex.
  bool AnotherInstanceRuns() const { return mutex_error == err::kAlreadyExists; }

  uint32_t mutex_error = 0;
  Handle mutex_handle = kNullHandle;
};
