#include "platform/emulated_program_search.h"

namespace {

bool IsBlank(WChar c) { return c == u' ' || c == u'\t'; }

std::vector<WString> CandidateNames(WStringView line) {
  if (!line.empty() && line[0] == u'"') {
    size_t close = line.find(u'"', 1);
    return {WString(line.substr(1, close == WStringView::npos ? WStringView::npos : close - 1))};
  }
  std::vector<WString> names;
  for (size_t i = 1; i <= line.size(); ++i) {
    if ((i == line.size() || IsBlank(line[i])) && !IsBlank(line[i - 1])) names.emplace_back(line.substr(0, i));
  }
  return names;
}

WString WithExtension(const WString& name) {
  size_t last = name.find_last_of(u"\\/");
  size_t start = last == WString::npos ? 0 : last + 1;
  return name.find(u'.', start) == WString::npos ? name + u".exe" : name;
}

}  // namespace

std::optional<WString> FindProgram(const EmulatedFileSystem& fs, WStringView command_line, const WString& current,
                                   const std::vector<WString>& folders) {
  for (const WString& name : CandidateNames(command_line)) {
    if (name.empty()) continue;
    WString file = WithExtension(name);
    if (file.find_first_of(u"\\/:") != WString::npos) {
      WString full = fs.FullPath(file, current, nullptr);
      if (!full.empty() && fs.IsFile(full)) return full;
      continue;
    }
    for (const WString& folder : folders) {
      WString full = fs.FullPath(folder + u"\\" + file, current, nullptr);
      if (!full.empty() && fs.IsFile(full)) return full;
    }
  }
  return std::nullopt;
}
