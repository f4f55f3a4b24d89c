// box_reader.exe: waits for one message box of another process, reports it
// and presses OK, so tests can check what the launcher shows without a user.
//
//   box_reader.exe [--title T] [--timeout-ms N] [--out FILE]
//
// It prints (UTF-8, to FILE or standard output):
//   title=<title>
//   icon=yes|no
//   buttons=<button texts without '&', comma separated, left to right>
//   text=<message text>
// with backslash, CR and LF written as \\, \r and \n.
//
// Exit codes: 0 = the box was found and pressed; 1 = time-out; 2 = bad
// arguments or output; 3 = the box did not close after being pressed.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kMessageTextId = 0xFFFF; // Windows; Wine uses 100 (found by class below)

std::wstring escape(const std::wstring& in)
{
    std::wstring out;
    for (wchar_t c : in)
        out += c == L'\\' ? L"\\\\" : c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
    return out;
}

// WM_GETTEXT rather than GetWindowTextW: for controls of another process the
// latter returns the cached window name, not what the control displays.
std::wstring window_text(HWND hwnd)
{
    DWORD_PTR len = 0, got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
        return {};
    std::wstring buf(len + 1, L'\0');
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return {};
    buf.resize(got < len ? got : len);
    return buf;
}

std::wstring class_name(HWND hwnd)
{
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

std::wstring without_mnemonics(const std::wstring& in)
{
    std::wstring out;
    for (size_t i = 0; i < in.size(); ++i)
        out += in[i] == L'&' && i + 1 < in.size() ? in[++i] : in[i];
    return out;
}

struct Report {
    std::wstring text;   // formatted lines
    int press_id = IDOK;
    HWND press_button = nullptr;
};

Report read_box(HWND dlg)
{
    Report r;
    bool icon = false;
    std::wstring buttons;
    HWND text_ctl = nullptr, fallback_text = nullptr;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const std::wstring cls = class_name(c);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        const bool is_static = _wcsicmp(cls.c_str(), L"Static") == 0;
        const bool is_icon = is_static && (style & SS_TYPEMASK) == SS_ICON;
        if (is_static && GetDlgCtrlID(c) == kMessageTextId)
            text_ctl = c;
        if (!(style & WS_VISIBLE))
            continue;
        if (is_static && !is_icon && !fallback_text)
            fallback_text = c;
        if (is_icon) {
            DWORD_PTR handle = 0;
            SendMessageTimeoutW(c, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle);
            icon = icon || handle != 0;
        }
        if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            buttons += (buttons.empty() ? L"" : L",") + without_mnemonics(window_text(c));
            if (GetDlgCtrlID(c) == IDOK || !r.press_button) {
                r.press_id = GetDlgCtrlID(c);
                r.press_button = c;
            }
        }
    }
    if (!text_ctl)
        text_ctl = fallback_text;
    r.text = L"title=" + escape(window_text(dlg)) + L"\nicon=" + (icon ? L"yes" : L"no") + L"\nbuttons=" +
             buttons + L"\ntext=" + (text_ctl ? escape(window_text(text_ctl)) : L"") + L"\n";
    return r;
}

struct FindState {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK find_proc(HWND hwnd, LPARAM lp)
{
    auto* st = reinterpret_cast<FindState*>(lp);
    if (class_name(hwnd) != L"#32770" || !IsWindowVisible(hwnd) || window_text(hwnd) != *st->title)
        return TRUE;
    st->found = hwnd;
    return FALSE;
}

template <typename Condition>
bool poll(Condition condition, ULONGLONG wait_ms)
{
    for (const ULONGLONG deadline = GetTickCount64() + wait_ms; !condition(); Sleep(10))
        if (GetTickCount64() >= deadline)
            return false;
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring title = L"Error", out_path;
    ULONGLONG timeout_ms = 20000;
    for (int i = 1; i < argc; i += 2) {
        const std::wstring a = argv[i];
        if (i + 1 >= argc || (a != L"--title" && a != L"--timeout-ms" && a != L"--out")) {
            std::fputs("usage: box_reader [--title T] [--timeout-ms N] [--out FILE]\n", stderr);
            return 2;
        }
        if (a == L"--title")
            title = argv[i + 1];
        else if (a == L"--out")
            out_path = argv[i + 1];
        else
            timeout_ms = std::wcstoull(argv[i + 1], nullptr, 10);
    }

    FindState st{&title, nullptr};
    if (!poll([&] { EnumWindows(find_proc, reinterpret_cast<LPARAM>(&st)); return st.found != nullptr; }, timeout_ms)) {
        std::fprintf(stderr, "box_reader: no box within %llu ms\n", timeout_ms);
        return 1;
    }
    const Report r = read_box(st.found);
    // Posting WM_COMMAND is what a click ends in; it does not depend on the box
    // having focus or on a display, which BM_CLICK under a null driver might.
    PostMessageW(st.found, WM_COMMAND, MAKEWPARAM(r.press_id, BN_CLICKED), reinterpret_cast<LPARAM>(r.press_button));
    const bool closed = poll([&] { return !IsWindow(st.found) || !IsWindowVisible(st.found); }, 10000);

    const int n = WideCharToMultiByte(CP_UTF8, 0, r.text.data(), static_cast<int>(r.text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, r.text.data(), static_cast<int>(r.text.size()), bytes.data(), n, nullptr, nullptr);
    HANDLE h = out_path.empty() ? GetStdHandle(STD_OUTPUT_HANDLE)
                                : CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = h != INVALID_HANDLE_VALUE && h &&
                    (bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    if (!out_path.empty() && h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (!closed) {
        std::fputs("box_reader: the box did not close after OK\n", stderr);
        return 3;
    }
    return ok ? 0 : 2;
}
