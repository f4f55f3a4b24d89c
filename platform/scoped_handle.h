#pragma once
// Handles and registry keys close on every path out of the scope that owns them.
#include <utility>

#include "platform/platform.h"

template <typename Traits>
class ScopedHandle {
 public:
  using Value = typename Traits::Value;
  ScopedHandle() = default;
  explicit ScopedHandle(Value value) : value_(value) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      value_ = std::exchange(other.value_, Traits::Invalid());
    }
    return *this;
  }
  Value get() const { return value_; }
  Value* receive() {
    Close();
    return &value_;
  }
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  void Close() {
    if (value_ != Traits::Invalid()) Traits::Close(std::exchange(value_, Traits::Invalid()));
  }

 private:
  Value value_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Value = Handle;
  static Value Invalid() { return kNullHandle; }
  static void Close(Value value) { platform().CloseHandle(value); }
};

struct RegistryKeyTraits {
  using Value = RegKey;
  static Value Invalid() { return kNullKey; }
  static void Close(Value value) { platform().RegCloseKey(value); }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedRegistryKey = ScopedHandle<RegistryKeyTraits>;
