// box_reader.exe: finds message boxes of other processes, reports them and
// presses OK, so tests can check what the launcher shows without a user.
//
//   box_reader.exe [--title T] [--timeout-ms N] [--count N] [--out FILE] [--dump]
//   box_reader.exe [--title T] --none-within-ms M [--out FILE] [--dump]
//
// Per box it prints (UTF-8):
//   title=<title>
//   icon=yes|no
//   buttons=<button texts without '&', comma separated, left to right>
//   text=<message text>
// with backslash, CR and LF written as \\, \r and \n. --dump adds one
// "child=" line per child control after the text, for diagnosis.
//
// Exit codes: 0 = every expected box was found and pressed (or, with
// --none-within-ms, no box appeared); 1 = time-out (or a box did appear);
// 2 = bad arguments; 3 = a box did not close after being pressed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kMessageTextId = 0xFFFF; // Windows; Wine uses 100 (found by class below)
constexpr DWORD kPollMs = 10;
constexpr ULONGLONG kCloseDeadlineMs = 10000;

std::string to_utf8(const std::wstring& w)
{
    if (w.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring escape(const std::wstring& in)
{
    std::wstring out;
    for (wchar_t c : in) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        default: out += c; break;
        }
    }
    return out;
}

// WM_GETTEXT rather than GetWindowTextW: for controls of another process the
// latter returns the cached window name, not what the control displays.
std::wstring window_text(HWND hwnd)
{
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
        return {};
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return {};
    buf.resize(std::min<size_t>(got, len));
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
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == L'&' && i + 1 < in.size())
            ++i;
        out += in[i];
    }
    return out;
}

struct Child {
    HWND hwnd;
    std::wstring cls;
    int id;
    LONG style;
};

std::vector<Child> children_of(HWND dlg)
{
    std::vector<Child> out;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        out.push_back({c, class_name(c), GetDlgCtrlID(c), GetWindowLongW(c, GWL_STYLE)});
    return out;
}

bool is_static(const Child& c) { return _wcsicmp(c.cls.c_str(), L"Static") == 0; }
bool is_button(const Child& c) { return _wcsicmp(c.cls.c_str(), L"Button") == 0; }
bool is_icon(const Child& c) { return is_static(c) && (c.style & SS_TYPEMASK) == SS_ICON; }

struct Report {
    std::wstring title;
    bool icon = false;
    std::vector<std::wstring> buttons;
    std::wstring text;
    HWND ok_button = nullptr;
    int press_id = 0;
    std::wstring dump;
};

Report read_box(HWND dlg)
{
    Report r;
    r.title = window_text(dlg);
    const std::vector<Child> kids = children_of(dlg);

    const Child* text_ctl = nullptr;
    for (const Child& c : kids)
        if (c.id == kMessageTextId && is_static(c))
            text_ctl = &c;
    for (const Child& c : kids) {
        const bool visible = (c.style & WS_VISIBLE) != 0;
        if (!text_ctl && visible && is_static(c) && !is_icon(c))
            text_ctl = &c;
        if (visible && is_icon(c)) {
            DWORD_PTR icon = 0;
            SendMessageTimeoutW(c.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
            r.icon = r.icon || icon != 0;
        }
        if (visible && is_button(c)) {
            r.buttons.push_back(without_mnemonics(window_text(c.hwnd)));
            if (c.id == IDOK || r.press_id == 0) {
                r.press_id = c.id;
                r.ok_button = c.hwnd;
            }
        }
        wchar_t line[160];
        swprintf(line, 160, L"child=id=0x%04X class=%ls style=0x%08lX visible=%ls text=", c.id,
                 c.cls.c_str(), static_cast<unsigned long>(c.style), visible ? L"yes" : L"no");
        r.dump += line + escape(window_text(c.hwnd)) + L"\n";
    }
    if (text_ctl)
        r.text = window_text(text_ctl->hwnd);
    return r;
}

std::wstring format(const Report& r, bool dump)
{
    std::wstring out = L"title=" + escape(r.title) + L"\n";
    out += std::wstring(L"icon=") + (r.icon ? L"yes" : L"no") + L"\n";
    out += L"buttons=";
    for (size_t i = 0; i < r.buttons.size(); ++i)
        out += (i ? L"," : L"") + r.buttons[i];
    out += L"\ntext=" + escape(r.text) + L"\n";
    if (dump)
        out += r.dump;
    return out;
}

struct FindState {
    const std::wstring* title;
    HWND found;
};

BOOL CALLBACK find_proc(HWND hwnd, LPARAM lp)
{
    auto* st = reinterpret_cast<FindState*>(lp);
    if (class_name(hwnd) != L"#32770" || !IsWindowVisible(hwnd))
        return TRUE;
    if (window_text(hwnd) != *st->title)
        return TRUE;
    st->found = hwnd;
    return FALSE;
}

HWND find_box(const std::wstring& title)
{
    FindState st{&title, nullptr};
    EnumWindows(find_proc, reinterpret_cast<LPARAM>(&st));
    return st.found;
}

HWND wait_for_box(const std::wstring& title, ULONGLONG wait_ms)
{
    const ULONGLONG deadline = GetTickCount64() + wait_ms;
    for (;;) {
        if (HWND h = find_box(title))
            return h;
        if (GetTickCount64() >= deadline)
            return nullptr;
        Sleep(kPollMs);
    }
}

// Posting WM_COMMAND is what a click ends in; it does not depend on the box
// having focus or on a display, which BM_CLICK under a null driver might.
bool press_and_wait_closed(HWND dlg, const Report& r)
{
    const int id = r.press_id ? r.press_id : IDOK;
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(r.ok_button));
    const ULONGLONG deadline = GetTickCount64() + kCloseDeadlineMs;
    while (IsWindow(dlg) && IsWindowVisible(dlg)) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

bool write_output(const std::wstring& out_path, const std::wstring& text)
{
    const std::string bytes = to_utf8(text);
    HANDLE h;
    bool close = false;
    if (out_path.empty()) {
        h = GetStdHandle(STD_OUTPUT_HANDLE);
    } else {
        h = CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        close = true;
    }
    if (h == INVALID_HANDLE_VALUE || h == nullptr)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() ||
                    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (close)
        CloseHandle(h);
    return ok;
}

struct Options {
    std::wstring title = L"Error";
    ULONGLONG timeout_ms = 20000;
    long count = 1;
    long long none_within_ms = -1;
    std::wstring out;
    bool dump = false;
};

bool parse(int argc, wchar_t** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--dump") {
            o.dump = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const wchar_t* v = argv[++i];
        if (a == L"--title")
            o.title = v;
        else if (a == L"--timeout-ms")
            o.timeout_ms = std::wcstoull(v, nullptr, 10);
        else if (a == L"--count")
            o.count = std::wcstol(v, nullptr, 10);
        else if (a == L"--none-within-ms")
            o.none_within_ms = std::wcstoll(v, nullptr, 10);
        else if (a == L"--out")
            o.out = v;
        else
            return false;
    }
    return o.count >= 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::fputs("usage: box_reader [--title T] [--timeout-ms N] [--count N] [--out FILE] [--dump]\n"
                   "       box_reader [--title T] --none-within-ms M [--out FILE] [--dump]\n",
                   stderr);
        return 2;
    }

    std::wstring out;
    int rc = 0;
    if (o.none_within_ms >= 0) {
        if (HWND dlg = wait_for_box(o.title, static_cast<ULONGLONG>(o.none_within_ms))) {
            const Report r = read_box(dlg);
            out += format(r, o.dump);
            press_and_wait_closed(dlg, r);
            rc = 1;
        }
    } else {
        for (long n = 0; n < o.count; ++n) {
            HWND dlg = wait_for_box(o.title, o.timeout_ms);
            if (!dlg) {
                std::fprintf(stderr, "box_reader: no box %ld within %llu ms\n", n + 1, o.timeout_ms);
                rc = 1;
                break;
            }
            const Report r = read_box(dlg);
            out += format(r, o.dump);
            if (!press_and_wait_closed(dlg, r)) {
                std::fputs("box_reader: the box did not close after OK\n", stderr);
                rc = 3;
                break;
            }
        }
    }
    if (!write_output(o.out, out) && rc == 0)
        rc = 2;
    return rc;
}
