// Times process starts under the real system (Wine here):
//   empty       an empty GUI program, started and ended
//   empty-shell32  the same, asking shell32 for the application-data folder
//   javaw       the Java stand-in started directly, until it runs
//   first       ledgrix.exe started, until the stand-in it launches runs
//   first-log   the same with LEDGRIX_LOG naming a log
//   first-baseline  the same start of BASELINE, another build, if given
//   log-minus-first, first-minus-baseline  the differences of the runs made
//               one after the other (paired), in the same order each round
//   second-0    ledgrix.exe while another launcher runs, no document
//   second-1    ledgrix.exe while another launcher runs, handing off 1 document
//   second-50   the same with 50 documents
// Prints one line per measurement: name runs median p10 p90 min max (ms).
//
//   startup_bench.exe LAUNCHER STANDIN EMPTY WORKDIR RUNS [BASELINE]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HANDLE Start(const std::wstring& command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring writable = command_line;
  if (!CreateProcessW(nullptr,
                      writable.data(),
                      nullptr,
                      nullptr,
                      FALSE,
                      0,
                      nullptr,
                      nullptr,
                      &startup,
                      &info)) {
    std::fprintf(stderr, "cannot start %ls (%lu)\n", command_line.c_str(), GetLastError());
    ExitProcess(2);
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

void WaitOrDie(HANDLE handle, const char* what) {
  if (WaitForSingleObject(handle, 60000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not happen within a minute\n", what);
    ExitProcess(3);
  }
}

void WriteText(const std::wstring& path, const std::string& text) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  out.pop_back();
  return out;
}

void Report(const char* name, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1) + 0.5)]; };
  std::printf("%s %zu %.1f %.1f %.1f %.1f %.1f\n",
              name,
              samples.size(),
              at(0.5),
              at(0.1),
              at(0.9),
              samples.front(),
              samples.back());
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6 && argc != 7) {
    std::fprintf(stderr, "usage: startup_bench LAUNCHER STANDIN EMPTY WORKDIR RUNS [BASELINE]\n");
    return 2;
  }
  const std::wstring launcher = argv[1];
  const std::wstring standin = argv[2];
  const std::wstring empty = argv[3];
  const std::wstring work = argv[4];
  const int runs = _wtoi(argv[5]);

  const std::wstring app = work + L"\\app";
  CreateDirectoryW(work.c_str(), nullptr);
  for (const wchar_t* dir : {L"", L"\\bin", L"\\jre", L"\\jre\\bin", L"\\lib", L"\\docs"})
    CreateDirectoryW((app + dir).c_str(), nullptr);
  CopyFileW(launcher.c_str(), (app + L"\\bin\\ledgrix.exe").c_str(), FALSE);
  const bool with_baseline = argc == 7;
  if (with_baseline) CopyFileW(argv[6], (app + L"\\bin\\baseline.exe").c_str(), FALSE);
  const std::wstring log = work + L"\\bench.log";
  CopyFileW(standin.c_str(), (app + L"\\jre\\bin\\javaw.exe").c_str(), FALSE);
  const std::wstring event_name = L"Local\\ledgrix-bench-running";
  SetEnvironmentVariableW(L"LEDGRIX_JAVAW_SIGNAL",
                          event_name.c_str());  // the stand-in sets it once it runs
  WriteText(app + L"\\ledgrix.boot",
            "install_dir=" + Narrow(app) + "\njrehome=" + Narrow(app) +
                "\\jre\nlib-classpath=lib\\app.jar;\n");
  std::wstring fifty;
  for (int i = 1; i <= 50; ++i) {
    wchar_t name[64];
    swprintf(name, 64, L"\\docs\\statement-%02d.qif", i);
    WriteText(app + name, "!Type:Bank\nD01/01/2026\nT-12.50\n^\n");
    fifty += L" -I \"" + app + name + L"\"";
  }
  const std::wstring exe = L"\"" + app + L"\\bin\\ledgrix.exe\"";
  HANDLE running = CreateEventW(nullptr, FALSE, FALSE, event_name.c_str());

  auto time_to_end = [&](const std::wstring& command_line) {
    double start = Now();
    HANDLE process = Start(command_line);
    WaitOrDie(process, "the end of the process");
    double elapsed = Now() - start;
    CloseHandle(process);
    return elapsed;
  };
  auto time_to_running = [&](const std::wstring& command_line) {
    ResetEvent(running);
    double start = Now();
    HANDLE process = Start(command_line);
    WaitOrDie(running, "the stand-in's start");
    double elapsed = Now() - start;
    WaitOrDie(process, "the end of the process");
    CloseHandle(process);
    return elapsed;
  };

  // One unmeasured round of each warms the caches.
  time_to_end(L"\"" + empty + L"\"");
  time_to_running(L"\"" + app + L"\\jre\\bin\\javaw.exe\"");
  time_to_running(exe);

  const std::wstring baseline = L"\"" + app + L"\\bin\\baseline.exe\"";
  std::vector<double> empty_runs;
  std::vector<double> shell32_runs;
  std::vector<double> javaw_runs;
  std::vector<double> first_runs;
  std::vector<double> second_none;
  std::vector<double> second_one;
  std::vector<double> second_fifty;
  std::vector<double> log_runs;
  std::vector<double> baseline_runs;
  std::vector<double> log_minus_first;
  std::vector<double> first_minus_baseline;
  for (int i = 0; i < runs; ++i) {
    empty_runs.push_back(time_to_end(L"\"" + empty + L"\""));
    shell32_runs.push_back(time_to_end(L"\"" + empty + L"\" shell32"));
    javaw_runs.push_back(time_to_running(L"\"" + app + L"\\jre\\bin\\javaw.exe\""));
    first_runs.push_back(time_to_running(exe));
    SetEnvironmentVariableW(L"LEDGRIX_LOG", log.c_str());
    log_runs.push_back(time_to_running(exe));
    SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
    log_minus_first.push_back(log_runs.back() - first_runs.back());
    if (with_baseline) {
      baseline_runs.push_back(time_to_running(baseline));
      first_minus_baseline.push_back(first_runs.back() - baseline_runs.back());
    }
  }
  HANDLE guard = CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  for (int i = 0; i < runs; ++i) {
    second_none.push_back(time_to_end(exe));
    second_one.push_back(time_to_end(exe + L" -I \"" + app + L"\\docs\\statement-01.qif\""));
    second_fifty.push_back(time_to_end(exe + fifty));
  }
  CloseHandle(guard);
  Report("empty", empty_runs);
  Report("empty-shell32", shell32_runs);
  Report("javaw", javaw_runs);
  Report("first", first_runs);
  Report("first-log", log_runs);
  Report("log-minus-first", log_minus_first);
  if (with_baseline) {
    Report("first-baseline", baseline_runs);
    Report("first-minus-baseline", first_minus_baseline);
  }
  Report("second-0", second_none);
  Report("second-1", second_one);
  Report("second-50", second_fifty);
  return 0;
}
