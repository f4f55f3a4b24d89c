#include <cstdio>

#include "log/log.h"

namespace {

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | c >> 6));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | c >> 12));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | c >> 18));
    out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsHighSurrogate(WChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

WString ErrorText(uint32_t code) { return u"error " + DecimalText(code); }

std::string LogLine(const LocalTime& time, uint32_t process_id, WStringView text) {
  char prefix[64];
  std::snprintf(prefix,
                sizeof prefix,
                "%04u-%02u-%02u %02u:%02u:%02u.%03u [%u] ",
                time.year,
                time.month,
                time.day,
                time.hour,
                time.minute,
                time.second,
                time.millisecond,
                process_id);
  std::string line = prefix;
  for (size_t i = 0; i < text.size(); ++i) {
    const WChar c = text[i];
    if (c == u'\r') {
      line += "<CR>";
    } else if (c == u'\n') {
      line += "<LF>";
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00), &line);
    } else {
      // A surrogate without its other half is no character: the replacement.
      AppendUtf8(IsHighSurrogate(c) || IsLowSurrogate(c) ? 0xFFFD : c, &line);
    }
  }
  return line + "\r\n";
}
