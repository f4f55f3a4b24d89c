#include "platform/emulated_platform.h"

#include <algorithm>
#include <cstring>

#include "platform/emulated_machine.h"
#include "platform/emulated_program_search.h"

const char* OpName(Op op) {
  switch (op) {
    case Op::GetModuleFileName: return "GetModuleFileName";
    case Op::GetCommandLine: return "GetCommandLine";
    case Op::CreateProcess: return "CreateProcess";
    case Op::WaitForSingleObject: return "WaitForSingleObject";
    case Op::CloseHandle: return "CloseHandle";
    case Op::CreateMutex: return "CreateMutex";
    case Op::OpenFileForReading: return "OpenFileForReading";
    case Op::ReadFile: return "ReadFile";
    case Op::GetCurrentDirectory: return "GetCurrentDirectory";
    case Op::SetCurrentDirectory: return "SetCurrentDirectory";
    case Op::CreateDirectory: return "CreateDirectory";
    case Op::CopyFile: return "CopyFile";
    case Op::MoveFile: return "MoveFile";
    case Op::DeleteFile: return "DeleteFile";
    case Op::SearchPath: return "SearchPath";
    case Op::FormatSystemMessage: return "FormatSystemMessage";
    case Op::MessageBox: return "MessageBox";
    case Op::GetTotalPhysicalMemory: return "GetTotalPhysicalMemory";
    case Op::GetSpecialFolderPath: return "GetSpecialFolderPath";
    case Op::RegCreateKeyEx: return "RegCreateKeyEx";
    case Op::RegSetValueEx: return "RegSetValueEx";
    case Op::RegDeleteValue: return "RegDeleteValue";
    case Op::RegCloseKey: return "RegCloseKey";
    case Op::RegQueryValue: return "RegQueryValue";
  }
  return "?";
}

namespace {

std::string U8(const WChar* text) { return text ? ToUtf8(text) : std::string("(null)"); }

// A value as written: REG_SZ data as its UTF-16 text in quotes, a NUL shown as
// \0 and other control characters as \xNN, so that a log line shows whether
// the terminator was counted in; any other data as hex bytes.
std::string DescribeValue(uint32_t type, const uint8_t* data, uint32_t size) {
  static const char kHex[] = "0123456789abcdef";
  std::string head = (type == kRegSz ? std::string("REG_SZ ") : "type=" + std::to_string(type) + " ") +
                     std::to_string(size) + " ";
  if (!data) return head + "(null)";
  if (type != kRegSz || size % 2) {
    for (uint32_t i = 0; i < size; ++i) {
      head += kHex[data[i] >> 4];
      head += kHex[data[i] & 15];
    }
    return head;
  }
  std::string text = "\"";
  WString run;
  for (uint32_t i = 0; i < size; i += 2) {
    WChar c = static_cast<WChar>(data[i] | (data[i + 1] << 8));
    if (c >= 0x20) {
      run += c;
      continue;
    }
    text += ToUtf8(run);
    run.clear();
    text += c == 0 ? std::string("\\0") : std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
  }
  return head + text + ToUtf8(run) + "\"";
}

// System texts as an English Windows gives them.
const std::pair<uint32_t, const char16_t*> kSystemMessages[] = {
    {0, u"The operation completed successfully.\r\n"},
    {1, u"Incorrect function.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {5, u"Access denied.\r\n"},
    {6, u"Invalid handle.\r\n"},
    {8, u"Not enough memory.\r\n"},
    {32, u"Sharing violation.\r\n"},
    {53, u"Network path not found.\r\n"},
    {80, u"File exists.\r\n"},
    {87, u"Invalid parameter.\r\n"},
    {122, u"Insufficient buffer.\r\n"},
    {123, u"Invalid name.\r\n"},
    {161, u"Invalid path.\r\n"},
    {183, u"File already exists.\r\n"},
    {206, u"The file name or extension is too long.\r\n"},
    {267, u"The directory name is invalid.\r\n"},
    {0x80070057u, u"Invalid parameter.\r\n"},
};

}  // namespace

EmulatedPlatform::EmulatedPlatform(std::shared_ptr<EmulatedMachine> machine)
    : machine_(machine ? std::move(machine) : std::make_shared<EmulatedMachine>()) {
  for (const auto& [code, text] : kSystemMessages) system_messages_[code] = text;
  special_folders_[kCsidlAppData] = u"C:\\users\\user\\AppData\\Roaming";
  current_directory_ = u"C:\\";
}

EmulatedPlatform::~EmulatedPlatform() {
  for (auto& [id, entry] : handles_)
    if (entry.kind == HandleKind::Mutex) machine_->ReleaseMutex(entry.name);
}

EmulatedFileSystem& EmulatedPlatform::fs() { return machine_->fs(); }
EmulatedRegistry& EmulatedPlatform::registry() { return machine_->registry(); }

void EmulatedPlatform::FailNext(Op op, uint32_t code, int nth) { pending_.push_back({op, nth - 1, code}); }
void EmulatedPlatform::FailCallNumber(long n, uint32_t code) { by_number_[n] = code; }

std::optional<Op> EmulatedPlatform::counted_op(long n) const {
  if (n < 1 || n > static_cast<long>(counted_ops_.size())) return std::nullopt;
  return counted_ops_[n - 1];
}

std::optional<uint32_t> EmulatedPlatform::Enter(Op op, const std::string& detail) {
  // After the end of the process only the system's own clean-up runs (the
  // handles close with it): nothing is counted, logged or failed.
  if (exit_code_) return std::nullopt;
  ++call_count_;
  counted_ops_.push_back(op);
  std::optional<uint32_t> fault;
  if (auto it = by_number_.find(call_count_); it != by_number_.end()) fault = it->second;
  for (auto it = pending_.begin(); it != pending_.end(); ++it) {
    if (it->op != op) continue;
    if (it->remaining-- == 0) {
      fault = it->code;
      pending_.erase(it);
      break;
    }
  }
  Log(std::string(OpName(op)) + " " + detail + (fault ? " -> injected " + std::to_string(*fault) : ""));
  if (fault) last_error_ = *fault;
  return fault;
}

Handle EmulatedPlatform::NewHandle(HandleEntry entry) {
  std::uintptr_t id = next_handle_;
  next_handle_ += 4;
  handles_.insert_or_assign(id, std::move(entry));
  return Handle{id};
}

EmulatedPlatform::HandleEntry* EmulatedPlatform::Find(Handle handle) {
  auto it = handles_.find(static_cast<std::uintptr_t>(handle));
  return it == handles_.end() ? nullptr : &it->second;
}

size_t EmulatedPlatform::open_handle_count() const { return handles_.size(); }
size_t EmulatedPlatform::open_key_count() const { return machine_->registry().open_keys(); }

uint32_t EmulatedPlatform::GetModuleFileName(WChar* buffer, uint32_t size) {
  if (auto fault = Enter(Op::GetModuleFileName, "")) return 0;
  if (size == 0) {
    last_error_ = err::kInsufficientBuffer;
    return 0;
  }
  const WString& path = module_file_name_;
  if (path.size() + 1 > size) {
    std::copy_n(path.data(), size - 1, buffer);
    buffer[size - 1] = 0;
    last_error_ = err::kInsufficientBuffer;
    return size;
  }
  std::copy(path.begin(), path.end(), buffer);
  buffer[path.size()] = 0;
  return static_cast<uint32_t>(path.size());
}

const WChar* EmulatedPlatform::GetCommandLine() {
  Enter(Op::GetCommandLine, "");
  return command_line_.c_str();
}

bool EmulatedPlatform::CreateProcess(const WChar* application_name, WChar* command_line, bool inherit_handles,
                                     uint32_t creation_flags, const WChar* current_directory,
                                     ProcessInformation* info) {
  if (Enter(Op::CreateProcess, U8(command_line))) return false;
  std::vector<WString> folders;
  folders.push_back(module_file_name_.substr(0, module_file_name_.rfind(u'\\')));
  folders.push_back(current_directory_);
  folders.insert(folders.end(), program_folders_.begin(), program_folders_.end());
  std::optional<WString> program;
  if (application_name) {
    if (machine_->fs().IsFile(application_name)) program = application_name;
  } else {
    program = FindProgram(machine_->fs(), command_line ? WStringView(command_line) : WStringView(), current_directory_,
                          folders);
  }
  if (!program) {
    last_error_ = err::kFileNotFound;
    return false;
  }
  if (current_directory &&
      !machine_->fs().IsDirectory(machine_->fs().FullPath(current_directory, current_directory_, nullptr))) {
    last_error_ = err::kDirectory;
    return false;
  }
  RecordedProcess record{command_line ? WString(command_line) : WString(),
                         current_directory ? WString(current_directory) : WString(), inherit_handles,
                         creation_flags, *program};
  processes_.push_back(record);
  HandleEntry process(HandleKind::Process);
  process.process_index = processes_.size() - 1;
  HandleEntry thread(HandleKind::Thread);
  thread.process_index = processes_.size() - 1;
  info->process = NewHandle(process);
  info->thread = NewHandle(thread);
  info->process_id = static_cast<uint32_t>(1000 + processes_.size());
  info->thread_id = info->process_id + 1;
  return true;
}

uint32_t EmulatedPlatform::WaitForSingleObject(Handle handle, uint32_t milliseconds) {
  if (Enter(Op::WaitForSingleObject, std::to_string(static_cast<std::uintptr_t>(handle)) + " " +
                                         std::to_string(milliseconds)))
    return kWaitFailed;
  HandleEntry* entry = Find(handle);
  if (!entry) {
    last_error_ = err::kInvalidHandle;
    return kWaitFailed;
  }
  if (entry->kind == HandleKind::Process) {
    size_t index = entry->process_index;
    processes_[index].waited = true;
    if (on_wait_) on_wait_(processes_[index]);
  }
  return kWaitObject0;
}

bool EmulatedPlatform::CloseHandle(Handle handle) {
  if (Enter(Op::CloseHandle, std::to_string(static_cast<std::uintptr_t>(handle)))) return false;
  auto it = handles_.find(static_cast<std::uintptr_t>(handle));
  if (it == handles_.end()) {
    last_error_ = err::kInvalidHandle;
    return false;
  }
  HandleEntry& entry = it->second;
  if (entry.kind == HandleKind::Mutex) machine_->ReleaseMutex(entry.name);
  if (entry.kind == HandleKind::Process) processes_[entry.process_index].process_handle_closed = true;
  if (entry.kind == HandleKind::Thread) processes_[entry.process_index].thread_handle_closed = true;
  handles_.erase(it);
  return true;
}

void EmulatedPlatform::ExitProcess(uint32_t exit_code) {
  Log("ExitProcess " + std::to_string(exit_code));
  exit_code_ = exit_code;
  throw EmulatedExit{exit_code};
}

Handle EmulatedPlatform::CreateMutex(const WChar* name) {
  if (Enter(Op::CreateMutex, U8(name))) return kNullHandle;
  bool existed = false;
  if (!machine_->OpenMutex(name, &existed)) {
    last_error_ = err::kAccessDenied;
    return kNullHandle;
  }
  HandleEntry entry(HandleKind::Mutex);
  entry.name = name;
  Handle handle = NewHandle(entry);
  last_error_ = existed ? err::kAlreadyExists : err::kSuccess;
  return handle;
}

Handle EmulatedPlatform::OpenFileForReading(const WChar* path) {
  if (Enter(Op::OpenFileForReading, U8(path))) return kNullHandle;
  std::string bytes;
  uint32_t error = machine_->fs().ReadWholeFile(path, current_directory_, &bytes);
  if (error) {
    last_error_ = error;
    return kNullHandle;
  }
  HandleEntry entry(HandleKind::File);
  entry.content = std::move(bytes);
  return NewHandle(std::move(entry));
}

bool EmulatedPlatform::ReadFile(Handle file, void* buffer, uint32_t size, uint32_t* bytes_read) {
  *bytes_read = 0;
  if (Enter(Op::ReadFile, std::to_string(size))) return false;
  HandleEntry* entry = Find(file);
  if (!entry || entry->kind != HandleKind::File) {
    last_error_ = err::kInvalidHandle;
    return false;
  }
  size_t n = std::min<size_t>(size, entry->content.size() - entry->position);
  std::memcpy(buffer, entry->content.data() + entry->position, n);
  entry->position += n;
  *bytes_read = static_cast<uint32_t>(n);
  return true;
}

uint32_t EmulatedPlatform::GetCurrentDirectory(uint32_t size, WChar* buffer) {
  if (Enter(Op::GetCurrentDirectory, "")) return 0;
  const WString& dir = current_directory_;
  if (dir.size() + 1 > size) return static_cast<uint32_t>(dir.size() + 1);
  std::copy(dir.begin(), dir.end(), buffer);
  buffer[dir.size()] = 0;
  return static_cast<uint32_t>(dir.size());
}

bool EmulatedPlatform::SetCurrentDirectory(const WChar* path) {
  if (Enter(Op::SetCurrentDirectory, U8(path))) return false;
  WString full;
  uint32_t error = path ? machine_->fs().EnterDirectory(path, current_directory_, &full) : err::kInvalidParameter;
  if (error) {
    last_error_ = error;
    return false;
  }
  current_directory_ = full;
  return true;
}

bool EmulatedPlatform::CreateDirectory(const WChar* path) {
  if (Enter(Op::CreateDirectory, U8(path))) return false;
  uint32_t error = machine_->fs().CreateDirectory(path, current_directory_);
  if (error) last_error_ = error;
  return error == 0;
}

bool EmulatedPlatform::CopyFile(const WChar* existing, const WChar* target, bool fail_if_exists) {
  if (Enter(Op::CopyFile, U8(existing) + " -> " + U8(target))) return false;
  uint32_t error = machine_->fs().CopyFile(existing, target, current_directory_, fail_if_exists);
  if (error) last_error_ = error;
  return error == 0;
}

void EmulatedPlatform::GetSearchFolders(WString* system_folder, WString* windows_folder, WString* path_variable) {
  *system_folder = program_folders_[0];
  *windows_folder = program_folders_[1];
  path_variable->clear();
}

bool EmulatedPlatform::SearchPath(const WChar* search_path, const WChar* name, const WChar* extension, WString* found) {
  if (Enter(Op::SearchPath, U8(search_path) + " " + U8(name))) return false;
  WString path = search_path;
  for (size_t start = 0, end; start <= path.size(); start = end + 1) {
    end = std::min(path.find(u';', start), path.size());
    WString candidate = path.substr(start, end - start) + u"\\" + name + extension;
    if (end > start && machine_->fs().IsFile(candidate)) {
      *found = candidate;
      return true;
    }
  }
  last_error_ = err::kFileNotFound;
  return false;
}

bool EmulatedPlatform::MoveFileReplacing(const WChar* existing, const WChar* target) {
  if (Enter(Op::MoveFile, U8(existing) + " -> " + U8(target))) return false;
  uint32_t error = machine_->fs().CopyFile(existing, target, current_directory_, false);
  if (!error) error = machine_->fs().DeleteFile(existing, current_directory_);
  if (error) last_error_ = error;
  return error == 0;
}

bool EmulatedPlatform::DeleteFile(const WChar* path) {
  if (Enter(Op::DeleteFile, U8(path))) return false;
  uint32_t error = machine_->fs().DeleteFile(path, current_directory_);
  if (error) last_error_ = error;
  return error == 0;
}

bool EmulatedPlatform::FormatSystemMessage(uint32_t code, WString* text) {
  if (Enter(Op::FormatSystemMessage, std::to_string(code))) {
    text->clear();
    return false;
  }
  auto it = system_messages_.find(code);
  if (it == system_messages_.end()) {
    last_error_ = 317;  // ERROR_MR_MID_NOT_FOUND
    text->clear();
    return false;
  }
  *text = it->second;
  return true;
}

int EmulatedPlatform::MessageBox(const WChar* text, const WChar* caption, uint32_t style) {
  if (Enter(Op::MessageBox, U8(caption) + " " + std::to_string(style))) return 0;
  boxes_.push_back({text ? WString(text) : WString(), caption ? WString(caption) : WString(), style});
  return kIdOk;
}

uint64_t EmulatedPlatform::GetTotalPhysicalMemory() {
  Enter(Op::GetTotalPhysicalMemory, "");
  return total_physical_memory_;
}

bool EmulatedPlatform::GetSpecialFolderPath(WChar* buffer, int csidl, bool create) {
  if (Enter(Op::GetSpecialFolderPath, std::to_string(csidl) + (create ? " create" : ""))) return false;
  auto it = special_folders_.find(csidl);
  if (it == special_folders_.end() || it->second.size() + 1 > kMaxPath) {
    last_error_ = err::kFileNotFound;
    return false;
  }
  std::copy(it->second.begin(), it->second.end(), buffer);
  buffer[it->second.size()] = 0;
  return true;
}

int32_t EmulatedPlatform::RegCreateKeyEx(RegKey root, const WChar* sub_key, uint32_t options, uint32_t access,
                                         RegKey* result, uint32_t* disposition) {
  std::string where = ToUtf8(machine_->registry().PathOf(static_cast<uint64_t>(root))) + "\\" + U8(sub_key);
  if (auto fault = Enter(Op::RegCreateKeyEx, where)) return static_cast<int32_t>(*fault);
  (void)options;
  uint64_t id = 0;
  int32_t status = machine_->registry().CreateKey(static_cast<uint64_t>(root), sub_key ? sub_key : u"", access,
                                                  &id, disposition);
  if (status == 0) *result = RegKey{static_cast<std::uintptr_t>(id)};
  return status;
}

int32_t EmulatedPlatform::RegSetValueEx(RegKey key, const WChar* value_name, uint32_t type, const uint8_t* data,
                                        uint32_t size) {
  std::string where = ToUtf8(machine_->registry().PathOf(static_cast<uint64_t>(key))) + " [" +
                      U8(value_name ? value_name : u"") + "] " + DescribeValue(type, data, size);
  if (auto fault = Enter(Op::RegSetValueEx, where)) return static_cast<int32_t>(*fault);
  return machine_->registry().SetValue(static_cast<uint64_t>(key), value_name ? value_name : u"", type, data, size);
}

int32_t EmulatedPlatform::RegDeleteValue(RegKey key, const WChar* value_name) {
  std::string where = ToUtf8(machine_->registry().PathOf(static_cast<uint64_t>(key))) + " [" +
                      U8(value_name ? value_name : u"") + "]";
  if (auto fault = Enter(Op::RegDeleteValue, where)) return static_cast<int32_t>(*fault);
  return machine_->registry().DeleteValue(static_cast<uint64_t>(key), value_name ? value_name : u"");
}

int32_t EmulatedPlatform::RegCloseKey(RegKey key) {
  std::string where = ToUtf8(machine_->registry().PathOf(static_cast<uint64_t>(key)));
  if (auto fault = Enter(Op::RegCloseKey, where)) return static_cast<int32_t>(*fault);
  return machine_->registry().CloseKey(static_cast<uint64_t>(key));
}

int32_t EmulatedPlatform::RegQueryValue(RegKey root, const WChar* sub_key, const WChar* value_name,
                                        uint32_t* type, std::vector<uint8_t>* data) {
  if (auto fault = Enter(Op::RegQueryValue, U8(sub_key))) return static_cast<int32_t>(*fault);
  return machine_->registry().QueryValue(static_cast<uint64_t>(root), sub_key ? sub_key : u"",
                                         value_name ? value_name : u"", type, data);
}
