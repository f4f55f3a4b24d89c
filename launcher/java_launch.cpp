#include "launcher/java_launch.h"

#include <algorithm>

#include "disk/path_rules.h"
#include "text/quoting.h"

bool SetsHeapLimit(WStringView options) { return options.find(u"-Xmx") != WStringView::npos; }

WString HeapOption(uint64_t physical_memory) {
  // Clamped before narrowing, so no amount of memory wraps to a small heap.
  return u" -Xmx" + DecimalText(std::clamp<uint64_t>(physical_memory / 4194304, 96, 128)) + u"m";
}

int32_t SplitString(WStringView source, WStringView delimiter, std::vector<WString>* pieces) {
  std::vector<size_t> positions;
  // With the delimiter at the very start there is no first position to cut at.
  for (size_t found = source.find(delimiter); found != WStringView::npos && found > 0;
       found = source.find(delimiter, found + delimiter.size() + 1))
    positions.push_back(found);
  if (positions.empty()) return 0;
  size_t from = 0;
  positions.push_back(source.size());
  for (const size_t to : positions) {
    if (from < to) pieces->emplace_back(source.substr(from, to - from));
    from = to + delimiter.size();
  }
  return static_cast<int32_t>(positions.size() - 1);
}

WString JavaProgramOf(WStringView java_home) {
  return java_home.empty() ? WString(kBareJavaProgram) : WString(java_home) + u"\\bin\\javaw";
}

std::vector<WString> ClassPathOf(WStringView install_dir, const std::vector<WString>& entries) {
  std::vector<WString> class_path;
  for (const WString& entry : entries) class_path.push_back(WString(install_dir) + u"\\" + entry);
  return class_path;
}

WString JavaCommandLine(const JavaLaunch& launch) {
  WString class_path;
  for (const WString& entry : launch.class_path)
    class_path += (class_path.empty() ? u"" : u";") + Quoted(entry);
  return QuotedIfBlank(launch.program) + u" " + launch.options + launch.heap_option +
         u" -classpath " + class_path + u" " + WString(kMainClass);
}

WString ProgramSearchPath(WStringView own_folder,
                          WStringView system_folder,
                          WStringView windows_folder,
                          WStringView path_variable) {
  std::vector<WStringView> folders = {own_folder, system_folder};
  const WString sixteen_bit = WString(windows_folder) + u"\\System";
  folders.push_back(sixteen_bit);
  folders.push_back(windows_folder);
  for (size_t start = 0; start < path_variable.size();) {
    const size_t end = std::min(path_variable.find(u';', start), path_variable.size());
    folders.push_back(path_variable.substr(start, end - start));
    start = end + 1;
  }
  WString search;
  for (const WStringView folder : folders) {
    if (!IsAbsolute(folder)) continue;
    if (!search.empty()) search += u";";
    search += folder;
  }
  return search;
}
