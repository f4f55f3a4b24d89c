// The Java command line for any boot-file values: the program the system will
// run is exactly the intended one (never a shorter prefix of its path), every
// class-path entry keeps its quotes, and the main class ends the line.
#include <cstdint>
#include <cstdlib>

#include "launcher/java_command_line.h"
#include "launcher/launch_environment.h"
#include "platform/emulated_platform.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The first argument as the system takes the program from a command line
// without an application name.
WString ProgramOf(const WString& command_line) {
  if (!command_line.empty() && command_line[0] == u'"') {
    size_t close = command_line.find(u'"', 1);
    return command_line.substr(1, close == WString::npos ? WString::npos : close - 1);
  }
  size_t end = command_line.find_first_of(u" \t");
  return command_line.substr(0, end);
}

bool EndsWith(const WString& text, const WString& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Three fields separated by 0x00 bytes: jrehome, default_options, lib-classpath.
  WString fields[3];
  int field = 0;
  for (size_t i = 0; i < size && field < 3; ++i) {
    if (data[i] == 0) {
      ++field;
      continue;
    }
    fields[field] += static_cast<WChar>(data[i]);  // a boot file's characters are Latin-1
  }

  EmulatedPlatform os;
  ScopedPlatform installed(os);
  const WString install_dir = u"C:\\Program Files\\Ledgrix";
  os.fs().MakeDirectories(install_dir);
  LaunchSettings settings;
  settings.install_dir = install_dir;
  settings.jrehome = fields[0];
  settings.default_options = fields[1];
  settings.lib_classpath = fields[2];
  if (!settings.jrehome.empty()) os.fs().MakeDirectories(settings.jrehome);

  CDiskObject disk;
  try {
    checkLaunchEnvironment(settings, disk);
  } catch (const EmulatedExit&) {
    return 0;  // a refused check ends the start before any command line
  }
  Check(settings.use_jrehome == !settings.jrehome.empty());
  Check(settings.java_home == settings.jrehome);

  CStringArray pieces;
  splitString(settings.lib_classpath, u";", pieces);
  WString expected_class_path;
  for (int i = 0; i < pieces.GetSize(); ++i) {
    if (i) expected_class_path += u";";
    expected_class_path += u"\"" + install_dir + u"\\" + pieces[i] + u"\"";
  }
  Check(settings.class_path == expected_class_path);

  WString line = BuildJavaCommandLine(settings);
  Check(EndsWith(line, u" -classpath " + settings.class_path + u" com.zor.ledgrix.Tabex"));
  WString program = settings.use_jrehome ? settings.java_home + u"\\bin\\javaw" : WString(u"javaw");
  if (program.find(u'"') == WString::npos) Check(ProgramOf(line) == program);
  Check(line.find(settings.default_options) != WString::npos);
  return 0;
}
