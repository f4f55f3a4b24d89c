#include "launcher/fatal_error.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

struct Reported {
  uint32_t exit_code;
  RecordedBox box;
  std::vector<std::string> log;
};

Reported Report(EmulatedPlatform& os, uint32_t last_error, const WString& message, const WChar* context) {
  ScopedPlatform installed(os);
  os.SetLastError(last_error);
  try {
    reportFatalError(message, context);
  } catch (const EmulatedExit& exit) {
    EXPECT_EQ(os.boxes().size(), 1u);
    return {exit.exit_code, os.boxes().at(0), os.log()};
  }
  ADD_FAILURE() << "reportFatalError returned";
  return {};
}

TEST(FatalError, ShowsTheLongFormAndEndsWithTheCode) {
  EmulatedPlatform os;
  Reported r = Report(os, 2, u"Unable to open file: C:\\x\\ledgrix.boot", u"parseConfigFile");
  EXPECT_EQ(r.box.text,
            u"Unable to open file: C:\\x\\ledgrix.boot\n"
            u"parseConfigFile failed with error 2: The system cannot find the file specified.\r\n"
            u"\n"
            u"Please reinstall the application");
  EXPECT_EQ(r.box.caption, u"Error");
  EXPECT_EQ(r.box.style, kMbOk | kMbIconError);
  EXPECT_EQ(r.exit_code, 2u);
  EXPECT_EQ(r.log.back(), "ExitProcess 2") << "nothing runs after the end of the process";
}

TEST(FatalError, CodesAndExitCodes) {
  struct Case {
    uint32_t code;
    const char16_t* printed;
    uint32_t exit_code;
  } cases[] = {
      {0, u"0", 1},  // a fatal end never exits with 0
      {3, u"3", 3},
      {183, u"183", 183},
      {0x80070057u, u"-2147024809", 0x80070057u},
      {0x80000000u, u"-2147483648", 0x80000000u},
      {0xFFFFFFFFu, u"-1", 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    EmulatedPlatform os;
    os.set_system_message(0xFFFFFFFFu, u"x\r\n");
    os.set_system_message(0x80000000u, u"x\r\n");
    Reported r = Report(os, c.code, u"Application classpath is missing\n", u"ledgrix launcher");
    EXPECT_EQ(r.exit_code, c.exit_code);
    WString expected_start = u"Application classpath is missing\n\nledgrix launcher failed with error ";
    EXPECT_EQ(r.box.text.substr(0, expected_start.size()), expected_start);
    EXPECT_EQ(r.box.text.substr(expected_start.size(), WideLength(c.printed) + 2), WString(c.printed) + u": ");
  }
}

TEST(FatalError, TheShortFormShowsOnlyTheMessage) {
  EmulatedPlatform os;
  Reported r = Report(os, 5, u"Something broke", nullptr);
  EXPECT_EQ(r.box.text, u"Something broke\nPlease reinstall the application");
  EXPECT_EQ(r.exit_code, 5u);
}

TEST(FatalError, ACodeWithoutSystemTextKeepsTheBoxShape) {
  EmulatedPlatform os;
  os.remove_system_message(1234);
  Reported r = Report(os, 1234, u"M", u"step");
  EXPECT_EQ(r.box.text, u"M\nstep failed with error 1234: (the system has no description for this error)\r\n\n"
                        u"Please reinstall the application");
  EXPECT_EQ(r.exit_code, 1234u);
}

TEST(FatalError, ReportsTheCodeOfTheFailedStepNotOfLaterCalls) {
  EmulatedPlatform os;
  os.FailNext(Op::FormatSystemMessage, 317);
  Reported r = Report(os, 2, u"M", u"step");
  EXPECT_EQ(r.exit_code, 2u) << "a failing text lookup changes the last error, not the code";
}

TEST(FatalError, NeverCutsALongText) {
  // An installation folder of 259 characters and a long system text do not
  // fit the classic 409 characters; the whole text is shown.
  EmulatedPlatform os;
  WString folder = u"C:\\" + WString(256, u'f');
  WString long_text = WString(200, u's') + u"\r\n";
  os.set_system_message(3, long_text);
  Reported r = Report(os, 3, u"Could not find installation directory at:\n" + folder, u"ledgrix launcher");
  EXPECT_GT(r.box.text.size(), 409u);
  EXPECT_NE(r.box.text.find(folder), WString::npos);
  EXPECT_NE(r.box.text.find(long_text), WString::npos);
  EXPECT_EQ(r.box.text.substr(r.box.text.size() - 32), u"Please reinstall the application");
}

}  // namespace
