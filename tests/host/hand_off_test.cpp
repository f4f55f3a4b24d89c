// Documents copied into the incoming folder, on the emulated machine.
#include <algorithm>

#include "handoff/hand_off.h"
#include "platform/emulated_platform.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kAppData = u"C:\\users\\user\\AppData\\Roaming";
constexpr const char16_t* kIncoming = u"C:\\users\\user\\AppData\\Roaming\\.ledgrix\\system\\incoming";

class HandOff : public ::testing::Test {
 protected:
  HandOff() {
    os_.set_special_folder(kCsidlAppData, kAppData);
    os_.fs().MakeDirectories(kAppData);
    os_.fs().WriteFile(u"C:\\docs\\a.qif", "a");
    os_.fs().WriteFile(u"C:\\docs\\b.ofx", "b");
    os_.fs().WriteFile(u"C:\\other\\a.qif", "other a");
  }
  void HandOver(std::initializer_list<WString> paths) {
    ScopedPlatform installed(os_);
    CStringArray list;
    for (const WString& path : paths) list.Add(path);
    CDiskObject disk;
    HandOffDocuments(list, disk);
  }
  std::optional<std::string> Incoming(const WString& name) {
    return os_.fs().ReadFileBytes(WString(kIncoming) + u"\\" + name);
  }
  size_t IndexOf(const std::string& prefix) {
    const auto& log = os_.log();
    return std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }) -
           log.begin();
  }

  EmulatedPlatform os_;
};

TEST_F(HandOff, CreatesTheFolderReplacesOlderCopiesAndSkipsEmptyEntries) {
  HandOver({u"C:\\docs\\b.ofx"});
  EXPECT_TRUE(os_.fs().IsDirectory(kIncoming)) << "a first hand-off creates every level";
  os_.fs().WriteFile(WString(kIncoming) + u"\\b.ofx", "older");
  HandOver({u"", u"C:\\docs\\a.qif", u"", u"C:\\docs\\b.ofx", u"C:\\other\\a.qif"});
  EXPECT_EQ(os_.fs().List(kIncoming), (std::vector<WString>{u"a.qif", u"b.ofx"}));
  EXPECT_EQ(Incoming(u"a.qif"), std::optional<std::string>("other a")) << "of two with one name the later stays";
  EXPECT_EQ(Incoming(u"b.ofx"), std::optional<std::string>("b"));
  EXPECT_EQ(os_.fs().ReadFileBytes(u"C:\\docs\\a.qif"), std::optional<std::string>("a")) << "the original stays";
}

TEST_F(HandOff, AFailedFolderLookupCopiesNothing) {
  os_.FailNext(Op::GetSpecialFolderPath, 0x80004005u);
  long calls_before = os_.call_count();
  HandOver({u"C:\\docs\\a.qif"});
  EXPECT_EQ(os_.call_count(), calls_before + 1) << "only the lookup ran";
  EXPECT_EQ(os_.fs().List(kAppData), std::vector<WString>{});
}

class HandOffStart : public HandOff {
 protected:
  HandOffStart() {
    os_.set_module_file_name(u"C:\\Apps\\Finance\\bin\\ledgrix.exe");
    os_.fs().WriteFile(u"C:\\Apps\\Finance\\ledgrix.boot",
                       "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\Finance\\jre\nlib-classpath=lib\\app.jar;\n");
    os_.fs().WriteFile(u"C:\\Apps\\Finance\\jre\\bin\\javaw.exe", "MZ");
  }
};

TEST_F(HandOffStart, WithoutADocumentTheFolderIsNeitherLookedUpNorCreated) {
  EXPECT_EQ(RunEmulatedStart(os_, u"ledgrix.exe -i C:\\docs\\a.qif").exit_code, 0u);
  EXPECT_EQ(os_.processes().size(), 1u);
  EXPECT_EQ(IndexOf("GetSpecialFolderPath"), os_.log().size());
  EXPECT_EQ(os_.fs().List(kAppData), std::vector<WString>{});
}

TEST_F(HandOffStart, AFirstStartHandsItsDocumentsOverBeforeTheApplicationStarts) {
  EXPECT_EQ(RunEmulatedStart(os_, u"ledgrix.exe -I C:\\docs\\a.qif -I \"C:\\docs\\b.ofx\"").exit_code, 0u);
  ASSERT_EQ(os_.processes().size(), 1u);
  EXPECT_LT(IndexOf("CopyFile C:\\docs\\a.qif"), IndexOf("CreateProcess"));
  EXPECT_LT(IndexOf("CopyFile C:\\docs\\b.ofx"), IndexOf("CreateProcess"));
  EXPECT_EQ(os_.fs().List(kIncoming), (std::vector<WString>{u"a.qif", u"b.ofx"}));
}

}  // namespace
