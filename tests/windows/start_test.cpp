// The real launcher under Wine: how each start ends, what Java receives, the
// documents in the incoming folder, the executable's resources.
#include <optional>
#include <set>

#include "support.h"

namespace {

std::wstring Join(const std::vector<std::wstring>& texts) {
  std::wstring joined;
  for (const std::wstring& text : texts) joined += (joined.empty() ? L"" : L"\n") + text;
  return joined;
}

// An installation: the launcher in BIN (any letter case counts as bin), the
// Java stand-in in "j re\bin" (unquoted, its path would start j.exe, which is
// no program) and planted in docs, where the documents are, whose content is
// their name.
std::wstring Install(const Folder& at) {
  const std::string javaw = ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe");
  at.Put(L"j re\\bin\\javaw.exe", javaw), at.Put(L"docs\\javaw.exe", javaw), at.Put(L"j.exe", "MZ");
  for (std::wstring name : {L"a.qif", L"l'\u00e9 \u0441\u0447.ofx", L"b.qif"})
    at.Put(L"docs\\" + name, U(name));
  RemoveTree(Incoming()), RemoveTree(Incoming() + L"\\..\\staging");
  return L"\"" + at.Put(L"BIN\\ledgrix.exe", ReadAll(Env(L"LEDGRIX_EXE"))) + L"\"";
}

// A bare javaw comes from the system folder, never from the current folder
// (the opened document's, where anybody may have left one), whatever the
// length of PATH.
TEST(Start, EachStartEndsItsOwnWay) {
  wchar_t system[MAX_PATH];
  const std::wstring system_java = std::wstring(system, GetSystemDirectoryW(system, MAX_PATH)) +
                                   L"\\javaw.exe",
                     path = Env(L"PATH");
  SetEnvironmentVariableW(L"PATH", (path + L";C:\\" + std::wstring(300, L'p')).c_str());
  CopyFileW((Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe").c_str(), system_java.c_str(), FALSE);
  const std::wstring
      boot =
          L"install_dir={}\njrehome={}\\j re\ndefault_options=-Xmx9m\nlib-classpath=c\\;x.jar;\n",
      deep = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\d.qif",
      missing = L"Could not find installation directory at:\n", main = L"|com.zor.ledgrix.Tabex|";
  struct Case {
    std::wstring boot, arguments;  // {} stands for the installation; no boot file when empty
    bool another_runs;
    DWORD exit_code;
    std::wstring box, java, incoming;
  } cases[] = {
      {boot,
       L"-I \"{}\\docs\\a.qif\" -I '{}\\docs\\l''\u00e9 \u0441\u0447.ofx'",
       false,
       0,
       L"",
       L"{}\\j re\\bin\\javaw|-Xmx9m|-classpath|{}\\c\\;{}\\x.jar" + main +
           L"{}\\j re\\bin\\javaw.exe|2",
       L"a.qif\nl'\u00e9 \u0441\u0447.ofx"},
      {L"install_dir={}\nlib-classpath=a\\\\;",
       L"",
       false,
       0,
       L"",
       L"javaw|-Xmx128m|-classpath|{}\\a\\\\" + main + system_java + L"|0",
       L""},
      {boot,
       L"-I {}\\docs\\b.qif -I {}\\docs\\gone.qif -I {}\\docs\\a.qif",
       true,
       0,
       L"",
       L"",
       L"b.qif"},
      {boot, L"-I \"{}\\docs\\" + deep + L"\" -I a.qif", true, 0, L"", L"", L"a.qif\nd.qif"},
      {L"",
       L"-I {}\\docs\\a.qif",
       true,
       2,
       Fatal(L"Unable to open file: {}\\ledgrix.boot", 2, L"parseConfigFile"),
       L"",
       L""},
      {L"install_dir={}\\gone\nlib-classpath=a;",
       L"",
       false,
       2,
       Fatal(missing + L"{}\\gone", 2),
       L"",
       L""},
      {L"lib-classpath=a;", L"", false, 123, Fatal(missing, 123), L"", L""},
      {L"install_dir=C:\\L*x\nlib-classpath=a;",
       L"",
       false,
       123,
       Fatal(missing + L"C:\\L*x", 123),
       L"",
       L""},
      {L"install_dir={}\\" + std::wstring(300, L'x'),
       L"",
       false,
       206,
       Fatal(missing + L"{}\\" + std::wstring(300, L'x'), 206),
       L"",
       L""},
      {L"install_dir={}\njrehome={}\\no\nlib-classpath=a;",
       L"",
       false,
       2,
       Fatal(L"Could not find JRE at:\n\n{}\\no", 2),
       L"",
       L""},
      {L"install_dir={}\njrehome={}\\j re\nlib-classpath=x.jar",
       L"",
       false,
       123,
       Fatal(L"Application classpath is missing\n", 123),
       L"",
       L""},
      {L"install_dir={}\njrehome={}\\docs\nlib-classpath=a;",
       L"",
       false,
       0,
       L"CreateProcess failed (2)\n",
       L"",
       L""},
  };
  for (const Case& c : cases) {
    Folder at;
    auto fill = [&](std::wstring text) {
      for (size_t i; (i = text.find(L"{}")) != std::wstring::npos;) text.replace(i, 2, at.path);
      return text;
    };
    const std::wstring exe = Install(at);
    at.Put(L"docs\\" + deep, "d.qif");
    if (!c.boot.empty()) at.Put(L"ledgrix.boot", U(fill(c.boot)));
    std::optional<AnotherLauncher> another;
    if (c.another_runs) another.emplace();
    Start start(exe + L" " + fill(c.arguments), (at.path + L"\\docs").c_str());
    EXPECT_EQ(start.Finish(), c.exit_code) << U(c.boot + c.arguments);
    EXPECT_EQ(U(Join(start.boxes)), U(fill(c.box)));
    EXPECT_EQ(U(Join(at.Javas())), U(fill(c.java)));
    EXPECT_EQ(U(Join(ListFiles(Incoming()))), U(c.incoming));
    for (const std::wstring& name : ListFiles(Incoming()))
      EXPECT_EQ(ReadAll(Incoming() + L"\\" + name), U(name));
  }
  DeleteFileW(system_java.c_str()), SetEnvironmentVariableW(L"PATH", path.c_str());
}

// While the application runs, its launcher waits and each start hands its
// documents over and ends: a document appears only whole, and an older copy
// the application holds open stops the hand-off, undamaged, nothing staged.
TEST(Start, WhileTheApplicationRunsDocumentsArriveWholeAndOneJavaRuns) {
  Folder at;
  const std::wstring exe = Install(at), large_path = at.path + L"\\docs\\large.ofx";
  std::string boot =
      U(L"install_dir=" + at.path + L"\njrehome=" + at.path + L"\\j re\nlib-classpath=a;");
  at.Put(L"ledgrix.boot", "#" + std::string(4095 - boot.size(), '-') + "\n" + boot),
      at.Put(L"hold", "");  // read in two, the last of 1 byte
  Start first(exe);
  for (int tick = 0; tick < 6000 && at.Javas().empty(); ++tick) Sleep(10);
  const std::string large(48 << 20, 'x');
  at.Put(L"docs\\large.ofx", large);
  Start second(exe + L" -I " + large_path);
  std::set<std::pair<std::wstring, DWORD>> seen;
  for (WIN32_FIND_DATAW found; WaitForSingleObject(second.process.hProcess, 0) == WAIT_TIMEOUT;) {
    HANDLE find = FindFirstFileW((Incoming() + L"\\*.ofx").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE)
      seen.emplace(found.cFileName, found.nFileSizeLow), FindClose(find);
  }
  EXPECT_EQ(second.Finish(), 0u);
  EXPECT_EQ(
      seen,
      (std::set<std::pair<std::wstring, DWORD>>{{L"large.ofx", static_cast<DWORD>(large.size())}}));
  HANDLE held = CreateFileW((Incoming() + L"\\large.ofx").c_str(),
                            GENERIC_READ,
                            FILE_SHARE_READ,
                            nullptr,
                            OPEN_EXISTING,
                            0,
                            nullptr);
  at.Put(L"docs\\large.ofx", "newer");
  EXPECT_EQ(Start(exe + L" -I " + large_path + L" -I " + at.path + L"\\docs\\a.qif").Finish(), 0u);
  CloseHandle(held);
  EXPECT_EQ(ListFiles(Incoming()), std::vector<std::wstring>{L"large.ofx"});
  EXPECT_EQ(ReadAll(Incoming() + L"\\large.ofx").size(), large.size());
  EXPECT_TRUE(ListFiles(Incoming() + L"\\..\\staging").empty());
  EXPECT_EQ(WaitForSingleObject(first.process.hProcess, 0), WAIT_TIMEOUT)
      << "the first launcher waits for Java";
  DeleteFileW((at.path + L"\\hold").c_str());
  EXPECT_EQ(first.Finish(), 0u);
  EXPECT_EQ(at.Javas().size(), 1u);
}

// The document icon group (eight images), the project's version and a
// manifest, and nothing else.
TEST(Start, TheLauncherCarriesItsIconVersionAndManifestOnly) {
  HMODULE module = LoadLibraryExW(Env(L"LEDGRIX_EXE").c_str(),
                                  nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  std::vector<ULONG_PTR> types;
  EnumResourceTypesW(
      module,
      [](HMODULE, LPWSTR type, LONG_PTR list) {
        return reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
                   reinterpret_cast<ULONG_PTR>(type)),
               TRUE;
      },
      reinterpret_cast<LONG_PTR>(&types));
  EXPECT_EQ(types,
            (std::vector<ULONG_PTR>{3, 14, 16, 24}));  // icon images, icon group, version, manifest
  const BYTE* group = static_cast<const BYTE*>(LockResource(
      LoadResource(module, FindResourceW(module, MAKEINTRESOURCEW(202), MAKEINTRESOURCEW(14)))));
  std::wstring images;
  for (int i = 0; group && i < group[4]; ++i)
    images += std::to_wstring(group[6 + 14 * i] ? group[6 + 14 * i] : 256) + L"x" +
              std::to_wstring(group[12 + 14 * i]) + L" ";
  EXPECT_EQ(images, L"256x8 128x8 64x8 256x32 48x32 32x32 24x32 16x32 ");
  const BYTE* version = static_cast<const BYTE*>(LockResource(
      LoadResource(module, FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)))));
  const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(
      version + 40);  // after the header and "VS_VERSION_INFO"
  ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                std::to_wstring(HIWORD(fixed->dwFileVersionLS)),
            Env(L"LEDGRIX_VERSION"));
  EXPECT_TRUE(fixed->dwProductVersionMS == fixed->dwFileVersionMS &&
              fixed->dwProductVersionLS == fixed->dwFileVersionLS);
}

}  // namespace
