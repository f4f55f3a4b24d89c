#include "launcher/java_launch.h"

#include "launcher/java_command_line.h"
#include "platform/platform.h"
#include "platform/scoped_handle.h"

void launchJava(const LaunchSettings& settings) {
  Platform& os = platform();
  // The system may write into the command line, so it gets a buffer of its own.
  WString command_line = BuildJavaCommandLine(settings);
  ProcessInformation info;
  if (!os.CreateProcess(command_line.data(), true, kCreateNoWindow | kNormalPriorityClass,
                        settings.install_dir.c_str(), &info)) {
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
