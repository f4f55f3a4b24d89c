#include "disk_test_support.h"

namespace {

class DiskPathRules : public DiskTest {};

TEST_F(DiskPathRules, ThePartTestRefusesOnlyColonAsteriskAndQuestionMark) {
  struct Case {
    const char16_t* part;
    bool valid;
  } cases[] = {
      {u"", true},          {u"plain name.txt", true}, {u"<>|\"\\/", true}, {u"\u00e9\u4e2d", true},
      {u"a:b", false},      {u"*", false},             {u"name?", false},   {u":", false},
  };
  for (const Case& c : cases) EXPECT_EQ(CDiskObject::IsValidPathPart(c.part), c.valid) << ToUtf8(c.part);
}

struct QualifyCase {
  const char16_t* current;
  const char16_t* path;
  const char16_t* qualified;
  bool valid;
};

TEST_F(DiskPathRules, QualifyFileMakesThePathAbsolute) {
  os_.fs().MakeDirectories(u"C:\\data\\sub");
  os_.fs().AddShare(u"server", u"share");
  os_.fs().MakeDirectories(u"\\\\server\\share\\dir");
  const QualifyCase cases[] = {
      {kWork, u"file.txt", u"C:\\data\\work\\file.txt", true},
      {kWork, u"sub\\file.txt", u"C:\\data\\work\\sub\\file.txt", true},
      {kWork, u"sub/file.txt", u"C:\\data\\work\\sub\\file.txt", true},
      {kWork, u"\\docs\\a.ofx", u"C:\\docs\\a.ofx", true},
      {kWork, u"..\\a.ofx", u"C:\\data\\a.ofx", true},
      {kWork, u"..\\sub\\a.ofx", u"C:\\data\\sub\\a.ofx", true},
      {kWork, u"../sub/a.ofx", u"C:\\data\\sub\\a.ofx", true},
      {kWork, u"..\\..\\a.ofx", u"C:\\\\a.ofx", true},
      {kWork, u"..\\..\\..\\..\\a.ofx", u"C:\\\\a.ofx", true},  // no step above the root
      {kWork, u"..\\", u"C:\\data\\", true},
      {kWork, u"..", u"C:\\data\\work\\..", true},
      {kWork, u"", u"C:\\data\\work\\", true},
      {kWork, u"C:\\x\\y.ofx", u"C:\\x\\y.ofx", true},
      {kWork, u"C:/x/y.ofx", u"C:\\x\\y.ofx", true},
      {kWork, u"C:rel\\y.ofx", u"C:rel\\y.ofx", true},
      {kWork, u"\\\\server\\share\\f.ofx", u"\\\\server\\share\\f.ofx", true},
      {u"C:\\", u"file.txt", u"C:\\\\file.txt", true},
      {u"C:\\", u"\\docs\\a.ofx", u"C:\\docs\\a.ofx", true},
      {u"C:\\", u"..\\a.ofx", u"C:\\\\a.ofx", true},
      {u"\\\\server\\share\\dir", u"a.ofx", u"\\\\server\\share\\dir\\a.ofx", true},
      {u"\\\\server\\share\\dir", u"\\docs\\a.ofx", u"\\docs\\a.ofx", true},  // no drive to add
      {kWork, u"a*b.txt", u"C:\\data\\work\\a*b.txt", false},
      {kWork, u"dir?\\x", u"C:\\data\\work\\dir?\\x", false},
      {kWork, u"x.t:t", u"C:\\data\\work\\x.t:t", false},
      {kWork, u"C:\\a:b\\c", u"C:\\a:b\\c", false},
      {kWork, u"C:*", u"C:*", false},
      {kWork, u"\\\\server\\share\\a*b", u"\\\\server\\share\\a*b", false},
  };
  for (const QualifyCase& c : cases) {
    os_.set_current_directory(c.current);
    disk_.ClearError();
    WString path = c.path;
    EXPECT_EQ(disk_.QualifyFile(path), c.valid) << ToUtf8(c.path);
    EXPECT_EQ(path, c.qualified) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.valid ? u"" : kInternalError) << ToUtf8(c.path);
    EXPECT_EQ(Current(), c.current) << ToUtf8(c.path);
  }
}

TEST_F(DiskPathRules, QualifyDirectoryEndsWithASeparatorAndLeavesNetworkPathsAlone) {
  const QualifyCase cases[] = {
      {kWork, u"", u"C:\\data\\work\\", true},
      {kWork, u"sub", u"C:\\data\\work\\sub\\", true},
      {kWork, u"..\\x", u"C:\\data\\x\\", true},
      {kWork, u"C:/x/y", u"C:\\x\\y\\", true},
      {kWork, u"C:\\x\\", u"C:\\x\\", true},
      {kWork, u"C:", u"C:\\", true},
      {kWork, u"C:dir", u"C:dir\\", true},
      {kWork, u"//server/share/a*?", u"\\\\server\\share\\a*?\\", true},
      {kWork, u"\\\\", u"\\\\", true},
      {u"C:\\", u"sub", u"C:\\\\sub\\", true},
      {kWork, u"a*b", u"C:\\data\\work\\a*b\\", false},
      {kWork, u"C:\\x:y", u"C:\\x:y\\", false},
  };
  for (const QualifyCase& c : cases) {
    os_.set_current_directory(c.current);
    disk_.ClearError();
    WString path = c.path;
    EXPECT_EQ(disk_.QualifyDirectory(path), c.valid) << ToUtf8(c.path);
    EXPECT_EQ(path, c.qualified) << ToUtf8(c.path);
    EXPECT_EQ(disk_.error_message, c.valid ? u"" : kInternalError) << ToUtf8(c.path);
  }
}

TEST_F(DiskPathRules, GetFileNameTakesWhatFollowsTheLastSeparator) {
  struct Case {
    const char16_t* path;
    const char16_t* name;
    bool internal_error;
  } cases[] = {
      {u"C:\\x\\a.ofx", u"a.ofx", false}, {u"a.ofx", u"a.ofx", false},   {u"..\\a.ofx", u"a.ofx", false},
      {u"x/y.ofx", u"y.ofx", false},      {u"C:\\x\\", u"", false},      {u"", u"", false},
      {u"C:a.ofx", u"", false},  // a drive-relative name is never joined, so no separator
      {u"*.ofx", u"", true},              {u"C:\\a:b\\c.ofx", u"", true},
  };
  for (const Case& c : cases) {
    disk_.ClearError();
    const WString path = c.path;
    EXPECT_EQ(disk_.GetFileName(path), c.name) << ToUtf8(c.path);
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(disk_.error_message, c.internal_error ? kInternalError : u"") << ToUtf8(c.path);
  }
}

TEST_F(DiskPathRules, ErrorTexts) {
  os_.set_system_message(1001, u" \t Padded text.\r\n\r\n ");
  os_.remove_system_message(1002);
  struct Case {
    uint32_t code;
    const char16_t* detail;
    const char16_t* text;
  } cases[] = {
      {1001, u"C:\\x", u"Padded text. C:\\x"},
      {1001, u"", u"Padded text."},
      {1002, u"C:\\x", u" C:\\x"},  // no system text
      {1002, u"", u""},
  };
  for (const Case& c : cases) {
    disk_.error_message = u"stale";
    disk_.SetSystemError(c.code, c.detail);
    EXPECT_EQ(disk_.error_message, c.text) << c.code << " " << ToUtf8(c.detail);
  }
  os_.FailNext(Op::FormatSystemMessage, 8);
  disk_.SetSystemError(1001, u"d");
  EXPECT_EQ(disk_.error_message, u" d");

  disk_.SetInternalError();
  EXPECT_EQ(disk_.error_message.size(), 50u);
  WString path = u"C:\\fine";
  EXPECT_TRUE(disk_.QualifyFile(path));
  EXPECT_EQ(disk_.error_message, kInternalError) << "only the public operations clear it";
}

}  // namespace
