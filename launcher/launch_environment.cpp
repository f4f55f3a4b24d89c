#include "launcher/launch_environment.h"

#include <vector>

#include "classlib/quoting.h"
#include "launcher/fatal_error.h"
#include "platform/platform.h"

namespace {

constexpr const WChar* kContext = u"ledgrix launcher";

// A check refused without a system error of its own (an empty folder, or one
// holding ':', '*' or '?', a class path without entries) names something
// that cannot be valid: never "error 0", which reads as success.
[[noreturn]] void FailCheck(const WString& message, uint32_t code) {
  reportFatalError(message, kContext, code ? code : err::kInvalidName);
}

}  // namespace

int32_t splitString(const WString& source, const WString& delimiter, CStringArray& pieces) {
  const size_t length = delimiter.size();
  std::vector<size_t> positions;
  size_t found = source.find(delimiter);
  // With the delimiter at the very start there is no first position to cut
  // at, so nothing is recorded.
  if (found != WString::npos && found > 0) {
    do {
      positions.push_back(found);
      found = source.find(delimiter, found + length + 1);
    } while (found != WString::npos);
  }
  if (positions.empty()) return 0;

  auto append = [&](size_t from, size_t to) {
    if (from < to) pieces.Add(source.substr(from, to - from));
  };
  append(0, positions.front());
  for (size_t k = 1; k < positions.size(); ++k) append(positions[k - 1] + length, positions[k]);
  append(positions.back() + length, source.size());
  return static_cast<int32_t>(positions.size());
}

void checkLaunchEnvironment(LaunchSettings& settings, CDiskObject& disk) {
  if (!disk.DirectoryExists(settings.install_dir))
    FailCheck(u"Could not find installation directory at:\n" + settings.install_dir, disk.error_code);

  settings.java_home = settings.jrehome;
  settings.use_jrehome = !settings.java_home.empty();
  if (settings.use_jrehome && !disk.DirectoryExists(settings.java_home))
    FailCheck(u"Could not find JRE at:\n\n" + settings.jrehome, disk.error_code);

  CStringArray pieces;
  if (splitString(settings.lib_classpath, u";", pieces) <= 0)
    FailCheck(u"Application classpath is missing\n", 0);

  for (int i = 0; i < pieces.GetSize(); ++i) {
    if (i > 0) settings.class_path += u';';
    settings.class_path += Quoted(settings.install_dir + u'\\' + pieces[i]);
  }
}
