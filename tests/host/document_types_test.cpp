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
  RegisterDocumentTypes(os.module_file_name());

  const std::string command = R"( [] REG_SZ 104 ""C:\Program Files\Example\bin\launcher.exe" -I "%1"\0")";
  std::vector<std::string> expected;
  for (const std::string type : {"OFX", "OFC", "QIF", "OFF"}) {
    const std::string document = "HKCR\\" + type + ".Document";
    expected.insert(expected.end(), {
        "RegSetValueEx HKCR\\." + type + " [] REG_SZ 26 \"" + type + ".Document\\0\"",
        "RegSetValueEx HKCR\\." + type + "\\shell\\open\\command" + command,
        "RegSetValueEx " + document + " [] REG_SZ 2 \"\\0\"",
        "RegSetValueEx " + document + R"(\DefaultIcon [] REG_SZ 88 "C:\Program Files\Example\bin\launcher.exe,0\0")",
        "RegSetValueEx " + document + "\\shell\\open\\command" + command,
        "RegDeleteValue " + document + "\\shell\\open\\command [command]"});
  }
  ASSERT_EQ(expected.size(), 24u);
  EXPECT_EQ(WritesAndDeletions(os), expected);
  EXPECT_EQ(os.open_key_count(), 0u);
  EXPECT_TRUE(os.boxes().empty());
}

// One type key refusing writes loses its three values; the rest is written
// and nothing ends the start (an exit would throw EmulatedExit here).
TEST(DocumentTypes, ARegistryThatRefusesWritesStopsNothing) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.registry().DenyWrite(u"HKCR\\OFC.Document");
  RegisterDocumentTypes(os.module_file_name());
  EXPECT_EQ(CallsStartingWith(os, {"RegCreateKeyEx"}).size(), 20u) << "every value is still attempted";
  size_t values = 0;
  for (const WString type : {u"OFX", u"OFC", u"QIF", u"OFF"})
    for (const WString& key : {u"." + type, u"." + type + u"\\shell\\open\\command", type + u".Document",
                               type + u".Document\\DefaultIcon", type + u".Document\\shell\\open\\command"})
      values += os.registry().GetValue(u"HKCR\\" + key, u"").has_value();
  EXPECT_EQ(values, 17u);
  EXPECT_EQ(os.open_key_count(), 0u);
  EXPECT_TRUE(os.boxes().empty());
}

}  // namespace
