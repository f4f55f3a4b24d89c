#include "launcher/launcher.h"

#include "filetypes/document_types.h"
#include "launcher/launch_values.h"

namespace {
constexpr const WChar* kCheckContext = u"ledgrix launcher";

// A check refused without a system error of its own (an empty folder, or one
// holding ':', '*' or '?', a class path without entries) names something that
// cannot be valid: never "error 0", which reads as success.
[[noreturn]] void FailCheck(const WString& message, uint32_t code) {
  reportFatalError(message, kCheckContext, code ? code : kErrorInvalidName);
}
}  // namespace

InstanceMutex::InstanceMutex()
    : mutex_handle(os::CreateMutex(WString(kInstanceMutexName), &mutex_error)) {}

InstanceMutex::~InstanceMutex() {
  if (mutex_handle) os::CloseHandle(mutex_handle);
}

void reportFatalError(const WString& message, const WChar* context, uint32_t code) {
  WString system_text = os::SystemText(code);
  // Stands in for the text the system lacks, so the box keeps its shape.
  if (system_text.empty()) system_text = u"(the system has no description for this error)\r\n";
  os::ShowBox(FatalText(message, context, code, system_text), kBoxOk | kBoxStopSign);
  os::Exit(code == 0 ? 1 : code);
}

void parseConfigFile(const WString& boot_path, LaunchSettings& settings) {
  std::string bytes;
  if (const uint32_t code = os::ReadFile(boot_path, &bytes))
    reportFatalError(u"Unable to open file: " + boot_path, u"parseConfigFile", code);
  ParseBootFile(bytes, &settings);
}

void addDefaultHeapSize(LaunchSettings& settings) {
  settings.default_options += HeapOption(settings.default_options, os::PhysicalMemory());
}

void checkLaunchEnvironment(LaunchSettings& settings, CDiskObject& disk) {
  if (!disk.DirectoryExists(settings.install_dir))
    FailCheck(u"Could not find installation directory at:\n" + settings.install_dir,
              disk.error_code);
  settings.java_home = settings.jrehome;
  settings.use_jrehome = !settings.java_home.empty();
  if (settings.use_jrehome && !disk.DirectoryExists(settings.java_home))
    FailCheck(u"Could not find JRE at:\n\n" + settings.jrehome, disk.error_code);
  std::vector<WString> pieces;
  if (splitString(settings.lib_classpath, u";", &pieces) <= 0)
    FailCheck(u"Application classpath is missing\n", 0);
  settings.class_path += ClassPathOf(settings.install_dir, pieces);
}

void launchJava(const LaunchSettings& settings, const WString& own_folder) {
  WString program;
  uint32_t code = 0;
  if (!settings.use_jrehome) {
    WString system, windows, path_variable;
    os::SearchFolders(&system, &windows, &path_variable);
    code = os::SearchPath(ProgramSearchPath(own_folder, system, windows, path_variable),
                          WString(kBareJavaProgram),
                          &program);
  }
  if (!code) code = os::RunAndWait(program, BuildJavaCommandLine(settings), settings.install_dir);
  if (code)
    os::ShowBox(u"CreateProcess failed (" + DecimalText(static_cast<int32_t>(code)) + u")\n",
                kBoxOk);
}

void HandOffDocuments(const CStringArray& import_list, CDiskObject& disk) {
  const WString application_data = os::AppDataFolder();
  // Without the folder there is nowhere the application would look: copying
  // below an unknown path could only put the documents somewhere else.
  if (application_data.empty()) return;
  // The copy creates both folders as needed. Documents are written in staging,
  // which the application never reads, and appear in incoming only whole.
  const WString system = application_data + u"\\.ledgrix\\system";
  disk.CopyFiles(import_list, system + u"\\incoming", system + u"\\staging");
}

int RunLauncher(LauncherProcess& process, WStringView command_line) {
  WString module_path;
  // Without its own path the launcher cannot know where its boot file is; it
  // must not guess one.
  if (const uint32_t code = os::ModulePath(&module_path))
    reportFatalError(u"Unable to find the launcher's own executable", u"GetModuleFileName", code);
  parseConfigFile(BootPathOf(RootFolderOf(module_path)), process.settings);
  RegisterDocumentTypes(module_path);
  TokenizeCommandLine(CommandLineTail(command_line), process.import_list);
  // Before the instance test, so that a first start's documents are in place
  // before the application looks.
  if (!process.import_list.empty()) HandOffDocuments(process.import_list, process.disk_object);
  if (process.instance_mutex.mutex_error != kErrorAlreadyExists) {
    addDefaultHeapSize(process.settings);
    checkLaunchEnvironment(process.settings, process.disk_object);
    launchJava(process.settings, module_path.substr(0, module_path.rfind(u'\\')));
  }
  return 0;
}
