// The command-line tail split into tokens, and the documents after -I.
#include "fake_system.h"
#include "handoff/tokenizer.h"

namespace {

TEST(Tokenizer, CollectsThePathAfterEachDashI) {
  const std::pair<const char16_t*, std::vector<WString>> cases[] = {
      {u"", {}},
      {u"-I \"C:\\My Files\\a.ofx\"", {u"C:\\My Files\\a.ofx"}},
      {u"-I a.ofx -I b.qif", {u"a.ofx", u"b.qif"}},
      {u"x -I a.ofx", {u"a.ofx"}},
      {u"Files\\Example\\bin\\launcher.exe -I \"C:\\x.ofx\"", {u"C:\\x.ofx"}},
      {u"-I", {}},
      {u"-i a.ofx -Ix b -I=c", {}},
      {u"-I -I a.ofx", {u"-I"}},
      {u"-I \"\"", {u""}},
      {u"-I \"a\"\"b.ofx\"", {u"a\"b.ofx"}},
      {u"-I 'it''s.qif'", {u"it's.qif"}},
      {u"-I \"it's.qif\"", {u"it's.qif"}},
      {u"-I \"C:\\dir\\\"", {u"C:\\dir\\"}},
      {u"-I \"C:\\open end.ofx", {u"C:\\open end.ofx"}},
      {u"-I \"a b\"c", {u"a b"}},
      {u"-I ab'c d'", {u"ab'c"}},
      {u"-I\ta\r-I\nb", {u"a", u"b"}},
      {u"-I \va\f", {u"\va\f"}},
      {u"-I a -I a", {u"a", u"a"}},
      {u"-I '\"x\"'", {u"\"x\""}},
  };
  for (const auto& [tail, documents] : cases) {
    CStringArray list = {u"before"};
    TokenizeCommandLine(tail, list);
    std::vector<WString> expected = {u"before"};
    expected.insert(expected.end(), documents.begin(), documents.end());
    EXPECT_EQ(list, expected) << Narrow(tail);
  }
}

// A token whose copy failed ends the walk as an option and is skipped as a path.
TEST(Tokenizer, AMissingTokenEndsTheWalkAsAnOptionAndIsSkippedAsAPath) {
  const Token tokens[] = {u"-I", std::nullopt, u"-I", u"a", std::nullopt, u"-I", u"b"};
  CStringArray list;
  CollectImports(7, tokens, list);
  EXPECT_EQ(list, CStringArray{u"a"});
  CollectImports(0, tokens, list);
  const Token last[] = {u"x", u"-I", u"y"};
  CollectImports(2, last, list);
  EXPECT_EQ(list, CStringArray{u"a"}) << "nothing follows an -I outside the count";
}

TEST(Tokenizer, ManyTokensAreAllRead) {
  WString tail;
  for (int i = 0; i < 3000; ++i) tail += u"x ";
  CStringArray list;
  TokenizeCommandLine(tail + u"-I last", list);
  EXPECT_EQ(list, CStringArray{u"last"});
}

}  // namespace
