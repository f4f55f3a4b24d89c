#include "launcher/fatal_error.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

// Reports with the given last error; returns the one box's text, or empty.
WString Report(EmulatedPlatform& os, uint32_t last_error, const WString& message, const WChar* context) {
  ScopedPlatform installed(os);
  os.SetLastError(last_error);
  EXPECT_THROW(reportFatalError(message, context, last_error), EmulatedExit);
  EXPECT_EQ(os.log().back(), "ExitProcess " + std::to_string(*os.exit_code())) << "nothing runs after the end";
  if (os.boxes().size() != 1u) {
    ADD_FAILURE() << os.boxes().size() << " boxes";
    return WString();
  }
  EXPECT_EQ(os.boxes()[0].caption, u"Error");
  EXPECT_EQ(os.boxes()[0].style, kMbOk | kMbIconError);
  return os.boxes()[0].text;
}

TEST(FatalError, TextAndExitCode) {
  const WString folder = u"C:\\" + WString(256, u'f');
  const WString long_text = WString(200, u's') + u"\r\n";
  struct Case {
    uint32_t code;
    WString message;
    const char16_t* context;
    WString text;
    uint32_t exit_code;
  } cases[] = {
      {2, u"Unable to open file: C:\\x\\ledgrix.boot", u"parseConfigFile",
       u"Unable to open file: C:\\x\\ledgrix.boot\nparseConfigFile failed with error 2: "
       u"The system cannot find the file specified.\r\n\nPlease reinstall the application", 2},
      {0, u"M", u"s", u"M\ns failed with error 0: The operation completed successfully.\r\n\n"
                      u"Please reinstall the application", 1},  // a fatal end never exits with 0
      {0x80070057u, u"M", u"s", u"M\ns failed with error -2147024809: x\r\n\nPlease reinstall the application", 0x80070057u},
      {0xFFFFFFFFu, u"M", u"s", u"M\ns failed with error -1: x\r\n\nPlease reinstall the application", 0xFFFFFFFFu},
      {1234, u"M", u"s", u"M\ns failed with error 1234: (the system has no description for this error)\r\n\n"
                         u"Please reinstall the application", 1234},
      {5, u"Something broke", nullptr, u"Something broke\nPlease reinstall the application", 5},
      // Longer than the classic 409 characters, yet never cut.
      {3, u"Could not find installation directory at:\n" + folder, u"ledgrix launcher",
       u"Could not find installation directory at:\n" + folder + u"\nledgrix launcher failed with error 3: " +
           long_text + u"\nPlease reinstall the application", 3},
  };
  for (const Case& c : cases) {
    EmulatedPlatform os;
    os.set_system_message(0x80070057u, u"x\r\n");
    os.set_system_message(0xFFFFFFFFu, u"x\r\n");
    os.set_system_message(3, long_text);
    os.remove_system_message(1234);
    EXPECT_EQ(Report(os, c.code, c.message, c.context), c.text) << c.code;
    EXPECT_EQ(os.exit_code(), c.exit_code);
  }
}

TEST(FatalError, AFailingTextLookupDoesNotChangeTheCode) {
  EmulatedPlatform os;
  os.FailNext(Op::FormatSystemMessage, 317);
  Report(os, 2, u"M", u"step");
  EXPECT_EQ(os.exit_code(), 2u);
}

}  // namespace
