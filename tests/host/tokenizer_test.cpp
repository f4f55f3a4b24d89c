// The command-line tail split into tokens, and the documents named after -I.
#include <vector>

#include "handoff/tokenizer.h"
#include "support/test_support.h"

namespace {

std::vector<WString> Entries(const CStringArray& list) {
  std::vector<WString> entries;
  for (int i = 0; i < list.GetSize(); ++i) entries.push_back(list[i]);
  return entries;
}

std::vector<WString> Imports(const WString& tail) {
  CStringArray list;
  TokenizeCommandLine(tail.c_str(), list);
  return Entries(list);
}

TEST(TokenizeCommandLine, CollectsThePathAfterEachExactDashI) {
  struct Row {
    const char16_t* tail;
    std::vector<WString> imports;
  } rows[] = {
      {u"", {}},
      {u"-I \"C:\\My Files\\a.ofx\"", {u"C:\\My Files\\a.ofx"}},
      {u"-I a.ofx -I b.qif", {u"a.ofx", u"b.qif"}},
      {u"x -I a.ofx", {u"a.ofx"}},
      {u"Files\\Example\\bin\\launcher.exe -I \"C:\\x.ofx\"", {u"C:\\x.ofx"}},
      {u"-I", {}},
      {u"-i a.ofx", {}},
      {u"-I -I a.ofx", {u"-I"}},
      {u"-I \"\"", {u""}},
      {u"-I \"a\"\"b.ofx\"", {u"a\"b.ofx"}},
      {u"-I 'it''s.qif'", {u"it's.qif"}},
      {u"-I \"it's.qif\"", {u"it's.qif"}},
      {u"-I \"C:\\dir\\\"", {u"C:\\dir\\"}},
      {u"-I \"C:\\open end.ofx", {u"C:\\open end.ofx"}},
      {u"-I \"a b\"c", {u"a b"}},
      {u"-I ab'c d'", {u"ab'c"}},
      {u"-I\ta -I\nb -I\rc", {u"a", u"b", u"c"}},
      // A vertical tab or form feed is part of the token, not a blank.
      {u"-I a\v.ofx", {u"a\v.ofx"}},
      {u"-I\fa.ofx -I b.ofx", {u"b.ofx"}},
      {u"-I a.ofx -I a.ofx", {u"a.ofx", u"a.ofx"}},
  };
  for (const Row& row : rows) EXPECT_EQ(Imports(row.tail), row.imports) << "tail <" << ToUtf8(row.tail) << ">";
}

TEST(TokenizeCommandLine, LongCommandLinesLoseNothing) {
  WString tail;
  std::vector<WString> expected;
  for (int i = 0; i < 1500; ++i) {
    tail += u"-I d" + DecimalText(i) + u".ofx ";
    expected.push_back(u"d" + DecimalText(i) + u".ofx");
  }
  EXPECT_EQ(Imports(tail), expected) << "3,000 tokens";

  // 32,000 characters: about the most a Windows command line carries.
  WString path = u"C:\\" + WString(32000 - 8, u'a');
  EXPECT_EQ(Imports(u"-I \"" + path + u"\""), std::vector<WString>{path});
}

TEST(CollectImports, AMissingTokenEndsTheWalkAsAnOptionAndIsSkippedAsAPath) {
  const Token none = std::nullopt;
  struct Case {
    const char* what;
    std::vector<Token> tokens;
    std::vector<WString> imports;
  } cases[] = {
      {"missing option first", {none, u"-I", u"a"}, {}},
      {"missing option later", {u"-I", u"a", none, u"-I", u"b"}, {u"a"}},
      {"missing path", {u"-I", none, u"-I", u"b"}, {u"b"}},
  };
  for (const Case& c : cases) {
    CStringArray list;
    CollectImports(static_cast<int>(c.tokens.size()), c.tokens.data(), list);
    EXPECT_EQ(Entries(list), c.imports) << c.what;
  }
}

}  // namespace
