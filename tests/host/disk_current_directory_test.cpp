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

TEST_F(DiskCurrentDirectory, OverlongPathsFailOrStayWhole) {
  const WString long_name(300, u'n');
  os_.fs().AddShare(u"server", u"share");
  // The overlong text joined to the current directory would name this one.
  os_.fs().WriteFile(u"C:\\data\\work\\" + long_name + u"\\x.ofx", "decoy");
  os_.fs().WriteFile(u"C:\\" + long_name + u"\\x.ofx", "the one named");
  const WString huge = u"C:\\" + WString(5000, u'h');
  for (const WString& path : {u"C:\\" + long_name + u"\\x.ofx", u"\\" + long_name + u"\\x.ofx", long_name, huge}) {
    WString copy = path;
    disk_.ClearError();
    EXPECT_FALSE(disk_.QualifyFile(copy)) << path.size();
    EXPECT_EQ(copy, path);
    EXPECT_EQ(disk_.error_message, kInternalError);
  }
  const WString network = u"\\\\server\\share\\" + long_name;
  EXPECT_FALSE(disk_.DirectoryExists(network)) << "left to the system";
  EXPECT_EQ(disk_.error_message, u"");
  EXPECT_FALSE(disk_.CreateDirectory(network));
  EXPECT_EQ(disk_.error_message, kInternalError);
  EXPECT_FALSE(disk_.DirectoryExists(huge));
  EXPECT_FALSE(disk_.CreateDirectory(huge));
  EXPECT_TRUE(Calls(Op::CreateDirectory).empty());

  CStringArray files;
  files.Add(u"\\" + long_name + u"\\x.ofx");
  files.Add(huge);
  EXPECT_FALSE(disk_.CopyFiles(files, u"C:\\out"));
  EXPECT_FALSE(os_.fs().ReadFileBytes(u"C:\\out\\x.ofx")) << "neither the decoy nor a copy under another name";
  EXPECT_EQ(Current(), kWork);
}

}  // namespace
