// javaw.exe stand-in: records how it was started, then waits to be released.
//
// Settings come from javaw-standin.ini beside the executable (UTF-8, all keys
// optional, relative paths are taken from the executable's folder):
//   log=<path>        where records are appended (default javaw-standin.log beside the exe)
//   release=<path>    wait until this file exists, then exit (no key: exit at once)
//   exit_code=<n>     exit code (default 0)
//   list_dir=<path>   folder whose entries are recorded as they were at start
//   signal=<name>     named event set once the record is written (for timing)
//
// Each start appends one record, written with a single write and flushed
// before any waiting:
//   begin <pid>
//   command_line=<GetCommandLineW()>
//   argc=<n>
//   argv[<i>]=<argument i as the C runtime split it>
//   cwd=<current directory>
//   console=yes|no
//   module=<own path>
//   incoming=<name>   (with list_dir) one per entry, ordered by UTF-16 code units
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

std::string to_utf8(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring from_utf8(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::wstring line(const std::wstring& key, std::wstring value)
{
    std::replace(value.begin(), value.end(), L'\r', L'\xFFFD');
    std::replace(value.begin(), value.end(), L'\n', L'\xFFFD');
    return key + L"=" + value + L"\n";
}

std::wstring module_path()
{
    wchar_t buf[32768];
    return std::wstring(buf, GetModuleFileNameW(nullptr, buf, 32768));
}

std::wstring current_directory()
{
    wchar_t buf[32768];
    return std::wstring(buf, GetCurrentDirectoryW(32768, buf));
}

bool ends_wait(ULONGLONG deadline)
{
    if (GetTickCount64() >= deadline)
        return true;
    Sleep(20);
    return false;
}

struct Settings {
    std::wstring log, release, list_dir, signal;
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

    auto resolve = [&dir](const std::wstring& p) {
        const bool absolute = (p.size() >= 2 && p[1] == L':') || (!p.empty() && (p[0] == L'\\' || p[0] == L'/'));
        return absolute ? p : dir + L"\\" + p;
    };
    for (size_t pos = 0, end; pos < bytes.size(); pos = end + 1) {
        end = std::min(bytes.find('\n', pos), bytes.size());
        std::string text = bytes.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const size_t eq = text.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = text.substr(0, eq);
        const std::wstring value = from_utf8(text.substr(eq + 1));
        if (key == "log")
            s.log = resolve(value);
        else if (key == "release")
            s.release = resolve(value);
        else if (key == "list_dir")
            s.list_dir = resolve(value);
        else if (key == "exit_code")
            s.exit_code = static_cast<int>(std::wcstol(value.c_str(), nullptr, 0));
        else if (key == "signal")
            s.signal = value;
    }
    return s;
}

std::wstring build_record(const Settings& s)
{
    std::wstring rec = L"begin " + std::to_wstring(GetCurrentProcessId()) + L"\n";
    rec += line(L"command_line", GetCommandLineW()) + line(L"argc", std::to_wstring(__argc));
    for (int i = 0; i < __argc; ++i)
        rec += line(L"argv[" + std::to_wstring(i) + L"]", __wargv[i]);
    DWORD console_pids[1];
    rec += line(L"cwd", current_directory()) +
           line(L"console", GetConsoleProcessList(console_pids, 1) > 0 ? L"yes" : L"no") +
           line(L"module", module_path());
    if (!s.list_dir.empty()) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((s.list_dir + L"\\*").c_str(), &fd);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd))
            if (std::wcscmp(fd.cFileName, L".") != 0 && std::wcscmp(fd.cFileName, L"..") != 0)
                names.push_back(fd.cFileName);
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
        std::sort(names.begin(), names.end());
        for (const std::wstring& n : names)
            rec += line(L"incoming", n);
    }
    return rec + L"end\n";
}

// Several stand-ins may start at once; appending with a single write keeps
// their records whole, and sharing violations from a reader are retried.
bool append_record(const std::wstring& path, const std::string& bytes)
{
    for (const ULONGLONG deadline = GetTickCount64() + 10000; !ends_wait(deadline);) {
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
    }
    return false;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::wstring dir = module_path();
    dir.resize(dir.find_last_of(L"\\/") == std::wstring::npos ? 0 : dir.find_last_of(L"\\/"));
    const Settings s = read_settings(dir);
    if (!append_record(s.log, to_utf8(build_record(s))))
        return 125;
    if (!s.signal.empty()) {
        if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, s.signal.c_str())) {
            SetEvent(event);
            CloseHandle(event);
        }
    }
    const ULONGLONG deadline = GetTickCount64() + 10ULL * 60 * 1000;
    while (!s.release.empty() && GetFileAttributesW(s.release.c_str()) == INVALID_FILE_ATTRIBUTES)
        if (ends_wait(deadline))
            return 124;
    return s.exit_code;
}
