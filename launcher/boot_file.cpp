#include "launcher/boot_file.h"

#include "launcher/boot_file_reader.h"
#include "launcher/fatal_error.h"
#include "platform/platform.h"
#include "platform/scoped_handle.h"

bool IsBootBlank(WChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

WChar* extractValue(WChar* text) {
  WChar* value = text;
  while (*value && *value != u'=') ++value;
  if (*value == u'=') ++value;
  WChar* last = value + WideLength(value);  // one past the last character
  while (last > value && IsBootBlank(last[-1])) --last;
  if (last > value && *value == u'"' && last[-1] == u'"') {
    if (last - value == 1) {
      // A lone double quote opens and closes at once: the value is empty.
      *value = 0;
      return value;
    }
    ++value;
    --last;
  }
  *last = 0;
  return value;
}

namespace {

struct Key {
  const WChar* text;
  WString LaunchSettings::*field;
};

const Key kKeys[] = {
    {u"default_options=", &LaunchSettings::default_options},
    {u"jrehome=", &LaunchSettings::jrehome},
    {u"install_dir=", &LaunchSettings::install_dir},
    {u"lib-classpath=", &LaunchSettings::lib_classpath},
};

void ParseLine(WString& line, LaunchSettings& settings) {
  size_t start = 0;
  while (start < line.size() && IsBootBlank(line[start])) ++start;
  WStringView rest(line.data() + start, line.size() - start);
  if (rest.empty() || rest[0] == u'#') return;
  for (const Key& key : kKeys) {
    if (rest.substr(0, WideLength(key.text)) == key.text) {
      settings.*key.field = extractValue(line.data() + start);
      return;
    }
  }
}

}  // namespace

void parseConfigFile(const WString& boot_path, LaunchSettings& settings) {
  ScopedKernelHandle file(platform().OpenFileForReading(boot_path.c_str()));
  if (!file) {
    uint32_t code = platform().GetLastError();
    reportFatalError(u"Unable to open file: " + boot_path, u"parseConfigFile", code);
  }
  BootFileReader reader([&file](uint8_t* buffer, uint32_t size) -> uint32_t {
    uint32_t read = 0;
    if (!platform().ReadFile(file.get(), buffer, size, &read)) return 0;
    return read;
  });
  WString line;
  while (reader.ReadLine(&line)) ParseLine(line, settings);
}
