// What the built launcher carries and what one start leaves in the registry.
#include "support.h"

namespace {

std::wstring Value(const std::wstring& key, const wchar_t* name = L"") {
  wchar_t data[1024] = {};
  DWORD size = sizeof data, type = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_ANY, &type, data, &size)) return L"<none>";
  return type == REG_SZ ? std::wstring(data, size / 2) : L"<type " + std::to_wstring(type) + L">";
}

// A descriptor in "command" would take precedence over the default value: it
// goes under the type's key, where the shell looks first, and only there.
TEST(Registration, AStartWritesTheFourTypesForItsExecutable) {
  for (const wchar_t* key : {L".ofx\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_SZ, L"d", 4);
  RunningLauncher running;
  Folder at(L"types");
  const std::wstring exe = at.Launcher(L"Program Files\\bin\\ledgrix.exe");
  at.Put(L"Program Files\\ledgrix.boot", "");
  EXPECT_EQ(RunToEnd(Quote(exe)).exit_code, 0u);
  const std::wstring command = Quote(exe) + L" -I \"%1\"";
  for (const std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
    const std::wstring document = type + L".Document";
    EXPECT_EQ(Utf8(Value(L"." + type)), Utf8(document + L'\0'));
    EXPECT_EQ(Utf8(Value(L"." + type + L"\\shell\\open\\command")), Utf8(command + L'\0'));
    EXPECT_EQ(Utf8(Value(document)), Utf8(std::wstring(1, L'\0')));
    EXPECT_EQ(Utf8(Value(document + L"\\DefaultIcon")), Utf8(exe + L",0" + L'\0'));
    EXPECT_EQ(Utf8(Value(document + L"\\shell\\open\\command")), Utf8(command + L'\0'));
  }
  EXPECT_EQ(Utf8(Value(L".OFX\\shell\\open\\command", L"command")), Utf8(std::wstring(L"d") + L'\0'));
  EXPECT_EQ(Utf8(Value(L"OFX.Document\\shell\\open\\command", L"command")), "<none>");
  for (const wchar_t* key : {L".OFX", L".OFC", L".QIF", L".OFF", L"OFX.Document", L"OFC.Document", L"QIF.Document", L"OFF.Document"})
    RegDeleteTreeW(HKEY_CLASSES_ROOT, key), RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
}

// The document icon group (eight images), the version record with the
// project's version and an empty manifest, and nothing else.
TEST(Registration, TheLauncherCarriesItsIconVersionAndManifestOnly) {
  const std::wstring exe = Env(L"LEDGRIX_EXE");
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(module);
  std::vector<ULONG_PTR> types;
  EnumResourceTypesW(module, [](HMODULE, LPWSTR type, LONG_PTR list) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
  }, reinterpret_cast<LONG_PTR>(&types));
  EXPECT_EQ(types, (std::vector<ULONG_PTR>{3, 14, 16, 24}));  // icon images, icon group, version, manifest
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(202), MAKEINTRESOURCEW(14));
  ASSERT_TRUE(group);
  const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  std::wstring images;
  for (int i = 0; i < *reinterpret_cast<const WORD*>(directory + 4); ++i) {
    const BYTE* entry = directory + 6 + 14 * i;
    images += std::to_wstring(entry[0] ? entry[0] : 256) + L"x" + std::to_wstring(*reinterpret_cast<const WORD*>(entry + 6)) + L" ";
  }
  EXPECT_EQ(images, L"256x8 128x8 64x8 256x32 48x32 32x32 24x32 16x32 ");
  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_TRUE(manifest);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))), SizeofResource(module, manifest));
  EXPECT_NE(text.find("manifestVersion=\"1.0\"/>"), std::string::npos) << text;
  FreeLibrary(module);
  std::vector<BYTE> version(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, version.size(), version.data()) &&
              VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  const std::wstring file_version = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(file_version, Env(L"LEDGRIX_VERSION"));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
}

}  // namespace
