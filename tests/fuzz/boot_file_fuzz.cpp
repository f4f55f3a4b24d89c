// The boot file reader on any bytes: no crash, and every value is a piece of
// one line of the file, never longer than that line, never holding its line
// feed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/boot_file.h"
#include "platform/emulated_platform.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckValue(const WString& value, size_t key_length) {
  Check(value.size() + key_length <= 4095);
  Check(value.find(u'\n') == WString::npos);
  for (WChar c : value) Check(c != 0 && c <= 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  const WString path = u"C:\\Ledgrix\\ledgrix.boot";
  os.fs().WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
  LaunchSettings settings;
  parseConfigFile(path, settings);
  CheckValue(settings.default_options, 16);
  CheckValue(settings.jrehome, 8);
  CheckValue(settings.install_dir, 12);
  CheckValue(settings.lib_classpath, 14);
  Check(settings.java_home.empty() && settings.class_path.empty() && !settings.use_jrehome);
  Check(os.open_handle_count() == 0);

  // extractValue on the raw text as one line: the value lies inside the buffer
  // and is a piece of it.
  WString line = u"jrehome=";
  for (size_t i = 0; i < size; ++i) line += data[i] ? static_cast<WChar>(data[i]) : u' ';
  WString original = line;
  WChar* value = extractValue(line.data());
  Check(value >= line.data() && value <= line.data() + line.size());
  WString text(value);
  Check(original.find(text) != WString::npos);
  return 0;
}
