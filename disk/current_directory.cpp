#include "disk/current_directory.h"

#include "platform/platform.h"

bool ReadCurrentDirectory(WString* directory, uint32_t* error) {
  WString buffer(kMaxPath, u'\0');
  // Another thread could lengthen it between two reads; a few tries settle it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint32_t length = platform().GetCurrentDirectory(static_cast<uint32_t>(buffer.size()), buffer.data());
    if (length == 0) {
      *error = platform().GetLastError();
      return false;
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      *directory = std::move(buffer);
      return true;
    }
    buffer.assign(length, u'\0');
  }
  *error = err::kInsufficientBuffer;
  return false;
}

bool CanReturnTo(const WString& saved, uint32_t* error) {
  if (saved.size() + 1 < kMaxPath) return true;
  if (platform().SetCurrentDirectory(saved.c_str())) return true;
  *error = platform().GetLastError();
  return false;
}

void ReturnTo(const WString& saved) {
  constexpr int kTries = 3;
  uint32_t error = platform().GetLastError();
  for (int attempt = 0; attempt < kTries; ++attempt)
    if (platform().SetCurrentDirectory(saved.c_str())) break;
  platform().SetLastError(error);
}
