#include "launcher/java_command_line.h"

namespace {

WString JavaProgram(const LaunchSettings& settings) {
  WString program = settings.use_jrehome ? settings.java_home + u"\\bin\\javaw" : WString(u"javaw");
  if (program.find_first_of(u" \t") != WString::npos) return u'"' + program + u'"';
  return program;
}

}  // namespace

WString BuildJavaCommandLine(const LaunchSettings& settings) {
  return JavaProgram(settings) + u" " + settings.default_options + u" -classpath " + settings.class_path + u" " +
         kMainClass;
}
