// The core's values, from tables: plain functions over plain data.
#include <gtest/gtest.h>

#include "disk/path_rules.h"
#include "handoff/tokenizer.h"
#include "launcher/launch_values.h"

namespace {

std::string N(WStringView text) { return std::string(text.begin(), text.end()); }
std::string Join(const std::vector<WString>& texts) {
  std::string joined;
  for (size_t i = 0; i < texts.size(); ++i) joined += (i ? "|" : "") + N(texts[i]);
  return joined;
}

TEST(Core, BootFile) {
  const std::string piece(4083, 'p'),
      bytes[] = {
          // each file's values, as the next row
          "# c\ninstall_dir = x\n   install_dir=\"C:\\A\"\njrehome=\ndefault_options=-Xm  "
          "\nJrehome=j\nlib-classpath=a;b\r\n",
          "C:\\A||-Xm|a;b",
          "   #jrehome=x\njrehome=C:\\x #y\njrehome =z\ndefault_options= "
          "-X\ninstall_dir=a\ninstall_dir=",
          "|C:\\x #y| -X|",
          "install_dir=\"C:\\x\"  \t\r\njrehome= \"j\"\ndefault_options=\"o\nlib-classpath=\"",
          "C:\\x| \"j\"|\"o|",
          "\xEF\xBB\xBFinstall_dir=x\njrehome=a\rb\r\ndefault_options=\"\"",
          "|a\rb||",
          std::string("install_dir=a\0b\njrehome=\xE9\x1Alib-classpath=c", 41),
          "a|\xE9||",
          "install_dir=" + piece + "jrehome=j\ndefault_options=" + std::string(4080, 'o') +
              "\r\nlib-classpath=l",
          piece + "|j|" + std::string(4079, 'o') + "|l",
      };
  for (size_t i = 0; i < std::size(bytes); i += 2) {
    LaunchSettings s;
    ParseBootFile(bytes[i], &s);
    EXPECT_EQ(
        N(s.install_dir + u"|" + s.jrehome + u"|" + s.default_options + u"|" + s.lib_classpath),
        bytes[i + 1]);
  }
}

TEST(Core, StartValues) {
  for (auto [module, root] : {std::pair{u"C:\\A\\BiN\\l.exe", "C:\\A"},
                              {u"C:\\bin\\bin\\l.exe", "C:\\bin"},
                              {u"C:\\A\\binaries\\l.exe", "C:\\A\\binaries"},
                              {u"l.exe", "l.exe"}})
    EXPECT_EQ(N(BootPathOf(RootFolderOf(module))), std::string(root) + "\\ledgrix.boot");
  for (auto [line, tail] : {std::pair{u"\"C:\\P F\\l.exe\" \t\x01-I x", u"-I x"},
                            {u"C:\\P F\\l.exe -I", u"F\\l.exe -I"},
                            {u"l\"a b\"c -I", u"-I"},
                            {u"\"open -I", u""}})
    EXPECT_EQ(N(CommandLineTail(line)), N(tail));
  EXPECT_EQ(N(FatalText(u"m", u"c", 0x80000000u, u"t\r\n")),
            "m\nc failed with error -2147483648: t\r\n\nPlease reinstall the application");
  EXPECT_EQ(N(FatalText(u"m", nullptr, 5, u"t")), "m\nPlease reinstall the application");
  for (auto [memory, option] : {std::pair<uint64_t, const char16_t*>{401604608, u" -Xmx96m"},
                                {402653184, u" -Xmx96m"},
                                {535822336, u" -Xmx127m"},
                                {536870912, u" -Xmx128m"},
                                {1ull << 42, u" -Xmx128m"}})
    EXPECT_EQ(N(HeapOption(u"-xmx1m", memory)), N(option));
  EXPECT_EQ(N(HeapOption(u"-Dn=-Xmx", 0)), "");
}

TEST(Core, ClassPathAndJavaCommandLine) {
  for (auto [source, count, pieces] : {std::tuple{u"a", 0, ""},
                                       {u"a;", 1, "a"},
                                       {u"a;b", 1, "a|b"},
                                       {u"a;b;c", 2, "a|b|c"},
                                       {u"a;;b", 1, "a|;b"},
                                       {u"a;b;;", 2, "a|b|;"},
                                       {u";a;b", 0, ""}}) {
    std::vector<WString> found;
    EXPECT_EQ(splitString(source, u";", &found), count);
    EXPECT_EQ(Join(found), pieces);
  }
  std::vector<WString> found = {u"kept"};
  EXPECT_EQ(splitString(u"a::b::::c", u"::", &found), 2);
  EXPECT_EQ(Join(found), "kept|a|b|::c");
  EXPECT_EQ(N(ClassPathOf(u"D:\\F", {u" a ", u"c\\", u"b\\\\"})),
            "\"D:\\F\\ a \";\"D:\\F\\c\\\\\";\"D:\\F\\b\\\\\\\\\"");
  for (auto [home, line] :
       {std::pair{u"", "javaw  -X -classpath cp com.zor.ledgrix.Tabex"},
        {u"D:\\j\\", "D:\\j\\\\bin\\javaw  -X -classpath cp com.zor.ledgrix.Tabex"},
        {u"C:\\P F\tj", "\"C:\\P F\tj\\bin\\javaw\"  -X -classpath cp com.zor.ledgrix.Tabex"}}) {
    LaunchSettings s{.java_home = home,
                     .class_path = u"cp",
                     .default_options = u" -X",
                     .use_jrehome = *home != 0};
    EXPECT_EQ(N(BuildJavaCommandLine(s)), line);
  }
  EXPECT_EQ(
      N(ProgramSearchPath(u"o", u"s", u"w", u"C:\\j;;.;bin;\\\\s\\j;D:/x;C:r;\\r;//s/j;\\;E:\\")),
      "o;s;w\\System;w;C:\\j;\\\\s\\j;D:/x;//s/j;E:\\");
}

TEST(Core, Tokenizer) {
  for (auto [tail, documents] :
       {std::pair{u"", ""},
        {u"x -I \"C:\\My F\\a.ofx\" -I b -i c -Ix d -I=e", "C:\\My F\\a.ofx|b"},
        {u"-I -I a -I", "-I"},
        {u"-I \"\" -I \"a\"\"b\" -I 'it''s' -I \"C:\\d\\\"", "|a\"b|it's|C:\\d\\"},
        {u"-I \"open end", "open end"},
        {u"-I \"a b\"c -I ab'c d' -I '\"x\"'", "a b|ab'c|\"x\""},
        {u"-I\ta\r-I\nb -I \va\f -I a", "a|b|\va\f|a"}}) {
    CStringArray list;
    TokenizeCommandLine(tail, list);
    EXPECT_EQ(Join(list), documents) << N(tail);
  }
  const Token tokens[] = {u"-I", std::nullopt, u"-I", u"a", std::nullopt, u"-I", u"b"},
              last[] = {u"x", u"-I", u"y"};
  CStringArray list;
  CollectImports(7, tokens, list), CollectImports(2, last, list), CollectImports(0, tokens, list);
  EXPECT_EQ(Join(list), "a");
}

TEST(Core, PathRules) {
  const WString deep = u"C:\\" + WString(300, u'd') + u"\\a";
  for (auto [path, current, valid, qualified] :
       {std::tuple<WString, const char16_t*, bool, WString>{
            u"f.txt", u"C:\\d\\w", true, u"C:\\d\\w\\f.txt"},
        {u"s/f", u"C:\\d\\w", true, u"C:\\d\\w\\s\\f"},
        {u"\\d\\a", u"C:\\w", true, u"C:\\d\\a"},
        {u"..\\a", u"C:\\d\\w", true, u"C:\\d\\a"},
        {u"..\\..\\..\\s\\a", u"C:\\d\\w", true, u"C:\\\\s\\a"},
        {u"..\\..\\a", u"\\\\s\\h\\d", true, u"\\\\s\\h\\a"},
        {u"f", u"C:\\", true, u"C:\\\\f"},
        {u"\\d", u"\\\\s\\h", true, u"\\d"},
        {u"\\\\s\\h\\a", u"C:\\w", true, u"\\\\s\\h\\a"},
        {u"\\\\a", u"C:\\w", true, u"C:\\\\a"},
        {u"C:d\\a", u"D:\\x", true, u"C:d\\a"},
        {u"C:", u"D:\\x", true, u"C:"},
        {u"\\\\?\\C:\\a\\b", u"C:\\w", true, u"\\\\?\\C:\\a\\b"},
        {u"\\\\\\a", u"C:\\w", true, u"\\\\\\a"},
        {u"a*.o", u"C:\\w", false, u"C:\\w\\a*.o"},
        {u"C:\\a:b\\c", u"C:\\w", false, u"C:\\a:b\\c"},
        {u"C:\\a.o?", u"C:\\w", false, u"C:\\a.o?"},
        {deep, u"C:\\w", true, deep}}) {
    WString actual = path;
    EXPECT_EQ(QualifyFile(actual, current), valid) << N(path);
    EXPECT_EQ(N(actual), N(qualified));
  }
  const WString longest = u"C:\\" + WString(253, u'x');  // with its separator, 255 after the drive
  for (auto [directory, code, qualified] :
       {std::tuple<WString, uint32_t, WString>{u"", 0, u"C:\\w\\"},
        {u"//s/*", 0, u"\\\\s\\*\\"},
        {longest, 0, longest + u"\\"},
        {longest + u"y", kErrorFilenameTooLong, longest + u"y\\"}}) {
    WString actual = directory;
    uint32_t actual_code = 9;
    EXPECT_EQ(QualifyDirectory(actual, u"C:\\w", &actual_code), code == 0);
    EXPECT_EQ(actual_code, code);
    EXPECT_EQ(N(actual), N(qualified));
  }
  for (auto [directory, levels] : {std::pair{u"C:\\a\\\\b\\", "C:|C:\\a|C:\\a\\|C:\\a\\\\b"},
                                   {u"C:\\", "C:"},
                                   {u"\\\\s\\h\\d\\", "\\\\s|\\\\s\\h|\\\\s\\h\\d"},
                                   {u"\\\\s\\", "\\\\s"}}) {
    std::vector<WString> found(1);
    CreationLevels(directory, &found[0], &found);
    EXPECT_EQ(Join(found), levels);
  }
  EXPECT_TRUE(PlanCopies({u"C:\\i\\a.o", u"", u"b.q", u"x*.q"}, u"D\\", u"S\\", u"C:\\w", 9) ==
              (std::vector<PlannedCopy>{{u"C:\\i\\a.o", u"S\\9-0.part", u"D\\a.o"},
                                        {u"C:\\w\\b.q", u"S\\9-2.part", u"D\\b.q"},
                                        {u"C:\\w\\x*.q", u"S\\9-3.part", u"D\\"}}));
}

}  // namespace
