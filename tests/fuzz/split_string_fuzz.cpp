// The class-path splitter on any text and delimiter: no read outside the
// text, and the pieces are exactly the text less the recorded delimiters.
#include <cstdint>
#include <cstdlib>

#include "launcher/launch_environment.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// The first byte chooses the delimiter's length (1 to 3), the next bytes are
// the delimiter, the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t length = 1 + data[0] % 3;
  if (size < 1 + length) return 0;
  WString delimiter(data + 1, data + 1 + length);
  WString source(data + 1 + length, data + size);

  CStringArray pieces;
  pieces.Add(u"before");
  int32_t count = splitString(source, delimiter, pieces);
  Check(count >= 0);
  Check(pieces.GetSize() >= 1 && pieces[0] == u"before");
  if (count == 0) {
    Check(pieces.GetSize() == 1);
    return 0;
  }
  Check(pieces.GetSize() - 1 <= count + 1);
  size_t total = 0;
  for (int i = 1; i < pieces.GetSize(); ++i) {
    Check(!pieces[i].empty());
    Check(source.find(pieces[i]) != WString::npos);
    total += pieces[i].size();
  }
  Check(total + static_cast<size_t>(count) * length == source.size());
  return 0;
}
