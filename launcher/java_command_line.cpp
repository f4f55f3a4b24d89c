#include "launcher/java_command_line.h"

#include <algorithm>

#include "classlib/quoting.h"

namespace {

WString JavaProgram(const LaunchSettings& settings) {
  return QuotedIfBlank(settings.use_jrehome ? settings.java_home + u"\\bin\\javaw" : WString(kBareJavaProgram));
}

bool IsAbsoluteFolder(WStringView folder) {
  auto separator = [](WChar c) { return c == u'\\' || c == u'/'; };
  return (folder.size() >= 3 && folder[1] == u':' && separator(folder[2])) ||
         (folder.size() >= 2 && separator(folder[0]) && separator(folder[1]));
}

}  // namespace

WString ProgramSearchPath(WStringView own_folder, WStringView system_folder, WStringView windows_folder,
                          WStringView path_variable) {
  WString search = WString(own_folder) + u";" + WString(system_folder) + u";" + WString(windows_folder) + u"\\System;" +
                   WString(windows_folder);
  for (size_t start = 0, end; start < path_variable.size(); start = end + 1) {
    end = std::min(path_variable.find(u';', start), path_variable.size());
    WStringView folder = path_variable.substr(start, end - start);
    if (IsAbsoluteFolder(folder)) search += u";" + WString(folder);
  }
  return search;
}

WString BuildJavaCommandLine(const LaunchSettings& settings) {
  return JavaProgram(settings) + u" " + settings.default_options + u" -classpath " + settings.class_path + u" " +
         kMainClass;
}
