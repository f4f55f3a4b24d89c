#pragma once
// An ordered, growable array of wide strings.
#include <vector>

#include "platform/wide.h"

class CStringArray {
 public:
  int GetSize() const { return static_cast<int>(items_.size()); }
  const WString& GetAt(int index) const { return items_.at(static_cast<size_t>(index)); }
  const WString& operator[](int index) const { return GetAt(index); }
  int Add(WString item) {
    items_.push_back(std::move(item));
    return GetSize() - 1;
  }

 private:
  std::vector<WString> items_;
};
