// The tokenizer on any UTF-16 tail: no crash, and what it collects is bounded
// by the tail. Then the other way round: any list of paths, each written the
// way the shell writes a document (-I and the path in double quotes, a double
// quote inside doubled), is collected back exactly.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "handoff/tokenizer.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

size_t Occurrences(const WString& text, const WString& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != WString::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WString units;
  for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<WChar>(data[i] | data[i + 1] << 8);

  // The units up to the first null are the tail.
  WString tail(units.c_str());
  CStringArray list;
  TokenizeCommandLine(tail.c_str(), list);
  Check(static_cast<size_t>(list.GetSize()) <= Occurrences(tail, u"-I"));
  for (int i = 0; i < list.GetSize(); ++i) {
    const WString& entry = list[i];
    Check(entry.size() <= tail.size());
    Check(entry.find(u'\0') == WString::npos);
    bool quoted = entry.find(u'"') != WString::npos || entry.find(u'\'') != WString::npos;
    if (!quoted) Check(tail.find(entry) != WString::npos);
  }

  // Every null separates one path from the next.
  std::vector<WString> paths;
  WString command_line = u"launcher words";
  size_t start = 0;
  for (;;) {
    size_t end = units.find(u'\0', start);
    WString path = units.substr(start, end == WString::npos ? WString::npos : end - start);
    paths.push_back(path);
    command_line += u" -I \"";
    for (WChar c : path) command_line += c == u'"' ? WString(u"\"\"") : WString(1, c);
    command_line += u"\"";
    if (end == WString::npos) break;
    start = end + 1;
  }
  CStringArray collected;
  TokenizeCommandLine(command_line.c_str(), collected);
  Check(static_cast<size_t>(collected.GetSize()) == paths.size());
  for (size_t i = 0; i < paths.size(); ++i) Check(collected[static_cast<int>(i)] == paths[i]);
  return 0;
}
