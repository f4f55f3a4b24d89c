// What the disk operations ask of the system, what they answer and the text
// and code of their last failure.
#include <functional>

#include "disk/disk_object.h"
#include "fake_system.h"

namespace {

TEST(DiskObject, AnswersAndKeepsTheTextAndCodeOfTheLastFailure) {
  const std::vector<WString> two = {u"C:\\in\\a.qif", u"", u"C:\\in\\b.qif"};
  auto copy = [](std::vector<WString> files, WString destination = u"C:\\dest") {
    return [=](CDiskObject& disk) { return disk.CopyFiles(files, destination, u"C:\\stage"); };
  };
  auto exists = [](WString path) { return [path](CDiskObject& disk) { return disk.DirectoryExists(path); }; };
  auto create = [](WString path) { return [path](CDiskObject& disk) { return disk.CreateDirectory(path); }; };
  const std::string kReady = "CreateDirectory EnterDirectory CreateDirectory EnterDirectory ";
  const char16_t* kInternal = u"CDiskObject internal error - check call parameters";
  struct Case {
    const char* fail;
    uint32_t code;
    std::function<bool(CDiskObject&)> operation;
    bool result;
    const char16_t* error_message;
    uint32_t error_code;
    std::string calls;
  } cases[] = {
      {"", 5, copy(two), true, u"", 0, kReady + "CopyFile MoveFile CopyFile MoveFile"},
      {"CopyFile", 5, copy(two), false, u"text of 5 C:\\in\\a.qif -> C:\\dest\\a.qif", 5, kReady + "CopyFile DeleteFile SystemText"},
      {"CopyFile", 317, copy(two), false, u" C:\\in\\a.qif -> C:\\dest\\a.qif", 317, kReady + "CopyFile DeleteFile SystemText"},
      {"MoveFile", 5, copy(two), false, u"text of 5 C:\\in\\a.qif -> C:\\dest\\a.qif", 5, kReady + "CopyFile MoveFile DeleteFile SystemText"},
      {"EnterDirectory", 5, copy(two), false, u"text of 5 C:\\dest", 5, "CreateDirectory EnterDirectory SystemText"},
      {"CurrentDirectory", 5, copy({u"a.qif"}), false, u"text of 5 a.qif", 5, kReady + "CurrentDirectory SystemText"},
      {"", 5, copy({u"", u"a.qif"}), true, u"", 0, kReady + "CurrentDirectory CopyFile MoveFile"},
      {"", 5, copy({u"", u"C:\\a.qif"}), true, u"", 0, kReady + "CopyFile MoveFile"},
      {"", 5, copy(two, u"C:\\d*"), false, kInternal, 0, ""},
      {"", 5, copy({}), false, kInternal, 0, ""},
      {"", 5, exists(u""), false, kInternal, 0, ""},
      {"", 5, exists(u"C:\\a*"), false, kInternal, 0, ""},
      {"", 5, exists(u"C:\\" + WString(300, u'x')), false, kInternal, kErrorFilenameTooLong, ""},
      {"EnterDirectory", 5, exists(u"C:\\x"), false, u"", 5, "EnterDirectory"},
      {"", 5, exists(u"x"), true, u"", 0, "CurrentDirectory EnterDirectory"},
      {"", 5, exists(u"\\d"), true, u"", 0, "CurrentDirectory EnterDirectory"},
      {"", 5, exists(u"\\\\srv\\s"), true, u"", 0, "EnterDirectory"},
      {"", 5, exists(u"//srv/s"), true, u"", 0, "EnterDirectory"},
      {"", 5, exists(u"C:"), true, u"", 0, "EnterDirectory"},
      {"", 5, copy(two, u""), true, u"", 0, "CurrentDirectory " + kReady + "CopyFile MoveFile CopyFile MoveFile"},
      {"", 5, create(u"C:\\a\\b"), true, u"", 0, "CreateDirectory CreateDirectory EnterDirectory"},
      {"", 5, create(u""), false, kInternal, 0, ""},
      {"", 5, create(u"\\\\srv\\" + WString(300, u's')), false, kInternal, 0, ""},
  };
  for (const Case& c : cases) {
    fake = FakeSystem{{}, true, false, c.fail, c.code};
    CDiskObject disk;
    disk.error_message = u"earlier", disk.error_code = 9;
    EXPECT_EQ(c.operation(disk), c.result) << c.calls;
    EXPECT_EQ(Narrow(disk.error_message), Narrow(c.error_message)) << c.calls;
    EXPECT_EQ(disk.error_code, c.error_code) << c.calls;
    std::string calls;
    for (const std::string& call : fake.calls) calls += (calls.empty() ? "" : " ") + call;
    EXPECT_EQ(calls, c.calls);
  }
}

}  // namespace
