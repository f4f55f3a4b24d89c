#include "fake_system.h"

FakeSystem fake;

std::string Narrow(WStringView text) { return std::string(text.begin(), text.end()); }

namespace {
void Note(const std::string& call, WStringView argument = u"") {
  fake.calls.push_back(argument.empty() ? call : call + " " + Narrow(argument));
}
}  // namespace

namespace os {

uint32_t ModulePath(WString* path) {
  Note("ModulePath");
  if (!fake.module_error) *path = fake.module_path;
  return fake.module_error;
}
WString CommandLine() { return u""; }
uintptr_t CreateMutex(const WString& name, uint32_t* error) {
  Note("CreateMutex", name);
  *error = fake.mutex_error;
  return 1;
}
void CloseHandle(uintptr_t) { Note("CloseHandle"); }
uint32_t ReadFile(const WString& path, std::string* bytes) {
  Note("ReadFile", path);
  auto file = fake.files.find(path);
  if (file == fake.files.end()) return kErrorFileNotFound;
  *bytes = file->second;
  return 0;
}
uint32_t CurrentDirectory(WString* directory) {
  Note("CurrentDirectory");
  *directory = fake.current_directory;
  return fake.current_error;
}
uint32_t EnterDirectory(const WString& path) {
  Note("EnterDirectory", path);
  return fake.folder_errors.contains(path) ? fake.folder_errors[path] : 0;
}
uint32_t CreateDirectory(const WString& path) {
  Note("CreateDirectory", path);
  return 0;
}
uint32_t CopyFile(const WString& source, const WString& target) {
  Note("CopyFile", source + u" -> " + target);
  return fake.copy_errors.contains(target) ? fake.copy_errors[target] : 0;
}
uint32_t MoveFile(const WString& source, const WString& target) {
  Note("MoveFile", source + u" -> " + target);
  return fake.copy_errors.contains(target) ? fake.copy_errors[target] : 0;
}
void DeleteFile(const WString& path) { Note("DeleteFile", path); }
uint32_t AppDataFolder(WString* folder) {
  Note("AppDataFolder");
  *folder = fake.app_data;
  return fake.app_data_error;
}
uint32_t ProcessId() { return 77; }
void SearchFolders(WString* system, WString* windows, WString* path_variable) {
  *system = u"C:\\windows\\system32";
  *windows = u"C:\\windows";
  *path_variable = u"C:\\jdk\\bin;bin";
}
uint32_t SearchPath(const WString& search_path, const WString& name, WString* found) {
  Note("SearchPath", search_path + u" " + name);
  *found = u"C:\\windows\\system32\\javaw.exe";
  return fake.search_error;
}
uint32_t RunAndWait(const WString& program, const WString& command_line, const WString& directory) {
  Note("RunAndWait", program + u"|" + command_line + u"|" + directory);
  return fake.run_error;
}
uint64_t PhysicalMemory() { return fake.memory; }
WString SystemText(uint32_t code) { return code == 317 ? u"" : u"text of " + DecimalText(code) + u"\r\n"; }
void ShowBox(const WString& text, uint32_t style) {
  Note("ShowBox " + std::to_string(style));
  fake.boxes.push_back(text);
}
void Exit(uint32_t code) {
  Note("Exit " + std::to_string(code));
  throw FakeExit{code};
}
void WriteRegistry(const std::vector<RegistryWrite>& writes) {
  Note("WriteRegistry");
  fake.registry.insert(fake.registry.end(), writes.begin(), writes.end());
}
void SetFaultHook(FaultHook) {}

}  // namespace os
