#include "launcher/instance_mutex.h"

InstanceMutex::InstanceMutex() {
  mutex_handle = platform().CreateMutex(kInstanceMutexName);
  mutex_error = platform().GetLastError();
}

InstanceMutex::~InstanceMutex() {
  if (mutex_handle != kNullHandle) {
    platform().CloseHandle(mutex_handle);
    mutex_handle = kNullHandle;
  }
}
