#include "text/wide_string.h"

WString DecimalText(int64_t value) {
  WString digits;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits.insert(digits.begin(), static_cast<WChar>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude > 0);
  return value < 0 ? u"-" + digits : digits;
}
