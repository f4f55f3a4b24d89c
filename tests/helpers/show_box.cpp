// show_box.exe STYLE TEXT: shows MessageBoxW(NULL, TEXT, L"Error", STYLE) and
// exits with the button's return value. STYLE is a C integer (0x10, 16, ...).
// Inside TEXT, \n, \r and \\ stand for a line feed, a carriage return and a
// backslash, because a shell cannot easily pass control characters through wine.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring unescape(const wchar_t* text)
{
    std::wstring out;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\\' && p[1]) {
            ++p;
            switch (*p) {
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            case L'\\': out += L'\\'; break;
            default: out += L'\\'; out += *p; break;
            }
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (__argc < 3)
        return 255;
    const UINT style = static_cast<UINT>(std::wcstoul(__wargv[1], nullptr, 0));
    const std::wstring text = unescape(__wargv[2]);
    return MessageBoxW(nullptr, text.c_str(), L"Error", style);
}
