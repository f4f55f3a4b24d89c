#include "filetypes/document_types.h"

#include "support/registry_test_support.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> WritesAndDeletions(const EmulatedPlatform& os) {
  return CallsStartingWith(os, {"RegSetValueEx", "RegDeleteValue"});
}

TEST(DocumentTypes, WritesTwentyValuesAndDeletesFourInOrder) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.set_module_file_name(u"C:\\Program Files\\Example\\bin\\launcher.exe");
  RegisterDocumentTypes();

  const std::string command = R"(REG_SZ 104 ""C:\Program Files\Example\bin\launcher.exe" -I "%1"\0")";
  const std::string icon = R"(REG_SZ 88 "C:\Program Files\Example\bin\launcher.exe,0\0")";
  const std::vector<std::string> expected = {
      "RegSetValueEx HKCR\\.OFX [] REG_SZ 26 \"OFX.Document\\0\"",
      "RegSetValueEx HKCR\\.OFX\\shell\\open\\command [] " + command,
      "RegSetValueEx HKCR\\OFX.Document [] REG_SZ 2 \"\\0\"",
      "RegSetValueEx HKCR\\OFX.Document\\DefaultIcon [] " + icon,
      "RegSetValueEx HKCR\\OFX.Document\\shell\\open\\command [] " + command,
      "RegDeleteValue HKCR\\OFX.Document\\shell\\open\\command [command]",
      "RegSetValueEx HKCR\\.OFC [] REG_SZ 26 \"OFC.Document\\0\"",
      "RegSetValueEx HKCR\\.OFC\\shell\\open\\command [] " + command,
      "RegSetValueEx HKCR\\OFC.Document [] REG_SZ 2 \"\\0\"",
      "RegSetValueEx HKCR\\OFC.Document\\DefaultIcon [] " + icon,
      "RegSetValueEx HKCR\\OFC.Document\\shell\\open\\command [] " + command,
      "RegDeleteValue HKCR\\OFC.Document\\shell\\open\\command [command]",
      "RegSetValueEx HKCR\\.QIF [] REG_SZ 26 \"QIF.Document\\0\"",
      "RegSetValueEx HKCR\\.QIF\\shell\\open\\command [] " + command,
      "RegSetValueEx HKCR\\QIF.Document [] REG_SZ 2 \"\\0\"",
      "RegSetValueEx HKCR\\QIF.Document\\DefaultIcon [] " + icon,
      "RegSetValueEx HKCR\\QIF.Document\\shell\\open\\command [] " + command,
      "RegDeleteValue HKCR\\QIF.Document\\shell\\open\\command [command]",
      "RegSetValueEx HKCR\\.OFF [] REG_SZ 26 \"OFF.Document\\0\"",
      "RegSetValueEx HKCR\\.OFF\\shell\\open\\command [] " + command,
      "RegSetValueEx HKCR\\OFF.Document [] REG_SZ 2 \"\\0\"",
      "RegSetValueEx HKCR\\OFF.Document\\DefaultIcon [] " + icon,
      "RegSetValueEx HKCR\\OFF.Document\\shell\\open\\command [] " + command,
      "RegDeleteValue HKCR\\OFF.Document\\shell\\open\\command [command]",
  };
  EXPECT_EQ(WritesAndDeletions(os), expected);
  EXPECT_EQ(os.open_key_count(), 0u);
  EXPECT_TRUE(os.boxes().empty());
}

TEST(DocumentTypes, AnExecutablePathThatCannotBeHadWholeRegistersNothing) {
  struct Case {
    const char* name;
    size_t path_length;
    bool query_fails;
    bool registers;
  } cases[] = {
      {"longest path that fits", 519, false, true},
      {"one character too long", 520, false, false},
      {"query fails", 20, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    WString path = u"C:\\" + WString(c.path_length - 15, u'p') + u"\\ledgrix.exe";
    os.set_module_file_name(path);
    if (c.query_fails) os.FailNext(Op::GetModuleFileName, err::kNotEnoughMemory);
    RegisterDocumentTypes();
    EXPECT_EQ(WritesAndDeletions(os).size(), c.registers ? 24u : 0u);
    if (c.registers) {
      EXPECT_EQ(os.registry().GetValue(u"HKCR\\OFF.Document\\DefaultIcon", u"")->data, StringBytes(path + u",0"));
    }
  }
}

TEST(DocumentTypes, ARegistryThatRefusesWritesStopsNothing) {
  struct Case {
    const char* name;
    WString refusing;
    size_t values_written;
  } cases[] = {
      {"whole root", u"HKCR", 0},
      {"one type key", u"HKCR\\OFC.Document", 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    os.registry().DenyWrite(c.refusing);
    RegisterDocumentTypes();  // an exit would throw EmulatedExit here

    EXPECT_EQ(CallsStartingWith(os, {"RegCreateKeyEx"}).size(), 20u) << "every value is still attempted";
    size_t values = 0;
    for (const WString type : {u"OFX", u"OFC", u"QIF", u"OFF"})
      for (const WString& key : {u"." + type, u"." + type + u"\\shell\\open\\command", type + u".Document",
                                 type + u".Document\\DefaultIcon", type + u".Document\\shell\\open\\command"})
        values += os.registry().GetValue(u"HKCR\\" + key, u"").has_value();
    EXPECT_EQ(values, c.values_written);
    EXPECT_EQ(os.open_key_count(), 0u);
    EXPECT_TRUE(os.boxes().empty());
  }
}

}  // namespace
