// Documents copied into the incoming folder, on the emulated machine.
#include <algorithm>

#include "handoff/hand_off.h"
#include "launcher/instance_mutex.h"
#include "platform/emulated_platform.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kAppData = u"C:\\users\\user\\AppData\\Roaming";
constexpr const char16_t* kIncoming = u"C:\\users\\user\\AppData\\Roaming\\.ledgrix\\system\\incoming";

bool Logged(const EmulatedPlatform& os, const std::string& prefix) {
  return std::any_of(os.log().begin(), os.log().end(),
                     [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

CStringArray ListOf(std::initializer_list<WString> paths) {
  CStringArray list;
  for (const WString& path : paths) list.Add(path);
  return list;
}

class HandOff : public ::testing::Test {
 protected:
  HandOff() : installed_(os_) {
    os_.set_special_folder(kCsidlAppData, kAppData);
    os_.fs().MakeDirectories(kAppData);
    os_.fs().WriteFile(u"C:\\docs\\a.qif", "a");
    os_.fs().WriteFile(u"C:\\docs\\b.ofx", "b");
    os_.fs().WriteFile(u"C:\\other\\a.qif", "other a");
  }
  std::optional<std::string> Incoming(const WString& name) {
    return os_.fs().ReadFileBytes(WString(kIncoming) + u"\\" + name);
  }

  EmulatedPlatform os_;
  ScopedPlatform installed_;
  CDiskObject disk_;
};

TEST_F(HandOff, AFirstHandOffCreatesEveryLevelOfTheIncomingFolder) {
  HandOffDocuments(ListOf({u"C:\\docs\\a.qif"}), disk_);
  EXPECT_EQ(std::count(os_.log().begin(), os_.log().end(), "GetSpecialFolderPath 26"), 1)
      << "the roaming application-data folder, once, not created by the shell";
  EXPECT_TRUE(os_.fs().IsDirectory(WString(kAppData) + u"\\.ledgrix\\system"));
  EXPECT_TRUE(os_.fs().IsDirectory(kIncoming));
  EXPECT_EQ(Incoming(u"a.qif"), std::optional<std::string>("a"));
  EXPECT_EQ(os_.fs().ReadFileBytes(u"C:\\docs\\a.qif"), std::optional<std::string>("a")) << "the original stays";
  EXPECT_EQ(os_.current_directory(), u"C:\\");
}

TEST_F(HandOff, ANewerDocumentReplacesAnOlderCopy) {
  os_.fs().WriteFile(WString(kIncoming) + u"\\a.qif", "older");
  os_.fs().WriteFile(WString(kIncoming) + u"\\kept.ofx", "kept");
  HandOffDocuments(ListOf({u"C:\\docs\\a.qif"}), disk_);
  EXPECT_EQ(Incoming(u"a.qif"), std::optional<std::string>("a"));
  EXPECT_EQ(Incoming(u"kept.ofx"), std::optional<std::string>("kept")) << "nothing is emptied";
}

TEST_F(HandOff, OfTwoDocumentsWithOneNameTheLaterStays) {
  HandOffDocuments(ListOf({u"C:\\docs\\a.qif", u"C:\\other\\a.qif"}), disk_);
  EXPECT_EQ(Incoming(u"a.qif"), std::optional<std::string>("other a"));
  EXPECT_EQ(os_.fs().List(kIncoming), std::vector<WString>{u"a.qif"});
}

TEST_F(HandOff, AnEmptyEntryDoesNotStopTheDocumentsAfterIt) {
  HandOffDocuments(ListOf({u"", u"C:\\docs\\a.qif", u"", u"C:\\docs\\b.ofx"}), disk_);
  EXPECT_EQ(Incoming(u"a.qif"), std::optional<std::string>("a"));
  EXPECT_EQ(Incoming(u"b.ofx"), std::optional<std::string>("b"));
}

TEST_F(HandOff, WithoutTheApplicationDataFolderNothingIsCopiedAnywhere) {
  struct Case {
    const char* what;
    bool fail;
    WString answer;
  } cases[] = {
      {"the lookup fails", true, kAppData},
      {"the shell knows no such folder", false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    os.fs().WriteFile(u"C:\\docs\\a.qif", "a");
    os.set_special_folder(kCsidlAppData, c.answer);
    if (c.fail) os.FailNext(Op::GetSpecialFolderPath, 0x80004005u);
    long calls_before = os.call_count();
    CDiskObject disk;
    HandOffDocuments(ListOf({u"C:\\docs\\a.qif"}), disk);
    EXPECT_EQ(os.call_count(), calls_before + 1) << "only the lookup ran";
    EXPECT_EQ(os.fs().List(u"C:\\"), std::vector<WString>{u"docs"});
    EXPECT_EQ(os.fs().List(u"C:\\docs"), std::vector<WString>{u"a.qif"});
  }
}

// Whole starts: the command line through to the incoming folder.
class HandOffStart : public ::testing::Test {
 protected:
  HandOffStart() {
    os_.set_module_file_name(u"C:\\Apps\\Finance\\bin\\ledgrix.exe");
    os_.fs().WriteFile(u"C:\\Apps\\Finance\\ledgrix.boot",
                       "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\Finance\\jre\nlib-classpath=lib\\app.jar;\n");
    os_.fs().WriteFile(u"C:\\Apps\\Finance\\jre\\bin\\javaw.exe", "MZ");
    os_.set_special_folder(kCsidlAppData, kAppData);
    os_.fs().MakeDirectories(kAppData);
  }
  StartResult Start(const WString& arguments) {
    return RunEmulatedStart(os_, u"\"C:\\Apps\\Finance\\bin\\ledgrix.exe\" " + arguments);
  }
  EmulatedPlatform os_;
};

TEST_F(HandOffStart, WithoutADocumentTheFolderIsNeitherLookedUpNorCreated) {
  for (const char16_t* arguments : {u"", u"-I", u"-i C:\\docs\\a.qif", u"C:\\docs\\a.qif"}) {
    SCOPED_TRACE(ToUtf8(arguments));
    os_.fs().WriteFile(u"C:\\docs\\a.qif", "a");
    StartResult result = Start(arguments);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(os_.boxes().empty());
    EXPECT_FALSE(Logged(os_, "GetSpecialFolderPath"));
    EXPECT_EQ(os_.fs().List(kAppData), std::vector<WString>{});
  }
}

TEST_F(HandOffStart, AFirstStartHandsItsDocumentsOverBeforeTheApplicationStarts) {
  os_.fs().WriteFile(u"C:\\docs\\a.qif", "a");
  os_.fs().WriteFile(u"C:\\docs\\b.ofx", "b");
  StartResult result = Start(u"-I C:\\docs\\a.qif -I \"C:\\docs\\b.ofx\"");
  EXPECT_EQ(result.exit_code, 0u);
  ASSERT_EQ(os_.processes().size(), 1u);
  const auto& log = os_.log();
  auto index_of = [&](const std::string& prefix) {
    return std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }) -
           log.begin();
  };
  auto process = index_of("CreateProcess");
  EXPECT_LT(index_of("CopyFile C:\\docs\\a.qif"), process);
  EXPECT_LT(index_of("CopyFile C:\\docs\\b.ofx"), process);
  EXPECT_EQ(os_.fs().List(kIncoming), (std::vector<WString>{u"a.qif", u"b.ofx"}));
}

TEST_F(HandOffStart, WhileAnotherLauncherRunsADocumentOpenedFromTheShellArrives) {
  EmulatedPlatform first(os_.shared_machine());
  ScopedPlatform installed(first);
  InstanceMutex running;
  ASSERT_EQ(running.mutex_error, 0u);

  const WString name = u"\u0441\u0447\u0451\u0442 \u8d26\u672c.qif";
  os_.fs().WriteFile(u"C:\\My Documents\\" + name, "statement");
  StartResult result = Start(u"-I \"C:\\My Documents\\" + name + u"\"");
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  EXPECT_EQ(os_.fs().ReadFileBytes(WString(kIncoming) + u"\\" + name), std::optional<std::string>("statement"));
  EXPECT_TRUE(os_.boxes().empty());
  EXPECT_TRUE(os_.processes().empty()) << "no second application";
}

TEST_F(HandOffStart, AFailedHandOffChangesNothingOfTheStart) {
  EmulatedPlatform first(os_.shared_machine());
  ScopedPlatform installed(first);
  InstanceMutex running;
  os_.FailAlways(Op::CopyFile, err::kAccessDenied);
  os_.fs().WriteFile(u"C:\\docs\\a.qif", "a");
  StartResult result = Start(u"-I C:\\docs\\a.qif");
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  EXPECT_TRUE(os_.boxes().empty()) << "nothing is shown";
}

}  // namespace
