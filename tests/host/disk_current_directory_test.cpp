// The current directory after every operation is the one it found, also when
// the platform refuses something on the way.
#include <functional>

#include "disk_test_support.h"

namespace {

class DiskCurrentDirectory : public DiskTest {};

void Populate(EmulatedPlatform& os) {
  os.fs().WriteFile(u"C:\\in\\a.ofx", "a");
  os.fs().WriteFile(u"C:\\data\\up.ofx", "up");
  os.fs().MakeDirectories(u"C:\\docs");
  os.fs().MakeDirectories(u"C:\\data\\work");
  os.set_current_directory(u"C:\\data\\work");
}

using Operation = std::function<bool(CDiskObject&)>;
const std::pair<const char*, Operation> kOperations[] = {
    {"exists", [](CDiskObject& d) { return d.DirectoryExists(u"..\\..\\docs"); }},
    {"create", [](CDiskObject& d) { return d.CreateDirectory(u"..\\new\\level"); }},
    {"copy", [](CDiskObject& d) {
       CStringArray files;
       files.Add(u"..\\up.ofx");
       files.Add(u"C:\\in\\a.ofx");
       return d.CopyFiles(files, u"..\\incoming", u"..\\staging");
     }},
};

// Every counted call of each operation is made to fail in turn, the return
// itself included.
TEST(DiskCurrentDirectoryWalk, EveryRefusedCallLeavesItWhereItWas) {
  for (const auto& [name, operation] : kOperations) {
    long calls = 0;
    {
      EmulatedPlatform dry;
      ScopedPlatform installed(dry);
      Populate(dry);
      CDiskObject disk;
      EXPECT_TRUE(operation(disk)) << name;
      calls = dry.call_count();
    }
    ASSERT_GT(calls, 3) << name;
    for (long n = 1; n <= calls; ++n) {
      EmulatedPlatform os;
      ScopedPlatform installed(os);
      Populate(os);
      os.FailCallNumber(n, err::kAccessDenied);
      CDiskObject disk;
      operation(disk);
      EXPECT_EQ(os.current_directory(), u"C:\\data\\work") << name << " call " << n;
    }
  }
}

TEST_F(DiskCurrentDirectory, ARefusedReturnIsTriedAgain) {
  os_.fs().MakeDirectories(u"C:\\docs");
  os_.FailNext(Op::SetCurrentDirectory, err::kSharingViolation, 2);  // the return after the check
  os_.SetLastError(0xDEADBEEF);
  EXPECT_TRUE(disk_.DirectoryExists(u"C:\\docs"));
  EXPECT_EQ(Current(), kWork);
  EXPECT_EQ(os_.GetLastError(), 0xDEADBEEFu) << "the refused return leaves no error behind";
}

// Within the classic limit the return is certain; beyond it this emulated
// system, like Windows without long-path support, cannot return there, so
// nothing moves. Reading such a directory still gives it whole.
TEST_F(DiskCurrentDirectory, BeyondMaxPathNothingMoves) {
  os_.fs().MakeDirectories(u"C:\\docs");
  for (size_t length : {258u, 259u, 400u}) {
    WString deep = u"C:\\deep";
    while (deep.size() < length) deep += u"\\" + WString(std::min<size_t>(20, length - deep.size() - 1), u'd');
    os_.fs().MakeDirectories(deep);
    os_.set_current_directory(deep);
    const bool movable = length <= 258;
    const WString made = u"C:\\new" + DecimalText(length);
    size_t moves = Calls(Op::SetCurrentDirectory).size();
    EXPECT_EQ(disk_.DirectoryExists(u"C:\\docs"), movable) << length;
    EXPECT_EQ(disk_.CreateDirectory(made), movable) << length;
    EXPECT_EQ(os_.fs().IsDirectory(made), movable) << length;
    EXPECT_EQ(Current(), deep) << length;
    if (!movable) {
      EXPECT_EQ(disk_.error_message, Message(err::kFilenameExcedRange, deep)) << length;
      EXPECT_EQ(Calls(Op::SetCurrentDirectory).size(), moves + 2) << "only the tries to enter it again";
    }
    WString path = u"a.ofx";
    EXPECT_TRUE(disk_.QualifyFile(path));
    EXPECT_EQ(path, deep + u"\\a.ofx");
  }
}

// Directories keep the split's limit and say why they are refused.
TEST_F(DiskCurrentDirectory, OverlongDirectoriesAreRefusedAsNamesTooLong) {
  const WString longest = u"C:\\" + WString(253, u'x');  // with its separator, 255 after the drive
  const WString over = longest + u"y";
  os_.fs().MakeDirectories(longest);
  os_.fs().MakeDirectories(over);
  EXPECT_TRUE(disk_.DirectoryExists(longest));
  os_.SetLastError(0);
  size_t moves = Calls(Op::SetCurrentDirectory).size();
  EXPECT_FALSE(disk_.DirectoryExists(over));
  EXPECT_EQ(disk_.error_message, kInternalError);
  EXPECT_EQ(disk_.error_code, err::kFilenameExcedRange) << "what a fatal box then reports";
  EXPECT_EQ(Calls(Op::SetCurrentDirectory).size(), moves) << "never entered";
  os_.SetLastError(0);
  EXPECT_FALSE(disk_.CreateDirectory(over + u"\\new"));
  EXPECT_EQ(disk_.error_code, err::kFilenameExcedRange);
  EXPECT_TRUE(Calls(Op::CreateDirectory).empty());
}

}  // namespace
