#pragma once
// The plain values the launcher and the system layer exchange: the system's
// error codes it reads or gives itself, box styles, a registry write and the
// local time.
#include <cstdint>

#include "text/wide_string.h"

inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorNotSameDevice = 17;
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameTooLong = 206;

inline constexpr uint32_t kBoxOk = 0x0;
inline constexpr uint32_t kBoxStopSign = 0x10;

// One write below HKEY_CLASSES_ROOT: the key's default value set to data, a
// REG_SZ stored with its terminator; or, with remove_command, the key's value
// named "command" removed.
struct RegistryWrite {
  WString key;
  WString data;
  bool remove_command = false;
};

struct LocalTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t millisecond = 0;
};
