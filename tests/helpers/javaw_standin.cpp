// javaw.exe stand-in: records how it was started, then waits to be released.
//
// Settings come from javaw-standin.ini beside the executable (UTF-8, all keys
// optional, relative paths are taken from the executable's folder):
//   log=<path>        where records are appended (default javaw-standin.log beside the exe)
//   release=<path>    wait until this file exists, then exit (no key: exit at once)
//   exit_code=<n>     exit code (default 0)
//   list_dir=<path>   folder whose entries are recorded as they were at start
//   env=<NAME>        environment variable to record (repeatable)
//   signal=<name>     named event set once the record is written (for timing)
//
// Each start appends one record, written with a single write and flushed
// before any waiting:
//   begin <pid>
//   command_line=<GetCommandLineW()>
//   argc=<n>
//   argv[<i>]=<argument i as the C runtime split it>
//   cwd=<current directory>
//   console=yes|no            (attached to a console: GetConsoleWindow or a console process list)
//   module=<own path>
//   env[<NAME>]=<value> | env_unset=<NAME>     (per env= key)
//   list_dir_exists=yes|no                     (with list_dir)
//   incoming_count=<n>                         (with list_dir)
//   incoming=<name>   one per entry, ordered by UTF-16 code units; folders end in '\'
//   end
// Values are written verbatim in UTF-8; a CR or LF inside a value becomes U+FFFD
// so that every record line stays one line.
//
// Exit codes: exit_code after the release; 124 when no release came within ten
// minutes; 125 when the record could not be written.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;
constexpr ULONGLONG kSafetyCapMs = 10ULL * 60 * 1000;
constexpr int kSafetyCapExit = 124;

std::string to_utf8(const std::wstring& w)
{
    if (w.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring from_utf8(const std::string& s)
{
    if (s.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::wstring one_line(std::wstring v)
{
    std::replace(v.begin(), v.end(), L'\r', L'\xFFFD');
    std::replace(v.begin(), v.end(), L'\n', L'\xFFFD');
    return v;
}

std::wstring module_path()
{
    std::wstring buf(512, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::wstring folder_of(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring current_directory()
{
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring buf(n, L'\0');
    n = GetCurrentDirectoryW(n, buf.data());
    buf.resize(n);
    return buf;
}

bool is_absolute(const std::wstring& p)
{
    return (p.size() >= 2 && p[1] == L':') || (!p.empty() && (p[0] == L'\\' || p[0] == L'/'));
}

struct Settings {
    std::wstring log;
    std::wstring release;
    std::wstring list_dir;
    std::vector<std::wstring> env;
    std::wstring signal;
    int exit_code = 0;
};

Settings read_settings(const std::wstring& dir)
{
    Settings s;
    s.log = dir + L"\\javaw-standin.log";
    HANDLE h = CreateFileW((dir + L"\\javaw-standin.ini").c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return s;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(h);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);

    auto resolve = [&dir](const std::wstring& p) { return is_absolute(p) ? p : dir + L"\\" + p; };
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::wstring value = from_utf8(line.substr(eq + 1));
        if (key == "log")
            s.log = resolve(value);
        else if (key == "release")
            s.release = resolve(value);
        else if (key == "list_dir")
            s.list_dir = resolve(value);
        else if (key == "exit_code")
            s.exit_code = static_cast<int>(std::wcstol(value.c_str(), nullptr, 0));
        else if (key == "env")
            s.env.push_back(value);
        else if (key == "signal")
            s.signal = value;
    }
    return s;
}

bool attached_to_console()
{
    if (GetConsoleWindow() != nullptr)
        return true;
    DWORD pids[4];
    return GetConsoleProcessList(pids, 4) > 0;
}

void list_folder(const std::wstring& dir, std::wstring& rec)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    const bool exists = h != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND;
    std::vector<std::wstring> names;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            names.push_back((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? name + L"\\" : name);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    rec += std::wstring(L"list_dir_exists=") + (exists ? L"yes" : L"no") + L"\n";
    rec += L"incoming_count=" + std::to_wstring(names.size()) + L"\n";
    for (const std::wstring& n : names)
        rec += L"incoming=" + one_line(n) + L"\n";
}

std::wstring build_record(const Settings& s)
{
    std::wstring rec = L"begin " + std::to_wstring(GetCurrentProcessId()) + L"\n";
    rec += L"command_line=" + one_line(GetCommandLineW()) + L"\n";
    rec += L"argc=" + std::to_wstring(__argc) + L"\n";
    for (int i = 0; i < __argc; ++i)
        rec += L"argv[" + std::to_wstring(i) + L"]=" + one_line(__wargv[i]) + L"\n";
    rec += L"cwd=" + one_line(current_directory()) + L"\n";
    rec += std::wstring(L"console=") + (attached_to_console() ? L"yes" : L"no") + L"\n";
    rec += L"module=" + one_line(module_path()) + L"\n";
    for (const std::wstring& name : s.env) {
        const DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
        if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
            rec += L"env_unset=" + name + L"\n";
            continue;
        }
        std::wstring v(n, L'\0');
        v.resize(GetEnvironmentVariableW(name.c_str(), v.data(), n));
        rec += L"env[" + name + L"]=" + one_line(v) + L"\n";
    }
    if (!s.list_dir.empty())
        list_folder(s.list_dir, rec);
    rec += L"end\n";
    return rec;
}

// Several stand-ins may start at once; appending with a single write keeps
// their records whole, and sharing violations from a reader are retried.
bool append_record(const std::wstring& path, const std::string& bytes)
{
    const ULONGLONG deadline = GetTickCount64() + 10000;
    for (;;) {
        HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                            written == bytes.size();
            FlushFileBuffers(h);
            CloseHandle(h);
            return ok;
        }
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
}

int wait_for_release(const std::wstring& release, int exit_code)
{
    const ULONGLONG deadline = GetTickCount64() + kSafetyCapMs;
    while (GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= deadline)
            return kSafetyCapExit;
        Sleep(kPollMs);
    }
    return exit_code;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const Settings s = read_settings(folder_of(module_path()));
    if (!append_record(s.log, to_utf8(build_record(s))))
        return 125;
    if (!s.signal.empty()) {
        if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, s.signal.c_str())) {
            SetEvent(event);
            CloseHandle(event);
        }
    }
    if (s.release.empty())
        return s.exit_code;
    return wait_for_release(s.release, s.exit_code);
}
