#include "fake_system.h"

FakeSystem fake;

std::string Narrow(WStringView text) { return std::string(text.begin(), text.end()); }

namespace os {

uint32_t Note(const char* call) { return fake.calls.push_back(call), fake.fail == call ? fake.code : 0; }
uint32_t ModulePath(WString* path) { return *path = u"C:\\App\\bin\\ledgrix.exe", Note("ModulePath"); }
WString CommandLine() { return u""; }
uintptr_t CreateMutex(const WString&, uint32_t* error) {
  *error = fake.another_launcher ? kErrorAlreadyExists : 0;
  return Note("CreateMutex") + 1;
}
void CloseHandle(uintptr_t) { Note("CloseHandle"); }
uint32_t ReadFile(const WString&, std::string* bytes) {
  *bytes = "install_dir=C:\\App\nlib-classpath=a.jar;\n";
  return Note("ReadFile") + (fake.boot_file ? 0 : 2);  // ERROR_FILE_NOT_FOUND
}
uint32_t CurrentDirectory(WString* directory) { return *directory = u"C:\\work", Note("CurrentDirectory"); }
uint32_t EnterDirectory(const WString&) { return Note("EnterDirectory"); }
uint32_t CreateDirectory(const WString&) { return Note("CreateDirectory"); }
uint32_t CopyFile(const WString&, const WString&) { return Note("CopyFile"); }
uint32_t MoveFile(const WString&, const WString&) { return Note("MoveFile"); }
void DeleteFile(const WString&) { Note("DeleteFile"); }
uint32_t AppDataFolder(WString* folder) { return *folder = u"C:\\AppData", Note("AppDataFolder"); }
uint32_t ProcessId() { return 7; }
void SearchFolders(WString*, WString*, WString*) { Note("SearchFolders"); }
uint32_t SearchPath(const WString&, const WString&, WString* found) { return *found = u"j", Note("SearchPath"); }
uint32_t RunAndWait(const WString&, const WString&, const WString&) { return Note("RunAndWait"); }
uint64_t PhysicalMemory() { return Note("PhysicalMemory"); }
WString SystemText(uint32_t code) {
  return Note("SystemText"), code == 317 ? u"" : u" \ttext of " + DecimalText(code) + u"\r\n";
}
void ShowBox(const WString&, uint32_t) { Note("ShowBox"); }
void Exit(uint32_t code) { Note("Exit"), throw FakeExit{code}; }
void WriteRegistry(const std::vector<RegistryWrite>&) { Note("WriteRegistry"); }
void SetFaultHook(FaultHook) {}

}  // namespace os
