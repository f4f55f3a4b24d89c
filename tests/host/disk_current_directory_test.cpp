// The current directory after every operation is the one it found, also when
// the platform refuses something on the way; and what happens when that
// directory is longer than the classic limit.
#include <functional>

#include "disk_test_support.h"

namespace {

class DiskCurrentDirectory : public DiskTest {
 protected:
  void SetUp() override { Populate(os_); }
  static void Populate(EmulatedPlatform& os) {
    os.fs().WriteFile(u"C:\\in\\a.ofx", "a");
    os.fs().WriteFile(u"C:\\data\\up.ofx", "up");
    os.fs().MakeDirectories(u"C:\\docs");
  }
  // A directory of exactly `length` characters below C:\deep.
  WString Deep(size_t length) {
    WString path = u"C:\\deep";
    while (path.size() < length) path += u"\\" + WString(std::min<size_t>(20, length - path.size() - 1), u'd');
    os_.fs().MakeDirectories(path);
    return path;
  }
};

using Operation = std::function<bool(CDiskObject&)>;
const std::pair<const char*, Operation> kOperations[] = {
    {"exists", [](CDiskObject& d) { return d.DirectoryExists(u"..\\..\\docs"); }},
    {"create", [](CDiskObject& d) { return d.CreateDirectory(u"..\\new\\level"); }},
    {"copy", [](CDiskObject& d) {
       CStringArray files;
       files.Add(u"..\\up.ofx");
       files.Add(u"C:\\in\\a.ofx");
       return d.CopyFiles(files, u"..\\incoming");
     }},
};

// Every counted call of each operation is made to fail in turn, the return
// itself included: a refused return is tried again.
TEST_F(DiskCurrentDirectory, EveryRefusedCallLeavesItWhereItWas) {
  for (const auto& [name, operation] : kOperations) {
    long calls = 0;
    {
      EmulatedPlatform dry;
      ScopedPlatform installed(dry);
      Populate(dry);
      dry.fs().MakeDirectories(kWork);
      dry.set_current_directory(kWork);
      CDiskObject disk;
      EXPECT_TRUE(operation(disk)) << name;
      calls = dry.call_count();
    }
    ASSERT_GT(calls, 3) << name;
    for (long n = 1; n <= calls; ++n) {
      EmulatedPlatform os;
      ScopedPlatform installed(os);
      Populate(os);
      os.fs().MakeDirectories(kWork);
      os.set_current_directory(kWork);
      os.FailCallNumber(n, err::kAccessDenied);
      CDiskObject disk;
      operation(disk);
      EXPECT_EQ(os.current_directory(), kWork) << name << " call " << n;
    }
  }
}

TEST_F(DiskCurrentDirectory, ARefusedReturnIsTriedAgainAndKeepsTheOperationsError) {
  os_.FailNext(Op::SetCurrentDirectory, err::kSharingViolation, 2);  // the return after the check
  os_.SetLastError(0xDEADBEEF);
  EXPECT_TRUE(disk_.DirectoryExists(u"C:\\data"));
  EXPECT_EQ(Current(), kWork);
  EXPECT_EQ(os_.GetLastError(), 0xDEADBEEFu) << "the refused return leaves no error behind";
}

TEST_F(DiskCurrentDirectory, ARefusedParentStepNeverNamesAnotherFile) {
  os_.fs().WriteFile(u"C:\\data\\work\\up.ofx", "the file in the current directory");
  os_.fs().DenyEnter(u"C:\\data");
  WString path = u"..\\up.ofx";
  EXPECT_FALSE(disk_.QualifyFile(path));
  EXPECT_EQ(path, u"..\\up.ofx");
  EXPECT_EQ(disk_.error_message, Message(err::kAccessDenied, u"..\\up.ofx"));
  EXPECT_EQ(Current(), kWork);

  CStringArray files;
  files.Add(u"..\\up.ofx");
  EXPECT_FALSE(disk_.CopyFiles(files, u"C:\\out"));
  EXPECT_FALSE(os_.fs().ReadFileBytes(u"C:\\out\\up.ofx"));
  EXPECT_EQ(Current(), kWork);
}

// Within the limit the return is certain; beyond it this emulated system, like
// Windows without long-path support, cannot return there, so nothing moves.
TEST_F(DiskCurrentDirectory, BeyondTheLimitNothingMoves) {
  for (size_t length : {258u, 259u, 300u, 3000u}) {
    const WString deep = Deep(length);
    const bool movable = length <= 258;
    const WString refusal = Message(err::kFilenameExcedRange, deep);
    struct Case {
      const char* what;
      std::function<bool()> run;
      bool succeeds_when_movable;
    } cases[] = {
        {"exists", [&] { return disk_.DirectoryExists(u"C:\\docs"); }, true},
        {"create", [&] { return disk_.CreateDirectory(u"C:\\new" + DecimalText(length)); }, true},
        {"copy", [&] {
           CStringArray files;
           files.Add(u"C:\\in\\a.ofx");
           return disk_.CopyFiles(files, u"C:\\out" + DecimalText(length));
         }, true},
        {"parent step", [&] {
           WString path = u"..\\a.ofx";
           disk_.ClearError();
           return disk_.QualifyFile(path) && path == deep.substr(0, deep.rfind(u'\\')) + u"\\a.ofx";
         }, true},
    };
    for (const Case& c : cases) {
      os_.set_current_directory(deep);
      size_t logged = os_.log().size();
      EXPECT_EQ(c.run(), movable) << c.what << " " << length;
      EXPECT_EQ(Current(), deep) << c.what << " " << length;
      if (movable) continue;
      EXPECT_EQ(disk_.error_message, refusal) << c.what << " " << length;
      std::vector<std::string> moves;
      for (size_t i = logged; i < os_.log().size(); ++i)
        if (os_.log()[i].rfind("SetCurrentDirectory", 0) == 0 || os_.log()[i].rfind("CreateDirectory", 0) == 0 ||
            os_.log()[i].rfind("CopyFile", 0) == 0)
          moves.push_back(os_.log()[i]);
      EXPECT_EQ(moves.size(), 1u) << c.what << ": only the try to enter it again";
    }
    EXPECT_EQ(os_.fs().IsDirectory(u"C:\\new" + DecimalText(length)), movable);
  }
}

TEST_F(DiskCurrentDirectory, ALongDirectoryIsJoinedWhole) {
  const WString deep = Deep(400);
  os_.set_current_directory(deep);
  WString path = u"a.ofx";
  EXPECT_TRUE(disk_.QualifyFile(path));
  EXPECT_EQ(path, deep + u"\\a.ofx");
  EXPECT_EQ(Calls(Op::GetCurrentDirectory).size(), 2u) << "the classic buffer, then the size asked for";
}

TEST_F(DiskCurrentDirectory, AnUnreadableCurrentDirectoryMovesNothing) {
  struct Case {
    const char* what;
    std::function<bool()> run;
    WString error;
  } cases[] = {
      {"exists", [&] { return disk_.DirectoryExists(u"C:\\docs"); }, Message(err::kNotEnoughMemory, u"C:\\docs\\")},
      {"create", [&] { return disk_.CreateDirectory(u"C:\\fresh"); }, Message(err::kNotEnoughMemory, u"C:\\fresh\\")},
      {"relative", [&] {
         WString path = u"a.ofx";
         return disk_.QualifyFile(path);
       }, Message(err::kNotEnoughMemory, u"a.ofx")},
  };
  for (const Case& c : cases) {
    os_.FailNext(Op::GetCurrentDirectory, err::kNotEnoughMemory);
    size_t moves = Calls(Op::SetCurrentDirectory).size();
    EXPECT_FALSE(c.run()) << c.what;
    EXPECT_EQ(disk_.error_message, c.error) << c.what;
    EXPECT_EQ(Calls(Op::SetCurrentDirectory).size(), moves) << c.what;
  }
  EXPECT_FALSE(os_.fs().IsDirectory(u"C:\\fresh"));
}

// Beyond the C runtime's split capacities a file's path is qualified whole and
// names exactly what it says; the system then decides whether it can use it.
TEST_F(DiskCurrentDirectory, OverlongFilePathsStayWhole) {
  const WString long_name(300, u'n');
  const WString huge = u"C:\\" + WString(5000, u'h');
  struct Case {
    WString path;
    WString qualified;
  } cases[] = {
      {u"C:\\" + long_name + u"\\x.ofx", u"C:\\" + long_name + u"\\x.ofx"},
      {u"C:/" + long_name + u"/x.ofx", u"C:\\" + long_name + u"\\x.ofx"},
      {u"\\" + long_name + u"\\x.ofx", u"C:\\" + long_name + u"\\x.ofx"},
      {long_name, WString(kWork) + u"\\" + long_name},
      {u"..\\" + long_name + u"\\x.ofx", u"C:\\data\\" + long_name + u"\\x.ofx"},
      {huge, huge},
  };
  for (const Case& c : cases) {
    WString copy = c.path;
    disk_.ClearError();
    EXPECT_TRUE(disk_.QualifyFile(copy)) << c.path.size();
    EXPECT_EQ(copy, c.qualified) << c.path.size();
    EXPECT_EQ(disk_.error_message, u"") << c.path.size();
    EXPECT_EQ(Current(), kWork);
  }
  WString wildcard = u"C:\\" + long_name + u"\\*.ofx";
  EXPECT_FALSE(disk_.QualifyFile(wildcard)) << "the character test still holds";
  EXPECT_EQ(disk_.error_message, kInternalError);
}

TEST_F(DiskCurrentDirectory, ARootedPathTakesTheDriveOfALongCurrentDirectory) {
  const WString deep = u"D:\\" + WString(200, u'd') + u"\\" + WString(200, u'e') + u"\\f";
  os_.fs().MakeDirectories(deep);
  os_.set_current_directory(deep);
  WString path = u"\\docs\\a.ofx";
  EXPECT_TRUE(disk_.QualifyFile(path));
  EXPECT_EQ(path, u"D:\\docs\\a.ofx");
}

// A document in deep folders reaches the incoming folder under its own name:
// the copy gets the whole path. The emulated system copies it, as Wine does;
// Windows without long-path support refuses it with its own error.
TEST_F(DiskCurrentDirectory, AnOverlongDocumentIsCopiedWholeAndTheCopyStopsAtTheSystemsRefusal) {
  const WString long_name(300, u'n');
  os_.fs().WriteFile(u"C:\\data\\work\\" + long_name + u"\\x.ofx", "a decoy below the current directory");
  os_.fs().WriteFile(u"C:\\" + long_name + u"\\x.ofx", "the one named");
  os_.fs().WriteFile(u"C:\\in\\after.ofx", "after");
  const WString missing = u"C:\\" + long_name + u"\\" + WString(250, u'm') + u".qif";
  CStringArray files;
  files.Add(u"\\" + long_name + u"\\x.ofx");
  files.Add(missing);
  files.Add(u"C:\\in\\after.ofx");
  EXPECT_FALSE(disk_.CopyFiles(files, u"C:\\out"));
  EXPECT_EQ(os_.fs().ReadFileBytes(u"C:\\out\\x.ofx"), std::optional<std::string>("the one named"));
  std::vector<std::string> copies = Calls(Op::CopyFile);
  ASSERT_EQ(copies.size(), 2u) << "none after the refusal";
  EXPECT_NE(copies[1].find(ToUtf8(missing)), std::string::npos) << copies[1];
  EXPECT_EQ(disk_.error_message,
            Message(err::kFileNotFound, missing + u" -> C:\\out\\" + WString(250, u'm') + u".qif"));
  EXPECT_FALSE(os_.fs().ReadFileBytes(u"C:\\out\\after.ofx"));
  EXPECT_EQ(Current(), kWork);
}

// Directories keep the split's limit, and say why they are refused.
TEST_F(DiskCurrentDirectory, OverlongDirectoriesAreRefusedAsNamesTooLong) {
  const WString longest = u"C:\\" + WString(253, u'x');  // with its separator, 255 after the drive
  const WString over = longest + u"y";
  const WString huge = u"C:\\" + WString(5000, u'h');
  os_.fs().MakeDirectories(longest);
  os_.fs().MakeDirectories(over);
  os_.fs().AddShare(u"server", u"share");
  os_.SetLastError(0);
  EXPECT_TRUE(disk_.DirectoryExists(longest));
  for (const WString& directory : {over, huge}) {
    os_.SetLastError(0);
    size_t moves = Calls(Op::SetCurrentDirectory).size();
    EXPECT_FALSE(disk_.DirectoryExists(directory)) << directory.size();
    EXPECT_EQ(disk_.error_message, kInternalError);
    EXPECT_EQ(os_.GetLastError(), err::kFilenameExcedRange) << "what a fatal box then reports";
    EXPECT_EQ(Calls(Op::SetCurrentDirectory).size(), moves) << "never entered";
    os_.SetLastError(0);
    EXPECT_FALSE(disk_.CreateDirectory(directory + u"\\new"));
    EXPECT_EQ(os_.GetLastError(), err::kFilenameExcedRange);
  }
  EXPECT_TRUE(Calls(Op::CreateDirectory).empty());

  const WString network = u"\\\\server\\share\\" + WString(300, u'n');
  EXPECT_FALSE(disk_.DirectoryExists(network)) << "left to the system";
  EXPECT_EQ(disk_.error_message, u"");
  EXPECT_FALSE(disk_.CreateDirectory(network)) << "its levels cannot be cut";
  EXPECT_EQ(disk_.error_message, kInternalError);
  EXPECT_EQ(Current(), kWork);
}

}  // namespace
