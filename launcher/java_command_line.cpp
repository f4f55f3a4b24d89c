#include "launcher/java_command_line.h"

#include "classlib/quoting.h"

namespace {

WString JavaProgram(const LaunchSettings& settings) {
  return QuotedIfBlank(settings.use_jrehome ? settings.java_home + u"\\bin\\javaw" : WString(u"javaw"));
}

}  // namespace

WString BuildJavaCommandLine(const LaunchSettings& settings) {
  return JavaProgram(settings) + u" " + settings.default_options + u" -classpath " + settings.class_path + u" " +
         kMainClass;
}
