#include "launcher/launch_values.h"

#include <algorithm>

namespace {

WChar FoldAsciiLetter(WChar c) { return (c >= u'A' && c <= u'Z') ? static_cast<WChar>(c + 32) : c; }

bool IsSeparator(WChar c) { return c == u'\\' || c == u'/'; }

}  // namespace

WString RootFolderOf(WStringView module_path) {
  WStringView folder =
      module_path.substr(0, std::min(module_path.rfind(u'\\'), module_path.size()));
  const size_t slash = folder.rfind(u'\\');
  if (slash != WStringView::npos && folder.size() - slash == 4 &&
      std::equal(folder.begin() + slash, folder.end(), u"\\bin", [](WChar a, WChar b) {
        return FoldAsciiLetter(a) == b;
      }))
    folder = folder.substr(0, slash);
  return WString(folder);
}

WString BootPathOf(WStringView root_folder) { return WString(root_folder) + u"\\ledgrix.boot"; }

WStringView CommandLineTail(WStringView command_line) {
  size_t at = 0;
  for (bool quoted = false; at < command_line.size() && (quoted || command_line[at] > u' '); ++at)
    if (command_line[at] == u'"') quoted = !quoted;
  while (at < command_line.size() && command_line[at] <= u' ') ++at;
  return command_line.substr(at);
}

WString FatalText(const WString& message,
                  const WChar* context,
                  uint32_t code,
                  const WString& system_text) {
  if (!context) return message + u"\nPlease reinstall the application";
  return message + u"\n" + context + u" failed with error " +
         DecimalText(static_cast<int32_t>(code)) + u": " + system_text +
         u"\nPlease reinstall the application";
}

WString HeapOption(WStringView default_options, uint64_t physical_memory) {
  if (default_options.find(u"-Xmx") != WStringView::npos) return WString();
  // Clamped before narrowing, so no amount of memory wraps to a small heap.
  return u" -Xmx" + DecimalText(std::clamp<uint64_t>(physical_memory / 4194304, 96, 128)) + u"m";
}

int32_t splitString(WStringView source, WStringView delimiter, std::vector<WString>* pieces) {
  std::vector<size_t> positions;
  // With the delimiter at the very start there is no first position to cut at.
  for (size_t found = source.find(delimiter); found != WStringView::npos && found > 0;
       found = source.find(delimiter, found + delimiter.size() + 1))
    positions.push_back(found);
  if (positions.empty()) return 0;
  size_t from = 0;
  positions.push_back(source.size());
  for (size_t to : positions) {
    if (from < to) pieces->emplace_back(source.substr(from, to - from));
    from = to + delimiter.size();
  }
  return static_cast<int32_t>(positions.size() - 1);
}

WString ClassPathOf(WStringView install_dir, const std::vector<WString>& pieces) {
  WString class_path;
  for (const WString& piece : pieces)
    class_path += (class_path.empty() ? u"" : u";") + Quoted(WString(install_dir) + u"\\" + piece);
  return class_path;
}

WString Quoted(WStringView text) {
  const size_t trailing = text.size() - (text.find_last_not_of(u'\\') + 1);
  return u"\"" + WString(text) + WString(trailing, u'\\') + u"\"";
}

WString QuotedIfBlank(WStringView path) {
  return path.find_first_of(u" \t") == WStringView::npos ? WString(path) : Quoted(path);
}

WString BuildJavaCommandLine(const LaunchSettings& settings) {
  const WString program =
      settings.use_jrehome ? settings.java_home + u"\\bin\\javaw" : WString(kBareJavaProgram);
  return QuotedIfBlank(program) + u" " + settings.default_options + u" -classpath " +
         settings.class_path + u" " + WString(kMainClass);
}

WString ProgramSearchPath(WStringView own_folder,
                          WStringView system_folder,
                          WStringView windows_folder,
                          WStringView path_variable) {
  WString search = WString(own_folder) + u";" + WString(system_folder) + u";" +
                   WString(windows_folder) + u"\\System;" + WString(windows_folder);
  for (size_t start = 0, end; start < path_variable.size(); start = end + 1) {
    end = std::min(path_variable.find(u';', start), path_variable.size());
    const WStringView folder = path_variable.substr(start, end - start);
    const bool absolute = (folder.size() >= 3 && folder[1] == u':' && IsSeparator(folder[2])) ||
                          (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]));
    if (absolute) search += u";" + WString(folder);
  }
  return search;
}
