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
#include "support/test_support.h"

namespace {

constexpr const char16_t* kInstall = u"C:\\Program Files\\Ledgrix";
constexpr const char16_t* kExe = u"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe";
constexpr const char16_t* kAppData = u"C:\\users\\user\\AppData\\Roaming";
constexpr const char16_t* kIncoming = u"C:\\users\\user\\AppData\\Roaming\\.ledgrix\\system\\incoming";
const std::string kFirstDocument = "!Type:Bank\nD01/02/2026\nT-12.50\n^\n";
const std::string kSecondDocument = "<OFX>statement</OFX>\n";

uint32_t PlausibleError(Op op) {
  switch (op) {
    case Op::OpenFileForReading: return err::kAccessDenied;
    case Op::ReadFile: return 23;  // ERROR_CRC: a bad sector
    case Op::SetCurrentDirectory: return err::kAccessDenied;
    case Op::CreateDirectory: return err::kAccessDenied;
    case Op::CopyFile: return err::kSharingViolation;
    case Op::CreateProcess: return err::kFileNotFound;
    case Op::CreateMutex: return err::kAccessDenied;
    case Op::RegCreateKeyEx: return err::kAccessDenied;
    case Op::RegSetValueEx: return err::kAccessDenied;
    case Op::RegDeleteValue: return err::kFileNotFound;
    case Op::GetSpecialFolderPath: return err::kFileNotFound;
    case Op::GetModuleFileName: return err::kNotEnoughMemory;
    case Op::FormatSystemMessage: return 317;
    case Op::GetCurrentDirectory: return err::kNotEnoughMemory;
    default: return err::kInvalidHandle;
  }
}


void Install(EmulatedPlatform& os) {
  os.set_module_file_name(kExe);
  os.set_special_folder(kCsidlAppData, kAppData);
  os.fs().MakeDirectories(kAppData);
  os.fs().WriteFile(WString(kInstall) + u"\\ledgrix.boot",
                    "install_dir=C:\\Program Files\\Ledgrix\njrehome=C:\\Program Files\\Ledgrix\\jre\n"
                    "lib-classpath=lib\\ledgrix-app.jar;lib\\ofx-reader.jar;\n");
  os.fs().MakeDirectories(WString(kInstall) + u"\\lib");
  os.fs().WriteFile(WString(kInstall) + u"\\jre\\bin\\javaw.exe", "MZ");
  os.fs().WriteFile(u"C:\\Users\\user\\Documents\\statement.qif", kFirstDocument);
  os.fs().WriteFile(u"C:\\Users\\user\\Downloads\\bank.ofx", kSecondDocument);
  os.fs().MakeDirectories(u"C:\\Users\\user\\Desktop");
  os.set_current_directory(u"C:\\Users\\user\\Desktop");
}

const WString kCommandLine = u"\"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe\" -I "
                             u"\"C:\\Users\\user\\Documents\\statement.qif\" -I \"C:\\Users\\user\\Downloads\\bank.ofx\"";

struct Run {
  StartResult result;
  std::vector<RecordedBox> boxes;
  std::vector<RecordedProcess> processes;
  std::optional<Op> failed_op;
  WString current_directory;
  size_t open_handles;
  size_t open_keys;
};

// One start; when second, another launcher holds the mutex meanwhile.
Run Start(bool second, long fail_call, uint32_t code, std::optional<Op> op, EmulatedPlatform& os) {
  Install(os);
  EmulatedPlatform other(os.shared_machine());
  std::optional<InstanceMutex> running;
  if (second) {
    ScopedPlatform installed(other);
    running.emplace();
  }
  if (fail_call > 0) os.FailCallNumber(fail_call, code);
  Run run;
  run.result = RunEmulatedStart(os, kCommandLine);
  run.boxes = os.boxes();
  run.processes = os.processes();
  run.failed_op = op;
  run.current_directory = os.current_directory();
  run.open_handles = os.open_handle_count();
  run.open_keys = os.open_key_count();
  if (second) {
    ScopedPlatform installed(other);
    running.reset();
  }
  return run;
}

bool IsFatalBox(const RecordedBox& box) {
  return box.caption == u"Error" && box.style == (kMbOk | kMbIconError) &&
         box.text.size() > 32 && box.text.substr(box.text.size() - 32) == u"Please reinstall the application";
}

void CheckIncomingFolder(EmulatedPlatform& os) {
  for (const WString& name : os.fs().List(kIncoming)) {
    std::optional<std::string> bytes = os.fs().ReadFileBytes(WString(kIncoming) + u"\\" + name);
    ASSERT_TRUE(bytes.has_value()) << ToUtf8(name);
    if (name == u"statement.qif") {
      EXPECT_EQ(*bytes, kFirstDocument);
    } else if (name == u"bank.ofx") {
      EXPECT_EQ(*bytes, kSecondDocument);
    } else {
      ADD_FAILURE() << "unexpected file in the incoming folder: " << ToUtf8(name);
    }
  }
}

void CheckRegistry(EmulatedPlatform& os) {
  const WString open = u"\"" + WString(kExe) + u"\" -I \"%1\"";
  const std::set<WString> allowed = {u"OFX.Document", u"OFC.Document", u"QIF.Document", u"OFF.Document",
                                     u"", open, WString(kExe) + u",0"};
  for (const char16_t* root : {u"HKCR\\.OFX", u"HKCR\\OFX.Document", u"HKCR\\.QIF", u"HKCR\\OFF.Document"}) {
    for (const WString& sub : {WString(), WString(u"\\DefaultIcon"), WString(u"\\shell\\open\\command")}) {
      WString key = WString(root) + sub;
      for (const WString& name : os.registry().ValueNames(key)) {
        std::optional<EmulatedRegistry::Value> value = os.registry().GetValue(key, name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, kRegSz) << ToUtf8(key);
        ASSERT_EQ(value->data.size() % 2, 0u);
        ASSERT_GE(value->data.size(), 2u);
        WString text;
        for (size_t i = 0; i + 1 < value->data.size(); i += 2)
          text += static_cast<WChar>(value->data[i] | (value->data[i + 1] << 8));
        EXPECT_EQ(text.back(), 0) << "terminated: " << ToUtf8(key);
        text.pop_back();
        EXPECT_TRUE(allowed.count(text)) << ToUtf8(key) << " holds " << ToUtf8(text);
      }
    }
  }
}

// clean: a first start without failures, for the Java command line.
void CheckOutcome(const Run& run, const Run& clean, uint32_t code, EmulatedPlatform& os) {
  SCOPED_TRACE(run.failed_op ? OpName(*run.failed_op) : "no failure");
  EXPECT_EQ(run.current_directory, u"C:\\Users\\user\\Desktop");
  CheckIncomingFolder(os);
  CheckRegistry(os);
  bool closing_failed = run.failed_op == Op::CloseHandle || run.failed_op == Op::RegCloseKey;
  if (!closing_failed) {
    EXPECT_EQ(run.open_handles, 0u);
    EXPECT_EQ(run.open_keys, 0u);
  }
  EXPECT_LE(run.boxes.size(), 1u);
  EXPECT_LE(run.processes.size(), 1u);
  for (const RecordedProcess& process : run.processes) {
    ASSERT_EQ(clean.processes.size(), 1u);
    EXPECT_EQ(process.command_line, clean.processes[0].command_line);
  }
  if (run.result.exited_through_exit_process) {
    uint32_t expected = code == 0 ? 1 : code;
    // A read error cuts the boot file short and the installation check then
    // fails without a call of its own: the code is the thread's last error,
    // which the hand-off's folder creation left (the folder existed already).
    if (run.failed_op == Op::ReadFile) expected = err::kAlreadyExists;
    EXPECT_EQ(run.result.exit_code, expected);
    if (run.failed_op != Op::MessageBox) {
      ASSERT_EQ(run.boxes.size(), 1u);
      EXPECT_TRUE(IsFatalBox(run.boxes[0])) << ToUtf8(run.boxes[0].text);
    }
    return;
  }
  EXPECT_EQ(run.result.exit_code, 0u);
  if (!run.boxes.empty()) {
    EXPECT_EQ(run.failed_op, Op::CreateProcess);
    EXPECT_EQ(run.boxes[0].text, u"CreateProcess failed (" + DecimalText(code) + u")\n");
    EXPECT_EQ(run.boxes[0].style, kMbOk);
  }
}

void Walk(bool second) {
  EmulatedPlatform first_os;
  Run first = Start(false, 0, 0, std::nullopt, first_os);
  ASSERT_EQ(first.processes.size(), 1u);
  EmulatedPlatform clean_os;
  Run clean = Start(second, 0, 0, std::nullopt, clean_os);
  ASSERT_FALSE(clean.result.exited_through_exit_process);
  ASSERT_TRUE(clean.boxes.empty());
  EXPECT_EQ(clean.processes.size(), second ? 0u : 1u);
  CheckOutcome(clean, first, 0, clean_os);
  long calls = clean_os.call_count();
  ASSERT_GT(calls, 20);
  for (long n = 1; n <= calls; ++n) {
    std::optional<Op> op = clean_os.counted_op(n);
    ASSERT_TRUE(op.has_value());
    uint32_t code = PlausibleError(*op);
    SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(calls));
    EmulatedPlatform os;
    Run run = Start(second, n, code, op, os);
    // A launcher that cannot create its mutex counts itself the first one.
    if (second && op != Op::CreateMutex) {
      EXPECT_TRUE(run.processes.empty());
    }
    CheckOutcome(run, first, code, os);
  }
}

TEST(FaultInjection, EveryCallOfAFirstStartWithTwoDocuments) { Walk(false); }

TEST(FaultInjection, EveryCallOfASecondStartWithTwoDocuments) { Walk(true); }

}  // namespace
