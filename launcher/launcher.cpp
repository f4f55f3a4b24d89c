#include "launcher/launcher.h"

#include "disk/directories.h"
#include "filetypes/document_types.h"
#include "handoff/handoff.h"
#include "launcher/box_texts.h"
#include "log/log.h"
#include "platform/platform.h"

InstanceGuard::InstanceGuard()
    : handle(os::CreateNamedMutex(WString(kInstanceMutexName), &creation_error)) {}

void ReportFatalError(const WString& message, WStringView step, uint32_t code) {
  WString system_text = os::SystemText(code);
  if (system_text.empty()) system_text = kNoSystemText;
  const WString text = FatalText(message, step, code, system_text);
  Log(u"box: " + text);
  os::ShowBox(text, kBoxOk | kBoxStopSign);
  const uint32_t exit_code = code == 0 ? 1 : code;
  Log(u"exit code: " + DecimalText(exit_code));
  os::Exit(exit_code);
}

BootSettings ReadBootFile(const WString& boot_path) {
  std::string bytes;
  uint32_t read_error = 0;
  if (const uint32_t code = os::ReadFile(boot_path, &bytes, &read_error)) {
    Log(u"boot file: " + boot_path + u" cannot be opened (" + ErrorText(code) + u")");
    ReportFatalError(WString(kCannotOpenBootFile) + boot_path, kBootFileStep, code);
  }
  Log(u"boot file: " + boot_path);
  if (read_error) {
    Log(u"boot file: " + ErrorText(read_error) + u" after " + DecimalText(bytes.size()) +
        u" bytes: the rest, and the line the error cut, are not read");
  }
  const BootSettings settings = ParseBootFile(bytes, read_error != 0);
  Log(u"boot file: default_options=" + settings.default_options);
  Log(u"boot file: jrehome=" + settings.jrehome);
  Log(u"boot file: install_dir=" + settings.install_dir);
  Log(u"boot file: lib-classpath=" + settings.lib_classpath);
  return settings;
}

void RegisterDocumentTypes(const WString& executable_path) {
  for (const RegistryWrite& write : DocumentTypeWrites(executable_path)) {
    const uint32_t code = os::WriteRegistry(write);
    const WString result = code ? ErrorText(code) : WString(u"done");
    if (!write.remove_command) {
      const WString data = write.data.empty() ? WString(u"(empty)") : write.data;
      Log(u"registry: HKCR\\" + write.key + u" = " + data + u" (" + result + u")");
    } else if (code == kErrorFileNotFound) {
      Log(u"registry: HKCR\\" + write.key + u": no value \"command\" to remove");
    } else {
      Log(u"registry: HKCR\\" + write.key + u": value \"command\" removed (" + result + u")");
    }
  }
}

JavaLaunch PrepareJavaLaunch(const BootSettings& settings) {
  JavaLaunch launch;
  launch.java_home = settings.jrehome;
  launch.options = settings.default_options;
  if (SetsHeapLimit(settings.default_options)) {
    Log(u"heap: default_options set -Xmx; none added");
  } else {
    const uint64_t memory = os::PhysicalMemory();
    launch.heap_option = HeapOption(memory);
    Log(u"heap:" + launch.heap_option + u" added, for " + DecimalText(memory) +
        u" bytes of physical memory");
  }
  if (const uint32_t code = CheckDirectory(settings.install_dir))
    ReportFatalError(WString(kNoInstallDirectory) + settings.install_dir, kLaunchCheckStep, code);
  if (const uint32_t code = launch.java_home.empty() ? 0 : CheckDirectory(launch.java_home))
    ReportFatalError(WString(kNoJre) + settings.jrehome, kLaunchCheckStep, code);
  std::vector<WString> entries;
  // No system call fails here: the code is the one for a name that cannot be
  // valid, never 0, which would read as success.
  if (SplitString(settings.lib_classpath, u";", &entries) <= 0)
    ReportFatalError(WString(kNoClassPath), kLaunchCheckStep, kErrorInvalidName);
  launch.class_path = ClassPathOf(settings.install_dir, entries);
  return launch;
}

void LaunchJava(const JavaLaunch& launch, const WString& directory, const WString& own_folder) {
  WString program;  // empty: the one the command line names
  uint32_t code = 0;
  if (launch.java_home.empty()) {
    WString system;
    WString windows;
    os::SystemFolders(&system, &windows);
    const WString search =
        ProgramSearchPath(own_folder, system, windows, os::EnvironmentVariable(u"PATH"));
    code = os::FindProgram(search, WString(kBareJavaProgram), &program);
    Log(u"java: search for javaw in " + search + u": " + (code ? ErrorText(code) : program));
  } else {
    Log(u"java: javaw of jrehome, " + launch.java_home + u"\\bin\\javaw");
  }
  const WString command_line = JavaCommandLine(launch);
  Log(u"java: command line " + command_line);
  Log(u"java: working folder " + directory);
  uintptr_t process = 0;
  if (!code) code = os::StartProcess(program, command_line, directory, &process);
  if (code) {
    const WString text = JavaNotStartedText(code);
    Log(u"java: not started (" + ErrorText(code) + u"); box: " + text);
    os::ShowBox(text, kBoxOk);
    return;
  }
  Log(u"java: started; the launcher waits until it ends");
  uint32_t exit_code = 0;
  code = os::WaitForExit(process, &exit_code);
  Log(code ? u"java: waiting for it failed (" + ErrorText(code) + u")"
           : u"java: ended with exit code " + DecimalText(exit_code));
}

int RunLauncher(const InstanceGuard& guard, WStringView command_line) {
  OpenLog();
  Log(u"start: command line " + WString(command_line));
  if (Logging()) {
    WString current;
    const uint32_t code = os::CurrentDirectory(&current);
    Log(u"start: current folder " + (code ? ErrorText(code) : current));
  }
  WString module_path;
  // Without its own path the launcher cannot know where its boot file is; it
  // must not guess one.
  if (const uint32_t code = os::ModulePath(&module_path))
    ReportFatalError(WString(kNoOwnExecutable), kOwnExecutableStep, code);
  Log(u"start: launcher " + module_path);
  const BootSettings settings = ReadBootFile(BootPathOf(RootFolderOf(module_path)));
  RegisterDocumentTypes(module_path);
  const ImportList documents = TokenizeCommandLine(CommandLineTail(command_line));
  // Before the guard is asked, so that a first start's documents are in place
  // before the application looks.
  if (!documents.empty()) HandOffDocuments(documents);
  if (guard.creation_error == kErrorAlreadyExists) {
    Log(u"guard: another launcher runs: this start hands its documents over and ends");
  } else {
    // A guard that could not be created does not stop the application.
    Log(guard.creation_error
            ? u"guard: not created (" + ErrorText(guard.creation_error) +
                  u"): this start launches the application"
            : u"guard: no other launcher runs: this start launches the application");
    LaunchJava(PrepareJavaLaunch(settings),
               settings.install_dir,
               module_path.substr(0, module_path.rfind(u'\\')));
  }
  Log(u"exit code: 0");
  return 0;
}
