// The Java command line for any Java home, options and class-path entries:
// split back by the rules the C runtime and the Java runtime follow, it gives
// exactly the program, each option, the entries joined by ';' and the main
// class. The expectation is built from the inputs, not from the builder.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "launcher/launch_values.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsBlank(WChar c) { return c == u' ' || c == u'\t'; }

// The program name runs to the closing quote, or unquoted to the first blank;
// in the arguments after it 2n backslashes before a quote stand for n and the
// quote delimits, 2n+1 for n and a literal quote, others stand as they are.
std::vector<WString> SplitArguments(const WString& line) {
  std::vector<WString> arguments(1);
  size_t i = 0;
  if (!line.empty() && line[0] == u'"') {
    size_t close = line.find(u'"', 1);
    arguments[0] = line.substr(1, close - 1);
    i = close == WString::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && !IsBlank(line[i])) arguments[0] += line[i++];
  }
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return arguments;
    WString argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        argument.append(backslashes / 2, u'\\');
        if (backslashes % 2) {
          argument += u'"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          argument += u'"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, u'\\');
        if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(argument);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Fields separated by 0x00 bytes: jrehome, default_options, then the
  // class-path entries. Quotes, ';' in entries and control characters other
  // than tab have no place in these values and end the case.
  std::vector<WString> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      fields.emplace_back();
      continue;
    }
    if (data[i] == '"' || (data[i] < 0x20 && data[i] != '\t')) return 0;
    fields.back() += static_cast<WChar>(data[i]);  // a boot file's characters are Latin-1
  }
  if (fields.size() < 3) return 0;
  const WString install_dir = u"C:\\Program Files\\Ledgrix";
  LaunchSettings settings;
  settings.install_dir = install_dir;
  settings.jrehome = fields[0];
  settings.default_options = fields[1];
  WString expected_class_path;
  for (size_t k = 2; k < fields.size(); ++k) {
    if (fields[k].empty() || fields[k].find(u';') != WString::npos) return 0;
    settings.lib_classpath += fields[k] + u";";
    expected_class_path += (k > 2 ? u";" : u"") + install_dir + u"\\" + fields[k];
  }

  settings.java_home = settings.jrehome;
  settings.use_jrehome = !settings.java_home.empty();
  std::vector<WString> pieces;
  if (splitString(settings.lib_classpath, u";", &pieces) <= 0) return 0;
  settings.class_path = ClassPathOf(install_dir, pieces);

  std::vector<WString> expected = {settings.jrehome.empty() ? WString(u"javaw") : settings.jrehome + u"\\bin\\javaw"};
  const WString& options = settings.default_options;
  for (size_t i = 0; i < options.size();) {
    size_t end = i;
    while (end < options.size() && !IsBlank(options[end])) ++end;
    if (end > i) expected.push_back(options.substr(i, end - i));
    i = end + 1;
  }
  expected.insert(expected.end(), {u"-classpath", expected_class_path, u"com.zor.ledgrix.Tabex"});
  Check(SplitArguments(BuildJavaCommandLine(settings)) == expected);
  return 0;
}
