#include "disk_test_support.h"

namespace {

class DiskPathRules : public DiskTest {};

TEST_F(DiskPathRules, ThePartTestRefusesOnlyColonAsteriskAndQuestionMark) {
  for (const char16_t* part : {u"", u"plain name.txt", u"<>|\"\\/", u"\u00e9\u4e2d"})
    EXPECT_TRUE(CDiskObject::IsValidPathPart(part)) << ToUtf8(part);
  for (const char16_t* part : {u"a:b", u"*", u"name?"}) EXPECT_FALSE(CDiskObject::IsValidPathPart(part)) << ToUtf8(part);
}

TEST_F(DiskPathRules, QualifyFileMakesThePathAbsolute) {
  os_.fs().AddShare(u"server", u"share");
  const WString long_name(300, u'n');
  const WString huge = u"C:\\" + WString(5000, u'h');
  struct Case {
    WString path;
    WString qualified;
    bool valid = true;
    WString current = kWork;
  } cases[] = {
      {u"sub/file.txt", u"C:\\data\\work\\sub\\file.txt"},
      {u"\\docs\\a.ofx", u"C:\\docs\\a.ofx"},
      {u"../sub/a.ofx", u"C:\\data\\sub\\a.ofx"},
      {u"..\\..\\..\\..\\a.ofx", u"C:\\\\a.ofx"},  // no step above the root
      {u"", u"C:\\data\\work\\"},
      {u"C:/x/y.ofx", u"C:\\x\\y.ofx"},
      {u"\\\\server\\share\\f.ofx", u"\\\\server\\share\\f.ofx"},
      {u"file.txt", u"C:\\\\file.txt", true, u"C:\\"},
      // Beyond the split's limits a file's path is qualified whole.
      {u"C:/" + long_name + u"/x.ofx", u"C:\\" + long_name + u"\\x.ofx"},
      {huge, huge},
      {u"a*b.txt", u"C:\\data\\work\\a*b.txt", false},
      {u"C:\\" + long_name + u"\\*.ofx", u"C:\\" + long_name + u"\\*.ofx", false},
  };
  for (const Case& c : cases) {
    os_.set_current_directory(c.current);
    disk_.ClearError();
    WString path = c.path;
    EXPECT_EQ(disk_.QualifyFile(path), c.valid) << ToUtf8(c.path.substr(0, 40));
    EXPECT_EQ(path, c.qualified) << ToUtf8(c.path.substr(0, 40));
    EXPECT_EQ(disk_.error_message, c.valid ? u"" : kInternalError) << ToUtf8(c.path.substr(0, 40));
    EXPECT_EQ(Current(), c.current) << ToUtf8(c.path.substr(0, 40));
  }
}

TEST_F(DiskPathRules, ARefusedParentStepFails) {
  os_.fs().DenyEnter(u"C:\\data");
  WString path = u"..\\up.ofx";
  EXPECT_FALSE(disk_.QualifyFile(path));
  EXPECT_EQ(path, u"..\\up.ofx");
  EXPECT_EQ(disk_.error_message, Message(err::kAccessDenied, u"..\\up.ofx"));
  EXPECT_EQ(Current(), kWork);
}

TEST_F(DiskPathRules, GetFileNameTakesWhatFollowsTheLastSeparator) {
  struct Case {
    const char16_t* path;
    const char16_t* name;
    bool internal_error;
  } cases[] = {
      {u"C:\\x\\a.ofx", u"a.ofx", false}, {u"x/y.ofx", u"y.ofx", false}, {u"C:\\x\\", u"", false},
      {u"C:a.ofx", u"", false},  // a drive-relative name is never joined, so no separator
      {u"*.ofx", u"", true},
  };
  for (const Case& c : cases) {
    disk_.ClearError();
    EXPECT_EQ(disk_.GetFileName(c.path), c.name) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.internal_error ? kInternalError : u"") << ToUtf8(c.path);
  }
}

TEST_F(DiskPathRules, ErrorTexts) {
  os_.set_system_message(1001, u" \t Padded text.\r\n\r\n ");
  os_.remove_system_message(1002);
  disk_.SetSystemError(1001, u"C:\\x");
  EXPECT_EQ(disk_.error_message, u"Padded text. C:\\x");
  disk_.SetSystemError(1002, u"C:\\x");
  EXPECT_EQ(disk_.error_message, u" C:\\x") << "no system text";
  os_.FailNext(Op::FormatSystemMessage, 8);
  disk_.SetSystemError(1001, u"d");
  EXPECT_EQ(disk_.error_message, u" d");
  disk_.SetInternalError();
  EXPECT_EQ(disk_.error_message, kInternalError);
}

}  // namespace
