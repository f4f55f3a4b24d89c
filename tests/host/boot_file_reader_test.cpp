#include <vector>

#include "launcher/boot_file_reader.h"
#include "support/test_support.h"

namespace {

// Feeds the reader in chunks of the given size, so chunk borders fall
// everywhere (a CR at the end of one chunk and its LF in the next).
std::vector<WString> Lines(const std::string& bytes, uint32_t chunk = 4096) {
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
      {"", {}},
      {"a", {u"a"}},
      {"a\nb\n", {u"a\n", u"b\n"}},
      {"a\r\nb", {u"a\n", u"b"}},
      {"a\rb\r\n", {u"a\rb\n"}},                  // a lone CR stays
      {"a\r", {u"a\r"}},                          // CR at the end of the file
      {"a\r\r\n", {u"a\r\n"}},
      {"a\x1a" "b\nc\n", {u"a"}},                 // 0x1A ends the file
      {"a\n\x1a\n", {u"a\n"}},
      {"\x1a", {}},
      {std::string("ab\0cd\nef\n", 9), {u"ab", u"ef\n"}},  // NUL ends the line's text
      {std::string("\0\n", 2), {u""}},
      {"\xe9\xff\x80\n", {u"\u00e9\u00ff\u0080\n"}},    // each byte one Latin-1 character
      {"\xef\xbb\xbfkey=v\n", {u"\u00ef\u00bb\u00bfkey=v\n"}},  // no byte-order mark is skipped
  };
  for (const Case& c : cases) {
    for (uint32_t chunk : {1u, 2u, 3u, 4096u}) EXPECT_EQ(Lines(c.bytes, chunk), c.lines) << c.bytes << " chunk " << chunk;
  }
}

TEST(BootFileReader, CutsLongLinesIntoPiecesOf4095Characters) {
  // A piece holds at most 4095 characters, its line feed included: a line of
  // 4095 characters is whole, and its line feed comes as an empty line.
  std::string exactly(4095, 'x');
  EXPECT_EQ(Lines(exactly + "\n"), (std::vector<WString>{WString(4095, u'x'), u"\n"}));
  std::string longer(4096, 'y');
  std::vector<WString> pieces = Lines(longer + "\n");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], WString(4095, u'y'));
  EXPECT_EQ(pieces[1], u"y\n");
  std::vector<WString> crlf = Lines(std::string(4094, 'z') + "\r\n");
  ASSERT_EQ(crlf.size(), 1u) << "CR LF counts as one character";
  EXPECT_EQ(crlf[0].size(), 4095u);
}

}  // namespace
