// The Java command line for any Java home, options and class-path entries:
// split back by the argument rules the C runtime and Java follow, it gives
// exactly the program, each option, the entries joined by ';' and the main
// class. The expectation is built from the inputs, not from the builder.
#include <cstdint>
#include <cstdlib>

#include "launcher/launch_values.h"

namespace {

// 2n backslashes before a quote stand for n and the quote opens or closes,
// 2n+1 for n and a literal quote; other backslashes stand as they are. (The
// program name's own rule gives the same here: it ends in "javaw".)
std::vector<WString> SplitArguments(const WString& line) {
  std::vector<WString> arguments;
  WString argument;
  bool quoted = false, started = false;
  size_t backslashes = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    const WChar c = i < line.size() ? line[i] : u' ';
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    started |= backslashes > 0;
    argument.append(c == u'"' ? backslashes / 2 : backslashes, u'\\');
    if (c == u'"' && backslashes % 2 == 0)
      quoted = !quoted, started = true;
    else if (quoted || (c != u' ' && c != u'\t'))
      argument += c, started = true;
    else if (started)
      arguments.push_back(argument), argument.clear(), started = false;
    backslashes = 0;
  }
  return arguments;
}

}  // namespace

// Fields separated by 0x00 bytes: jrehome, default_options, then the entries.
// Quotes, ';' in an entry, empty entries and control characters other than tab
// have no place in these values.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<WString> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '"' || (data[i] < 0x20 && data[i] > 0 && data[i] != '\t')) return 0;
    if (data[i])
      fields.back() += static_cast<WChar>(data[i]);  // a boot file's characters are Latin-1
    else
      fields.emplace_back();
  }
  const WString install_dir = u"C:\\Program Files\\Ledgrix";
  LaunchSettings settings{.java_home = fields[0], .use_jrehome = !fields[0].empty()};
  settings.default_options = fields.size() > 1 ? fields[1] : u"";
  std::vector<WString> expected = {settings.use_jrehome ? fields[0] + u"\\bin\\javaw" : u"javaw"},
                       pieces;
  for (size_t i = 0, end; i < settings.default_options.size(); i = end + 1)
    if ((end = std::min(settings.default_options.find_first_of(u" \t", i),
                        settings.default_options.size())) > i)
      expected.push_back(settings.default_options.substr(i, end - i));
  WString lib_classpath, class_path;
  for (size_t k = 2; k < fields.size(); ++k) {
    if (fields[k].empty() || fields[k].find(u';') != WString::npos) return 0;
    lib_classpath += fields[k] + u";";
    class_path += (k > 2 ? u";" : u"") + install_dir + u"\\" + fields[k];
  }
  if (splitString(lib_classpath, u";", &pieces) <= 0) return 0;
  settings.class_path = ClassPathOf(install_dir, pieces);
  expected.insert(expected.end(), {u"-classpath", class_path, u"com.zor.ledgrix.Tabex"});
  if (SplitArguments(BuildJavaCommandLine(settings)) != expected) std::abort();
  return 0;
}
