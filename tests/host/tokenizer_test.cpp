// The command-line tail split into tokens, and the documents named after -I.
#include <vector>

#include "handoff/tokenizer.h"
#include "support/test_support.h"

namespace {

std::vector<WString> Imports(const WString& tail) {
  CStringArray list;
  TokenizeCommandLine(tail.c_str(), list);
  std::vector<WString> entries;
  for (int i = 0; i < list.GetSize(); ++i) entries.push_back(list[i]);
  return entries;
}

std::vector<WString> Collected(int count, const std::vector<Token>& tokens) {
  CStringArray list;
  CollectImports(count, tokens.data(), list);
  std::vector<WString> entries;
  for (int i = 0; i < list.GetSize(); ++i) entries.push_back(list[i]);
  return entries;
}

std::string Show(const std::vector<WString>& entries) {
  std::string text;
  for (const WString& entry : entries) text += "[" + ToUtf8(entry) + "]";
  return text;
}

struct Row {
  const char16_t* tail;
  std::vector<WString> imports;
};

void ExpectRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    std::vector<WString> imports = Imports(row.tail);
    EXPECT_EQ(imports, row.imports) << "tail <" << ToUtf8(row.tail) << "> gave " << Show(imports);
  }
}

TEST(TokenizeCommandLine, CollectsThePathAfterEachExactDashI) {
  ExpectRows({
      {u"", {}},
      {u"-I \"C:\\My Files\\a.ofx\"", {u"C:\\My Files\\a.ofx"}},
      {u"-I a.ofx -I b.qif", {u"a.ofx", u"b.qif"}},
      {u"x -I a.ofx", {u"a.ofx"}},
      {u"Files\\Example\\bin\\launcher.exe -I \"C:\\x.ofx\"", {u"C:\\x.ofx"}},
      {u"-I", {}},
      {u"-I a.ofx -I", {u"a.ofx"}},
      {u"-i a.ofx", {}},
      {u"-Ix a.ofx", {}},
      {u"-I=x a.ofx", {}},
      {u"-I -I a.ofx", {u"-I"}},
      {u"-I a.ofx -I a.ofx", {u"a.ofx", u"a.ofx"}},
      {u"   -I    a.ofx   ", {u"a.ofx"}},
  });
}

TEST(TokenizeCommandLine, QuotesOpenATokenOnlyAtItsStart) {
  ExpectRows({
      {u"-I \"\"", {u""}},
      {u"-I ''", {u""}},
      {u"-I \"a\"\"b.ofx\"", {u"a\"b.ofx"}},
      {u"-I 'it''s.qif'", {u"it's.qif"}},
      {u"-I \"it's.qif\"", {u"it's.qif"}},
      {u"-I 'say \"hi\".qif'", {u"say \"hi\".qif"}},
      {u"-I \"C:\\dir\\\"", {u"C:\\dir\\"}},
      {u"-I \"C:\\open end.ofx", {u"C:\\open end.ofx"}},
      {u"-I 'C:\\open end.ofx", {u"C:\\open end.ofx"}},
      {u"-I \"", {u""}},
      {u"-I \"a b\"c", {u"a b"}},
      {u"-I \"a\"-I b", {u"a", u"b"}},
      {u"-I ab'c d'", {u"ab'c"}},
      {u"-I a\"b c\"", {u"a\"b"}},
      {u"-I \"tab\there\nand\rthere\"", {u"tab\there\nand\rthere"}},
  });
}

TEST(TokenizeCommandLine, OnlySpaceTabLineFeedAndCarriageReturnSeparate) {
  ExpectRows({
      {u"-I\ta.ofx", {u"a.ofx"}},
      {u"-I\na.ofx", {u"a.ofx"}},
      {u"-I\ra.ofx", {u"a.ofx"}},
      {u"-I\r\n\t a.ofx", {u"a.ofx"}},
      {u"-I a\v.ofx", {u"a\v.ofx"}},
      {u"-I a\f.ofx", {u"a\f.ofx"}},
      {u"-I\va.ofx -I b.ofx", {u"b.ofx"}},
      {u"-I\fa.ofx -I b.ofx", {u"b.ofx"}},
      // A non-breaking and an ideographic space are ordinary characters.
      {u"-I a\u00a0b\u3000c.ofx", {u"a\u00a0b\u3000c.ofx"}},
  });
}

TEST(TokenizeCommandLine, KeepsEveryUtf16CodeUnitOfAName) {
  ExpectRows({
      {u"-I \"C:\\\u0441\u0447\u0451\u0442.qif\"", {u"C:\\\u0441\u0447\u0451\u0442.qif"}},
      {u"-I C:\\\u8d26\u672c.ofx", {u"C:\\\u8d26\u672c.ofx"}},
      {u"-I C:\\\U0001F4B0.qif", {u"C:\\\U0001F4B0.qif"}},
      // A lone surrogate is a legal file name character on Windows.
      {u"-I C:\\\xD83D.qif", {u"C:\\\xD83D.qif"}},
  });
}

TEST(TokenizeCommandLine, ANullTailIsEmpty) {
  CStringArray list;
  TokenizeCommandLine(nullptr, list);
  EXPECT_EQ(list.GetSize(), 0);
}

TEST(TokenizeCommandLine, AppendsToWhatTheListHolds) {
  CStringArray list;
  list.Add(u"earlier");
  TokenizeCommandLine(u"-I later", list);
  ASSERT_EQ(list.GetSize(), 2);
  EXPECT_EQ(list[0], u"earlier");
  EXPECT_EQ(list[1], u"later");
}

TEST(TokenizeCommandLine, MoreTokensThanTheFirstArrayHoldsLoseNoDocument) {
  WString tail;
  std::vector<WString> expected;
  for (int i = 0; i < 1500; ++i) {
    WString path = u"d" + DecimalText(i) + u".ofx";
    tail += u"-I " + path + u" ";
    expected.push_back(path);
  }
  EXPECT_EQ(Imports(tail), expected) << "3,000 tokens";

  WString words;
  for (int i = 0; i < 3000; ++i) words += u"x ";
  EXPECT_EQ(Imports(words + u"-I last.ofx"), std::vector<WString>{u"last.ofx"});
}

TEST(TokenizeCommandLine, TheLongestCommandLineAndLongerTokensStayWhole) {
  // 32,000 characters: about the most a Windows command line carries.
  WString path = u"C:\\" + WString(32000 - 8, u'a');
  WString tail = u"-I \"" + path + u"\"";
  ASSERT_EQ(tail.size(), 32000u);
  EXPECT_EQ(Imports(tail), std::vector<WString>{path});

  WString beyond(70000, u'b');
  EXPECT_EQ(Imports(u"-I " + beyond + u" -I next.ofx"), (std::vector<WString>{beyond, u"next.ofx"}));
}

TEST(CollectImports, AMissingTokenEndsTheWalkAsAnOptionAndIsSkippedAsAPath) {
  const Token none = std::nullopt;
  struct Case {
    const char* what;
    int count;
    std::vector<Token> tokens;
    std::vector<WString> imports;
  } cases[] = {
      {"missing option first", 3, {none, u"-I", u"a"}, {}},
      {"missing option later", 5, {u"-I", u"a", none, u"-I", u"b"}, {u"a"}},
      {"missing path", 4, {u"-I", none, u"-I", u"b"}, {u"b"}},
      {"missing path last", 2, {u"-I", none}, {}},
      {"count zero", 0, {u"-I", u"a"}, {}},
      {"count negative", -1, {u"-I", u"a"}, {}},
      {"count ends before the path", 1, {u"-I", u"a"}, {}},
      {"ordinary tokens", 4, {u"x", u"-I", u"a", u"y"}, {u"a"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Collected(c.count, c.tokens), c.imports) << c.what;
  }
}

}  // namespace
