#include "launcher/boot_file.h"

#include <algorithm>

namespace {

constexpr size_t kLinePiece = 4095;

bool IsBlank(WChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

struct Key {
  WStringView text;
  WString LaunchSettings::*field;
};

constexpr Key kKeys[] = {
    {u"default_options=", &LaunchSettings::default_options},
    {u"jrehome=", &LaunchSettings::jrehome},
    {u"install_dir=", &LaunchSettings::install_dir},
    {u"lib-classpath=", &LaunchSettings::lib_classpath},
};

void ParseLine(WString& line, LaunchSettings* settings) {
  const size_t start = std::min(line.find_first_not_of(u" \t\n\r"), line.size());
  const WStringView rest = WStringView(line).substr(start);
  if (rest.starts_with(u'#')) return;
  for (const Key& key : kKeys) {
    if (rest.starts_with(key.text)) {
      settings->*key.field = extractValue(line.data() + start);
      return;
    }
  }
}

}  // namespace

WChar* extractValue(WChar* text) {
  WChar* value = text;
  while (*value && *value != u'=') ++value;
  if (*value == u'=') ++value;
  WChar* end = value;
  while (*end) ++end;
  while (end > value && IsBlank(end[-1])) --end;
  // A lone quote opens and closes at once: the value is empty.
  if (end > value && *value == u'"' && end[-1] == u'"') {
    ++value;
    end = std::max(value, end - 1);
  }
  *end = 0;
  return value;
}

void ParseBootFile(std::string_view bytes, LaunchSettings* settings) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  size_t at = 0;
  while (at < bytes.size()) {
    // A NUL ends its line's text: no key holds one, and a value is taken up
    // to it (extractValue's result is a terminated text).
    WString line;
    for (size_t count = 0; count < kLinePiece && at < bytes.size(); ++count) {
      unsigned char c = static_cast<unsigned char>(bytes[at++]);
      if (c == '\r' && at < bytes.size() && bytes[at] == '\n') c = bytes[at++];
      line.push_back(c);
      if (c == '\n') break;
    }
    ParseLine(line, settings);
  }
}
