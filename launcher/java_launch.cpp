#include "launcher/java_launch.h"

#include "launcher/java_command_line.h"
#include "platform/platform.h"
#include "platform/scoped_handle.h"

void launchJava(const LaunchSettings& settings, const WString& own_folder) {
  Platform& os = platform();
  // The system may write into the command line, so it gets a buffer of its own.
  WString command_line = BuildJavaCommandLine(settings);
  WString program;
  bool found = true;
  if (!settings.use_jrehome) {
    WString system_folder, windows_folder, path_variable;
    os.GetSearchFolders(&system_folder, &windows_folder, &path_variable);
    found = os.SearchPath(ProgramSearchPath(own_folder, system_folder, windows_folder, path_variable).c_str(),
                          kBareJavaProgram, u".exe", &program);
  }
  ProcessInformation info;
  if (!found || !os.CreateProcess(program.empty() ? nullptr : program.c_str(), command_line.data(), true,
                                  kCreateNoWindow | kNormalPriorityClass, settings.install_dir.c_str(), &info)) {
    int32_t code = static_cast<int32_t>(os.GetLastError());
    WString text = u"CreateProcess failed (" + DecimalText(code) + u")\n";
    os.MessageBox(text.c_str(), u"Error", kMbOk);
    return;
  }
  ScopedKernelHandle process(info.process);
  ScopedKernelHandle thread(info.thread);
  os.WaitForSingleObject(process.get(), kInfinite);
  process.Close();
  thread.Close();
}
