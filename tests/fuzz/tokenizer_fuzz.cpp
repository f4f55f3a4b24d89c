// The tokenizer on any UTF-16 tail: no crash, no more documents than "-I"s.
// And the other way round: any list of paths, each written the way the shell
// writes a document (-I and the path in double quotes, a quote inside
// doubled), is collected back exactly.
#include <cstdint>
#include <cstdlib>

#include "handoff/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WString units;
  for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<WChar>(data[i] | data[i + 1] << 8);
  CStringArray list;
  const WString tail(units.c_str());
  TokenizeCommandLine(tail, list);
  size_t options = 0;
  for (size_t at = tail.find(u"-I"); at != WString::npos; at = tail.find(u"-I", at + 1)) ++options;
  if (list.size() > options) std::abort();

  // Every null separates one path from the next.
  CStringArray paths, collected;
  WString command_line = u"launcher words";
  for (size_t start = 0, end = 0; end != WString::npos; start = end + 1) {
    end = units.find(u'\0', start);
    paths.push_back(units.substr(start, end == WString::npos ? WString::npos : end - start));
    command_line += u" -I \"";
    for (WChar c : paths.back()) command_line += c == u'"' ? WString(u"\"\"") : WString(1, c);
    command_line += u"\"";
  }
  TokenizeCommandLine(command_line, collected);
  if (collected != paths) std::abort();
  return 0;
}
