#include "launcher/boot_file.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

TEST(ExtractValue, CutsBlanksAndOnePairOfQuotes) {
  struct Case {
    const char16_t* line;
    const char16_t* value;
  } cases[] = {
      {u"jrehome=", u""},
      {u"jrehome=\"", u""},  // a lone quote is both the opening and the closing one
      {u"jrehome=\"\"\"", u"\""},
      {u"install_dir=\"C:\\ A \"\t \r\n", u"C:\\ A "},    // blanks inside the quotes stay
      {u"install_dir= \"C:\\Apps\"", u" \"C:\\Apps\""},  // a blank before the quote keeps both
      {u"install_dir=\"C:\\Apps", u"\"C:\\Apps"},
      {u"jrehome=a=b #c", u"a=b #c"},
      {u"jrehome=x\x0b", u"x\x0b"},  // vertical tab is no blank
  };
  for (const Case& c : cases) {
    WString buffer = c.line;
    EXPECT_EQ(WString(extractValue(buffer.data())), c.value) << ToUtf8(c.line);
  }
}

class ParseConfigFile : public ::testing::Test {
 protected:
  LaunchSettings Parse(const std::string& bytes) {
    os_.fs().WriteFile(kBootPath, bytes);
    LaunchSettings settings;
    parseConfigFile(kBootPath, settings);
    return settings;
  }
  static constexpr const char16_t* kBootPath = u"C:\\Apps\\Finance\\ledgrix.boot";
  EmulatedPlatform os_;
  ScopedPlatform installed_{os_};
};

TEST_F(ParseConfigFile, ReadsTheWorkedExample) {
  LaunchSettings s = Parse(
      "# written by the installer\n"
      "install_dir = C:\\Apps\\Finance\n"
      "   install_dir=\"C:\\Apps\\Finance\"\n"
      "jrehome=\n"
      "default_options=-Xms32m -Dfile.encoding=Cp1252  \n"
      "lib-classpath=lib\\app.jar;lib\\ofx.jar\n"
      "Jrehome=C:\\jre\n"
      "default_options= -Xmx256m\n");
  EXPECT_EQ(s.default_options, u" -Xmx256m");
  EXPECT_EQ(s.jrehome, u"");
  EXPECT_EQ(s.install_dir, u"C:\\Apps\\Finance");
  EXPECT_EQ(s.lib_classpath, u"lib\\app.jar;lib\\ofx.jar");
}

TEST_F(ParseConfigFile, RecognisesOnlyExactKeysAtTheStartOfALine) {
  const std::string filler(4095 - 14, 'b');  // fills a 4095-character piece after "lib-classpath="
  struct Case {
    std::string bytes;
    const char16_t* jrehome;
  } cases[] = {
      {"   #jrehome=C:\\jre\n", u""},
      {"JREHOME=C:\\jre\n", u""},
      {" \t jrehome=C:\\jre\r\n", u"C:\\jre"},
      {"jrehome=C:\\a\rinstall_dir=C:\\b\r", u"C:\\a\rinstall_dir=C:\\b"},
      {"\xef\xbb\xbfjrehome=C:\\bom\n", u""},  // the byte-order mark hides the first line
      {"jrehome=C:\\a\njrehome=\n", u""},      // the last one wins, also when empty
      {"jrehome=C:\\\xe9t\xe9\n", u"C:\\\u00e9t\u00e9"},
      {"lib-classpath=" + filler + "jrehome=C:\\tail\n", u"C:\\tail"},  // the rest of a long line
      {"lib-classpath=" + filler + "xjrehome=C:\\tail\n", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.bytes).jrehome, c.jrehome) << c.bytes.substr(0, 40);
}

TEST_F(ParseConfigFile, AMissingFileIsFatalWithTheOpenError) {
  LaunchSettings settings;
  EXPECT_THROW(parseConfigFile(u"C:\\Nowhere\\ledgrix.boot", settings), EmulatedExit);
  EXPECT_EQ(os_.exit_code(), 3u);
  ASSERT_EQ(os_.boxes().size(), 1u);
  EXPECT_EQ(os_.boxes()[0].text, u"Unable to open file: C:\\Nowhere\\ledgrix.boot\nparseConfigFile failed with error 3: "
                                 u"The system cannot find the path specified.\r\n\nPlease reinstall the application");
}

}  // namespace
