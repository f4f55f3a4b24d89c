#include "launcher/launcher.h"

#include "disk/directories.h"
#include "disk/path_rules.h"
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

namespace {

// A folder of the boot file, anchored at the root; the log tells what a
// relative one became.
WString InstallationFolder(WStringView key, const WString& value, const WString& root) {
  const WString folder = AnchoredFolder(value, root);
  if (folder != value) Log(u"java: " + WString(key) + u" " + value + u" is " + folder);
  return folder;
}

// Java reads its command line through the ANSI code page, in which a
// character the code page lacks becomes '?' or a look-alike: a path holding
// one would name another file. Such a path is passed in its short form, or in
// its folder's. Nothing changes where the code page carries the line.
void FitCodePage(JavaLaunch* launch) {
  const WString code_page = DecimalText(os::CodePage());
  Log(u"java: code page " + code_page);
  std::vector<WString*> paths;
  if (launch->program != kBareJavaProgram) paths.push_back(&launch->program);
  for (WString& entry : launch->class_path) paths.push_back(&entry);
  for (WString* path : paths) {
    if (os::ThroughCodePage(*path) == *path) continue;
    WString short_form;
    if (os::ShortPath(*path, &short_form) && !os::ShortPath(FolderOf(*path), &short_form))
      short_form += u"\\" + FileNameOf(*path);
    if (short_form.empty() || os::ThroughCodePage(short_form) != short_form) continue;
    Log(u"java: " + *path + u" passed as " + short_form);
    *path = short_form;
  }
  const WString command_line = JavaCommandLine(*launch);
  const WString received = os::ThroughCodePage(command_line);
  if (received != command_line) {
    Log(u"java: code page " + code_page + u" cannot carry the whole command line; Java reads " +
        received);
  }
}

}  // namespace

JavaLaunch PrepareJavaLaunch(const BootSettings& settings, const WString& root) {
  JavaLaunch launch;
  launch.options = settings.default_options;
  if (SetsHeapLimit(settings.default_options)) {
    Log(u"heap: default_options set -Xmx; none added");
  } else {
    const uint64_t memory = os::PhysicalMemory();
    launch.heap_option = HeapOption(memory);
    Log(u"heap:" + launch.heap_option + u" added, for " + DecimalText(memory) +
        u" bytes of physical memory");
  }
  launch.directory = InstallationFolder(u"install_dir", settings.install_dir, root);
  if (const uint32_t code = CheckDirectory(launch.directory))
    ReportFatalError(WString(kNoInstallDirectory) + settings.install_dir, kLaunchCheckStep, code);
  const WString java_home = InstallationFolder(u"jrehome", settings.jrehome, root);
  if (const uint32_t code = java_home.empty() ? 0 : CheckDirectory(java_home))
    ReportFatalError(WString(kNoJre) + settings.jrehome, kLaunchCheckStep, code);
  launch.program = JavaProgramOf(java_home);
  std::vector<WString> entries;
  // No system call fails here: the code is the one for a name that cannot be
  // valid, never 0, which would read as success.
  if (SplitString(settings.lib_classpath, u";", &entries) <= 0)
    ReportFatalError(WString(kNoClassPath), kLaunchCheckStep, kErrorInvalidName);
  launch.class_path = ClassPathOf(launch.directory, entries);
  return launch;
}

void LaunchJava(JavaLaunch launch, const WString& own_folder) {
  WString program;  // empty: the one the command line names
  uint32_t code = 0;
  if (launch.program == kBareJavaProgram) {
    WString system;
    WString windows;
    os::SystemFolders(&system, &windows);
    const WString search =
        ProgramSearchPath(own_folder, system, windows, os::EnvironmentVariable(u"PATH"));
    code = os::FindProgram(search, launch.program, &program);
    Log(u"java: search for javaw in " + search + u": " + (code ? ErrorText(code) : program));
  } else {
    Log(u"java: javaw of jrehome, " + launch.program);
  }
  FitCodePage(&launch);
  const WString command_line = JavaCommandLine(launch);
  Log(u"java: command line " + command_line);
  Log(u"java: working folder " + launch.directory);
  uintptr_t process = 0;
  if (!code) code = os::StartProcess(program, command_line, launch.directory, &process);
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
  const WString root = RootFolderOf(module_path);
  const BootSettings settings = ReadBootFile(BootPathOf(root));
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
    // A start from the shell runs in the opened document's folder: held for
    // the whole session, that folder could be neither removed nor ejected.
    const uint32_t code = os::ChangeDirectory(root);
    Log(code ? u"start: current folder left as it is, " + root + u" cannot be entered (" +
                   ErrorText(code) + u")"
             : u"start: current folder now " + root);
    LaunchJava(PrepareJavaLaunch(settings, root), FolderOf(module_path));
  }
  Log(u"exit code: 0");
  return 0;
}
