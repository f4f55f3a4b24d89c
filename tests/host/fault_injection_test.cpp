// Every platform call of a whole start, made to fail in turn with the error
// that call would plausibly give. Whatever fails, the start ends the way the
// launcher promises: a fatal box and the system code only for the boot file
// and the launch checks, its own box for a Java process that cannot start,
// silence for everything else; the current directory where it was; no
// document in the incoming folder that differs from its source; no registry
// value other than the ones the launcher writes.
#include <set>

#include "launcher/instance_mutex.h"
#include "support/emulated_start.h"
#include "support/registry_test_support.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kExe = u"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe";
constexpr const char16_t* kIncoming = u"C:\\users\\user\\AppData\\Roaming\\.ledgrix\\system\\incoming";
constexpr const char16_t* kDesktop = u"C:\\Users\\user\\Desktop";
const std::map<WString, std::string> kDocuments = {{u"statement.qif", "!Type:Bank\nD01/02/2026\nT-12.50\n^\n"},
                                                   {u"bank.ofx", "<OFX>statement</OFX>\n"}};

uint32_t PlausibleError(Op op) {
  switch (op) {
    case Op::OpenFileForReading: case Op::SetCurrentDirectory: case Op::CreateDirectory:
    case Op::CreateMutex: case Op::RegCreateKeyEx: case Op::RegSetValueEx:
      return err::kAccessDenied;
    case Op::CreateProcess: case Op::RegDeleteValue: case Op::GetSpecialFolderPath:
      return err::kFileNotFound;
    case Op::GetModuleFileName: case Op::GetCurrentDirectory: return err::kNotEnoughMemory;
    case Op::ReadFile: return 23;  // ERROR_CRC: a bad sector
    case Op::CopyFile: return err::kSharingViolation;
    case Op::FormatSystemMessage: return 317;
    default: return err::kInvalidHandle;
  }
}

// One start with two documents, call fail_call failing with code; when
// second, another launcher holds the mutex meanwhile.
StartResult Start(EmulatedPlatform& os, bool second, long fail_call = 0, uint32_t code = 0) {
  os.set_module_file_name(kExe);
  os.set_special_folder(kCsidlAppData, u"C:\\users\\user\\AppData\\Roaming");
  os.fs().MakeDirectories(u"C:\\users\\user\\AppData\\Roaming");
  os.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\ledgrix.boot",
                    "install_dir=C:\\Program Files\\Ledgrix\njrehome=C:\\Program Files\\Ledgrix\\jre\n"
                    "lib-classpath=lib\\ledgrix-app.jar;lib\\ofx-reader.jar;\n");
  os.fs().MakeDirectories(u"C:\\Program Files\\Ledgrix\\lib");
  os.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe", "MZ");
  os.fs().WriteFile(u"C:\\Users\\user\\Documents\\statement.qif", kDocuments.at(u"statement.qif"));
  os.fs().WriteFile(u"C:\\Users\\user\\Downloads\\bank.ofx", kDocuments.at(u"bank.ofx"));
  os.fs().MakeDirectories(kDesktop);
  os.set_current_directory(kDesktop);
  EmulatedPlatform other(os.shared_machine());
  std::optional<InstanceMutex> running;
  if (second) {
    ScopedPlatform installed(other);
    running.emplace();
  }
  if (fail_call > 0) os.FailCallNumber(fail_call, code);
  StartResult result = RunEmulatedStart(os, u"\"" + WString(kExe) + u"\" -I \"C:\\Users\\user\\Documents\\statement.qif\" "
                                            u"-I \"C:\\Users\\user\\Downloads\\bank.ofx\"");
  if (second) {
    ScopedPlatform installed(other);
    running.reset();
  }
  return result;
}

void CheckRegistry(EmulatedPlatform& os) {
  std::set<std::vector<uint8_t>> allowed;
  for (WString text : {WString(u"OFX.Document"), WString(u"OFC.Document"), WString(u"QIF.Document"),
                       WString(u"OFF.Document"), WString(), u"\"" + WString(kExe) + u"\" -I \"%1\"", WString(kExe) + u",0"})
    allowed.insert(StringBytes(text));
  for (const char16_t* root : {u"HKCR\\.OFX", u"HKCR\\OFX.Document", u"HKCR\\.QIF", u"HKCR\\OFF.Document"}) {
    for (const char16_t* sub : {u"", u"\\DefaultIcon", u"\\shell\\open\\command"}) {
      WString key = WString(root) + sub;
      for (const WString& name : os.registry().ValueNames(key)) {
        std::optional<EmulatedRegistry::Value> value = os.registry().GetValue(key, name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, kRegSz) << ToUtf8(key);
        EXPECT_TRUE(allowed.count(value->data)) << ToUtf8(key) << " [" << ToUtf8(name) << "] holds an unexpected value";
      }
    }
  }
}

// java_command_line: the one a first start without failures runs.
void CheckOutcome(EmulatedPlatform& os, const StartResult& result, std::optional<Op> failed_op, uint32_t code,
                  const WString& java_command_line) {
  SCOPED_TRACE(failed_op ? OpName(*failed_op) : "no failure");
  EXPECT_EQ(os.current_directory(), kDesktop);
  for (const WString& name : os.fs().List(kIncoming)) {
    auto source = kDocuments.find(name);
    ASSERT_NE(source, kDocuments.end()) << "unexpected file in the incoming folder: " << ToUtf8(name);
    EXPECT_EQ(os.fs().ReadFileBytes(WString(kIncoming) + u"\\" + name), source->second);
  }
  CheckRegistry(os);
  if (failed_op != Op::CloseHandle && failed_op != Op::RegCloseKey) {
    EXPECT_EQ(os.open_handle_count(), 0u);
    EXPECT_EQ(os.open_key_count(), 0u);
  }
  const std::vector<RecordedBox>& boxes = os.boxes();
  EXPECT_LE(boxes.size(), 1u);
  EXPECT_LE(os.processes().size(), 1u);
  for (const RecordedProcess& process : os.processes()) EXPECT_EQ(process.command_line, java_command_line);
  if (result.exited_through_exit_process) {
    // A read error cuts the boot file short and the installation check then
    // fails without a system error of its own: an invalid (empty) name.
    uint32_t expected = failed_op == Op::ReadFile ? err::kInvalidName : code == 0 ? 1 : code;
    EXPECT_EQ(result.exit_code, expected);
    if (failed_op != Op::MessageBox) {
      ASSERT_EQ(boxes.size(), 1u);
      const WString& text = boxes[0].text;
      EXPECT_TRUE(boxes[0].caption == u"Error" && boxes[0].style == (kMbOk | kMbIconError) && text.size() > 32 &&
                  text.substr(text.size() - 32) == u"Please reinstall the application")
          << ToUtf8(text);
    }
    return;
  }
  EXPECT_EQ(result.exit_code, 0u);
  if (!boxes.empty()) {
    EXPECT_EQ(failed_op, Op::CreateProcess);
    EXPECT_EQ(boxes[0].text, u"CreateProcess failed (" + DecimalText(code) + u")\n");
    EXPECT_EQ(boxes[0].style, kMbOk);
  }
}

void Walk(bool second) {
  EmulatedPlatform first;
  Start(first, false);
  ASSERT_EQ(first.processes().size(), 1u);
  const WString java_command_line = first.processes()[0].command_line;
  EmulatedPlatform clean;
  StartResult clean_result = Start(clean, second);
  ASSERT_FALSE(clean_result.exited_through_exit_process);
  ASSERT_TRUE(clean.boxes().empty());
  EXPECT_EQ(clean.processes().size(), second ? 0u : 1u);
  EXPECT_EQ(clean.fs().List(kIncoming).size(), 2u) << "both documents handed over";
  CheckOutcome(clean, clean_result, std::nullopt, 0, java_command_line);
  long calls = clean.call_count();
  ASSERT_GT(calls, 20);
  for (long n = 1; n <= calls; ++n) {
    std::optional<Op> op = clean.counted_op(n);
    ASSERT_TRUE(op.has_value());
    uint32_t code = PlausibleError(*op);
    SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(calls));
    EmulatedPlatform os;
    StartResult result = Start(os, second, n, code);
    // A launcher that cannot create its mutex counts itself the first one.
    if (second && op != Op::CreateMutex) {
      EXPECT_TRUE(os.processes().empty());
    }
    CheckOutcome(os, result, op, code, java_command_line);
  }
}

TEST(FaultInjection, EveryCallOfAFirstStartWithTwoDocuments) { Walk(false); }

TEST(FaultInjection, EveryCallOfASecondStartWithTwoDocuments) { Walk(true); }

}  // namespace
