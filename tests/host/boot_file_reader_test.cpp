#include <vector>

#include "launcher/boot_file_reader.h"
#include "support/test_support.h"

namespace {

// Feeds the reader in chunks of the given size, so chunk borders fall
// everywhere (a CR at the end of one chunk and its LF in the next).
std::vector<WString> Lines(const std::string& bytes, uint32_t chunk) {
  size_t offset = 0;
  BootFileReader reader([&](uint8_t* buffer, uint32_t size) -> uint32_t {
    uint32_t n = static_cast<uint32_t>(std::min<size_t>({size, chunk, bytes.size() - offset}));
    std::copy_n(bytes.data() + offset, n, buffer);
    offset += n;
    return n;
  });
  std::vector<WString> lines;
  WString line;
  while (reader.ReadLine(&line)) lines.push_back(line);
  return lines;
}

TEST(BootFileReader, AppliesTheTextModeRules) {
  struct Case {
    std::string bytes;
    std::vector<WString> lines;
  } cases[] = {
      {"a\r\nb", {u"a\n", u"b"}},
      {"a\rb\r\n", {u"a\rb\n"}},  // a lone CR stays
      {"a\r", {u"a\r"}},
      {"a\r\r\n", {u"a\r\n"}},
      {"a\n\x1a" "b\nc\n", {u"a\n"}},  // 0x1A ends the file
      {std::string("ab\0cd\nef\n", 9), {u"ab", u"ef\n"}},  // NUL ends the line's text
      {"\xef\xbb\xbf\xe9\xff\x80\n", {u"\u00ef\u00bb\u00bf\u00e9\u00ff\u0080\n"}},  // Latin-1, no BOM skipped
      // Pieces of at most 4095 characters, line feed included; CR LF is one.
      {std::string(4095, 'x') + "\n", {WString(4095, u'x'), u"\n"}},
      {std::string(4096, 'y') + "\n", {WString(4095, u'y'), u"y\n"}},
      {std::string(4094, 'z') + "\r\n", {WString(4094, u'z') + u"\n"}},
  };
  for (const Case& c : cases) {
    for (uint32_t chunk : {1u, 3u, 4096u}) EXPECT_EQ(Lines(c.bytes, chunk), c.lines) << c.bytes.substr(0, 20) << " chunk " << chunk;
  }
}

}  // namespace
