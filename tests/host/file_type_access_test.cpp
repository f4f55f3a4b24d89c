#include "filetypes/file_type_access.h"

#include "platform/emulated_platform.h"
#include "support/registry_test_support.h"
#include "support/test_support.h"

namespace {

const WString kCommand = u"C:\\Ledgrix\\bin\\ledgrix.exe -I \"%1\"";
const WString kIcon = u"C:\\Ledgrix\\bin\\ledgrix.exe,0";
const WString kTypeCommandKey = u"HKCR\\OFX.Document\\shell\\open\\command";
const WString kExtensionCommandKey = u"HKCR\\.OFX\\shell\\open\\command";

class FileTypeAccess : public ::testing::Test {
 protected:
  EmulatedPlatform os_;
  ScopedPlatform installed_{os_};
  CGCFileTypeAccess record_;
};

TEST_F(FileTypeAccess, WritesTheDefaultValuesOfTheFieldsThatAreSet) {
  const WString keys[5] = {u"HKCR\\.OFX", kExtensionCommandKey, u"HKCR\\OFX.Document", u"HKCR\\OFX.Document\\DefaultIcon",
                           kTypeCommandKey};
  const WChar* const kTypeName = u"OFX.Document";
  struct Case {
    const char* name;
    WString extension, command, type_name, icon;
    const WChar* values[5];  // null: no value
  } cases[] = {
      {"every field", u"OFX", kCommand, kTypeName, kIcon,
       {kTypeName, kCommand.c_str(), u"", kIcon.c_str(), kCommand.c_str()}},
      {"no extension", u"", kCommand, kTypeName, kIcon, {nullptr, nullptr, u"", kIcon.c_str(), kCommand.c_str()}},
      {"no type name", u"OFX", kCommand, u"", kIcon, {u"", kCommand.c_str(), nullptr, nullptr, nullptr}},
      {"no open command", u"OFX", u"", kTypeName, kIcon, {kTypeName, nullptr, u"", kIcon.c_str(), nullptr}},
      {"no icon", u"OFX", kCommand, kTypeName, u"", {kTypeName, kCommand.c_str(), u"", nullptr, kCommand.c_str()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    // A "command" value the shell may have left: only the type's goes; other
    // values and keys stay, and so does a key's spelling.
    os.registry().PutString(u"HKCR\\.ofx", u"Content Type", u"application/x-ofx");
    os.registry().PutString(kTypeCommandKey, u"command", u"descriptor");
    os.registry().PutString(kExtensionCommandKey, u"command", u"descriptor");
    os.registry().PutString(u"HKCR\\.ofx\\ShellNew", u"NullFile", u"");
    os.registry().PutString(kTypeCommandKey, u"other", u"kept");
    CGCFileTypeAccess record;
    record.SetFileExtension(c.extension.c_str());
    record.SetTypeName(c.type_name.c_str());
    record.SetOpenCommand(c.command.c_str());
    record.SetTypeOpenCommand(c.command.c_str());
    record.SetTypeIcon(c.icon.c_str());
    EXPECT_EQ(record.WriteAssociation(), 1);

    for (int i = 0; i < 5; ++i) {
      auto value = os.registry().GetValue(keys[i], u"");
      std::optional<EmulatedRegistry::Value> expected;
      if (c.values[i]) expected = EmulatedRegistry::Value{kRegSz, StringBytes(c.values[i])};
      EXPECT_EQ(value, expected) << ToUtf8(keys[i]);
    }
    EXPECT_EQ(os.registry().GetValue(kTypeCommandKey, u"command").has_value(), c.values[4] == nullptr);
    EXPECT_TRUE(os.registry().GetValue(kExtensionCommandKey, u"command").has_value());
    EXPECT_TRUE(os.registry().GetValue(u"HKCR\\.OFX", u"Content Type").has_value());
    EXPECT_TRUE(os.registry().GetValue(u"HKCR\\.OFX\\ShellNew", u"NullFile").has_value());
    EXPECT_TRUE(os.registry().GetValue(kTypeCommandKey, u"other").has_value());
    EXPECT_EQ(os.registry().Spelling(u"HKCR\\.OFX"), std::optional<WString>(u"HKCR\\.ofx"));
    EXPECT_EQ(os.open_key_count(), 0u);
  }
}

TEST_F(FileTypeAccess, RegistryCallsRefuseMissingArguments) {
  constexpr RegKey kUntouched{0x5151};
  struct Case {
    const char* name;
    RegKey root;
    const WChar *sub_key, *value_name, *data;
  } cases[] = {
      {"no root", kNullKey, u".OFX", u"", u"x"},
      {"no key path", kHKeyClassesRoot, nullptr, u"", u"x"},
      {"empty key path", kHKeyClassesRoot, u"", u"", u"x"},
      {"no value name", kHKeyClassesRoot, u".OFX", nullptr, u"x"},
      {"no data", kHKeyClassesRoot, u".OFX", u"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    os_.SetLastError(0);
    RegKey key = kUntouched;
    record_.SetStringValue(c.root, &key, c.sub_key, c.value_name, c.data);
    EXPECT_EQ(key, kUntouched);
    EXPECT_EQ(os_.GetLastError(), 0x80070057u);

    os_.SetLastError(0);
    EXPECT_EQ(record_.SetStringValueAndClose(c.root, c.sub_key, c.value_name, c.data), 0);
    EXPECT_EQ(os_.GetLastError(), 0x80070057u);
  }
  EXPECT_EQ(CallsStartingWith(os_, {"Reg"}), std::vector<std::string>{});
}

// Records the order in which WriteAssociation reaches the overridable steps.
class RecordingAccess : public CGCFileTypeAccess {
 public:
  std::string steps;
  int32_t WriteExtensionKey() override { return Step("extension "); }
  int32_t WriteTypeKey() override { return Step("type "); }
  int32_t ReservedStep1() override { return Step("reserved1 "); }
  int32_t ReservedStep2() override { return Step("reserved2"); }

 private:
  int32_t Step(const char* name) {
    steps += name;
    return 0;
  }
};

TEST_F(FileTypeAccess, IsACObjectWhoseWriteAssociationRunsTheVirtualStepsInOrder) {
  RecordingAccess recording;
  CGCFileTypeAccess& record = recording;
  EXPECT_EQ(record.WriteAssociation(), 1);
  EXPECT_EQ(recording.steps, "extension type reserved1 reserved2");

  const CRuntimeClass* info = static_cast<const CObject&>(record_).GetRuntimeClass();
  EXPECT_STREQ(info->class_name, "CGCFileTypeAccess");
  EXPECT_EQ(info->schema, 0xFFFFu);
  EXPECT_EQ(info->create_object, nullptr);
  EXPECT_EQ(info->base_class, &CObject::classCObject);
  EXPECT_TRUE(record_.IsKindOf(&CObject::classCObject));
}


// Callers judge a write by whether the key opened; a deletion by its result.
TEST_F(FileTypeAccess, AnswersWhetherTheKeyOpenedAndWhetherTheValueWasDeleted) {
  os_.registry().DenyWrite(u"HKCR\\Locked");
  EXPECT_EQ(record_.SetStringValueAndClose(kHKeyClassesRoot, u"Open", u"", u"x"), 1);
  EXPECT_EQ(record_.SetStringValueAndClose(kHKeyClassesRoot, u"Locked\\Below", u"", u"x"), 0);
  RegKey key = kNullKey;
  record_.SetStringValue(kHKeyClassesRoot, &key, u"Open", u"command", u"y");
  ASSERT_NE(key, kNullKey);
  EXPECT_EQ(record_.DeleteValue(key, u"command"), 1);
  EXPECT_EQ(record_.DeleteValue(key, u"command"), 0) << "a value that does not exist";
  os_.RegCloseKey(key);
  EXPECT_EQ(os_.open_key_count(), 0u);
}

}  // namespace
