// What one document type's record writes below HKEY_CLASSES_ROOT, in order.
#include "fake_system.h"
#include "filetypes/file_type_access.h"

namespace {

TEST(FileTypeAccess, WritesOnlyWhatItsFieldsName) {
  struct Case {
    const char16_t *extension, *type_name, *open_command, *icon;
    std::vector<RegistryWrite> writes;
  } cases[] = {
      {u"OFX", u"OFX.Document", u"c", u"i",
       {{u".OFX", u"OFX.Document"}, {u".OFX\\shell\\open\\command", u"c"}, {u"OFX.Document", u""},
        {u"OFX.Document\\DefaultIcon", u"i"}, {u"OFX.Document\\shell\\open\\command", u"c", true}}},
      {u"", u"T", u"c", nullptr, {{u"T", u""}, {u"T\\shell\\open\\command", u"c", true}}},
      {u"E", nullptr, u"c", u"i", {{u".E", u""}, {u".E\\shell\\open\\command", u"c"}}},
      {u"E", u"T", u"", u"i", {{u".E", u"T"}, {u"T", u""}, {u"T\\DefaultIcon", u"i"}}},
  };
  for (const Case& c : cases) {
    CGCFileTypeAccess record;
    record.SetFileExtension(c.extension), record.SetTypeName(c.type_name);
    record.SetOpenCommand(c.open_command), record.SetTypeIcon(c.icon), record.SetTypeOpenCommand(u"never written");
    std::vector<RegistryWrite> writes;
    record.WriteExtensionKey(&writes);
    record.WriteTypeKey(&writes);
    EXPECT_TRUE(writes == c.writes) << Narrow(c.extension);
  }
  fake = FakeSystem();
  EXPECT_TRUE(CGCFileTypeAccess().WriteAssociation()) << "whatever the registry refused";
  EXPECT_EQ(fake.calls, std::vector<std::string>{"WriteRegistry"});
}

}  // namespace
