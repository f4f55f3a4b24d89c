#include "filetypes/file_type_access.h"

#include "platform/emulated_platform.h"
#include "support/registry_test_support.h"
#include "support/test_support.h"

namespace {

const WString kExtension = u"OFX";
const WString kTypeName = u"OFX.Document";
const WString kOpenCommand = u"C:\\Ledgrix\\bin\\ledgrix.exe -I \"%1\"";
const WString kIcon = u"C:\\Ledgrix\\bin\\ledgrix.exe,0";

// One default value written below HKEY_CLASSES_ROOT.
struct Row {
  WString key;
  WString data;
  bool deletes_command = false;
};

// The calls that write a row: the key opened, the value set, the type key's
// value "command" deleted, the key closed.
std::vector<std::string> CallsFor(const Row& row) {
  std::string key = "HKCR\\" + ToUtf8(row.key);
  std::vector<std::string> calls = {"RegCreateKeyEx " + key, "RegSetValueEx " + key + " [] REG_SZ " +
                                                                 std::to_string((row.data.size() + 1) * 2) + " \"" +
                                                                 ToUtf8(row.data) + "\\0\""};
  if (row.deletes_command) calls.push_back("RegDeleteValue " + key + " [command]");
  calls.push_back("RegCloseKey " + key);
  return calls;
}

std::map<std::string, EmulatedRegistry::Value> ValuesBelowClassesRoot(const EmulatedRegistry& registry) {
  std::map<std::string, EmulatedRegistry::Value> values;
  for (auto& [where, value] : RegistryTree(registry, u"HKCR"))
    if (where.find(" [") != std::string::npos) values[where] = value;
  return values;
}

struct Fields {
  WString extension, open_command, type_name, type_icon;
};

void Fill(CGCFileTypeAccess& record, const Fields& fields) {
  record.SetFileExtension(fields.extension.c_str());
  record.SetOpenCommand(fields.open_command.c_str());
  record.SetTypeOpenCommand(fields.open_command.c_str());
  record.SetTypeName(fields.type_name.c_str());
  record.SetTypeIcon(fields.type_icon.c_str());
}

class FileTypeAccess : public ::testing::Test {
 protected:
  EmulatedPlatform os_;
  ScopedPlatform installed_{os_};
  CGCFileTypeAccess record_;
};

TEST_F(FileTypeAccess, WritesTheRowsOfTheFieldsThatAreSet) {
  const Row ext_key{u".OFX", kTypeName};
  const Row ext_command{u".OFX\\shell\\open\\command", kOpenCommand};
  const Row type_key{u"OFX.Document", u""};
  const Row type_icon{u"OFX.Document\\DefaultIcon", kIcon};
  const Row type_command{u"OFX.Document\\shell\\open\\command", kOpenCommand, true};
  struct Case {
    const char* name;
    Fields fields;
    std::vector<Row> rows;
  } cases[] = {
      {"every field",
       {kExtension, kOpenCommand, kTypeName, kIcon},
       {ext_key, ext_command, type_key, type_icon, type_command}},
      {"no extension", {u"", kOpenCommand, kTypeName, kIcon}, {type_key, type_icon, type_command}},
      {"no type name", {kExtension, kOpenCommand, u"", kIcon}, {{u".OFX", u""}, ext_command}},
      {"no open command", {kExtension, u"", kTypeName, kIcon}, {ext_key, type_key, type_icon}},
      {"no icon", {kExtension, kOpenCommand, kTypeName, u""}, {ext_key, ext_command, type_key, type_command}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    CGCFileTypeAccess record;
    Fill(record, c.fields);
    EXPECT_EQ(record.WriteAssociation(), 1);

    std::vector<std::string> expected_calls;
    std::map<std::string, EmulatedRegistry::Value> expected_values;
    for (const Row& row : c.rows) {
      for (std::string& call : CallsFor(row)) expected_calls.push_back(std::move(call));
      expected_values[ToUtf8(u"HKCR\\" + row.key + u" []")] = {kRegSz, StringBytes(row.data)};
    }
    EXPECT_EQ(RegistryCalls(os), expected_calls);
    EXPECT_EQ(ValuesBelowClassesRoot(os.registry()), expected_values);
    EXPECT_EQ(os.open_key_count(), 0u);
  }
}

TEST_F(FileTypeAccess, LeavesTheRestOfExistingKeysAlone) {
  EmulatedRegistry& registry = os_.registry();
  registry.PutString(u"HKCR\\.ofx", u"", u"Other.Document");
  registry.PutString(u"HKCR\\.ofx", u"Content Type", u"application/x-ofx");
  registry.PutString(u"HKCR\\.ofx\\OpenWithProgids", u"Other.Document", u"");
  registry.PutString(u"HKCR\\.ofx\\shell\\open\\command", u"command", u"descriptor");
  registry.PutString(u"HKCR\\ofx.document\\shell\\open\\command", u"Command", u"descriptor");
  registry.PutString(u"HKCR\\ofx.document\\shell\\open\\command", u"other", u"kept");
  registry.PutString(u"HKCR\\ofx.document\\shell\\print\\command", u"", u"printer");
  auto before = RegistryTree(registry, u"HKCR");

  Fill(record_, {kExtension, kOpenCommand, kTypeName, kIcon});
  record_.WriteAssociation();

  auto after = RegistryTree(registry, u"HKCR");
  // The written default values and the deleted "command" are the only changes.
  const char* changed[] = {"HKCR\\.ofx []", "HKCR\\.ofx\\shell\\open\\command []", "HKCR\\ofx.document []",
                           "HKCR\\ofx.document\\DefaultIcon []", "HKCR\\ofx.document\\shell\\open\\command []",
                           "HKCR\\ofx.document\\shell\\open\\command [Command]",
                           // Keys that had no value before.
                           "HKCR\\ofx.document", "HKCR\\ofx.document\\DefaultIcon"};
  for (const char* where : changed) {
    before.erase(where);
    after.erase(where);
  }
  EXPECT_EQ(after, before);
  EXPECT_EQ(registry.Spelling(u"HKCR\\.OFX\\SHELL\\OPEN\\COMMAND"), u"HKCR\\.ofx\\shell\\open\\command");
  EXPECT_EQ(registry.Spelling(u"HKCR\\OFX.Document"), u"HKCR\\ofx.document");
  EXPECT_EQ(registry.GetValue(u"HKCR\\.ofx", u"")->data, StringBytes(kTypeName));
  EXPECT_FALSE(registry.GetValue(u"HKCR\\ofx.document\\shell\\open\\command", u"command"));
  EXPECT_TRUE(registry.GetValue(u"HKCR\\.ofx\\shell\\open\\command", u"command"));
}

TEST_F(FileTypeAccess, ARefusedCallSkipsOnlyItsOwnValue) {
  const WString keys[] = {u".OFX", u".OFX\\shell\\open\\command", u"OFX.Document", u"OFX.Document\\DefaultIcon",
                          u"OFX.Document\\shell\\open\\command"};
  for (Op op : {Op::RegCreateKeyEx, Op::RegSetValueEx}) {
    for (int nth = 1; nth <= 5; ++nth) {
      SCOPED_TRACE(std::string(OpName(op)) + " #" + std::to_string(nth));
      EmulatedPlatform os;
      ScopedPlatform installed(os);
      os.registry().PutString(u"HKCR\\OFX.Document\\shell\\open\\command", u"command", u"descriptor");
      CGCFileTypeAccess record;
      Fill(record, {kExtension, kOpenCommand, kTypeName, kIcon});
      os.FailNext(op, err::kAccessDenied, nth);
      EXPECT_EQ(record.WriteAssociation(), 1);

      for (int row = 1; row <= 5; ++row) {
        WString key = u"HKCR\\" + keys[row - 1];
        EXPECT_EQ(os.registry().GetValue(key, u"").has_value(), row != nth) << ToUtf8(key);
      }
      EXPECT_EQ(os.open_key_count(), 0u);
      // The descriptor goes whenever the type's command key was opened.
      bool command_key_opened = !(op == Op::RegCreateKeyEx && nth == 5);
      EXPECT_EQ(os.registry().GetValue(u"HKCR\\OFX.Document\\shell\\open\\command", u"command").has_value(),
                !command_key_opened);
    }
  }
}

TEST_F(FileTypeAccess, RegistryCallsRefuseMissingArguments) {
  constexpr RegKey kUntouched{0x5151};
  struct Case {
    const char* name;
    RegKey root;
    const WChar* sub_key;
    const WChar* value_name;
    const WChar* data;
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
    EXPECT_EQ(os_.GetLastError(), err::kInvalidArgHResult);

    os_.SetLastError(0);
    EXPECT_EQ(record_.SetStringValueAndClose(c.root, c.sub_key, c.value_name, c.data), 0);
    EXPECT_EQ(os_.GetLastError(), err::kInvalidArgHResult);
  }
  EXPECT_EQ(RegistryCalls(os_), std::vector<std::string>{});
}

TEST_F(FileTypeAccess, ValueNameAndDataMayBeEmpty) {
  RegKey key = kNullKey;
  record_.SetStringValue(kHKeyClassesRoot, &key, u"Empty", u"", u"");
  ASSERT_NE(key, kNullKey);
  EXPECT_EQ(os_.open_key_count(), 1u) << "the key stays open for the caller";
  os_.RegCloseKey(key);
  EXPECT_EQ(os_.registry().GetValue(u"HKCR\\Empty", u"")->data, StringBytes(u""));
}

TEST_F(FileTypeAccess, SetAndCloseAnswersWhetherTheKeyCouldBeOpened) {
  EXPECT_EQ(record_.SetStringValueAndClose(kHKeyClassesRoot, u"A", u"v", u"x"), 1);

  os_.FailNext(Op::RegSetValueEx, err::kAccessDenied);
  EXPECT_EQ(record_.SetStringValueAndClose(kHKeyClassesRoot, u"B", u"v", u"x"), 1)
      << "a refused value write still counts";

  os_.registry().DenyWrite(u"HKCR\\C");
  EXPECT_EQ(record_.SetStringValueAndClose(kHKeyClassesRoot, u"C", u"v", u"x"), 0);
  EXPECT_EQ(os_.open_key_count(), 0u);
}

TEST_F(FileTypeAccess, DeleteValueAnswersWhetherTheValueWasDeleted) {
  os_.registry().PutString(u"HKCR\\K", u"command", u"x");
  RegKey key = kNullKey;
  ASSERT_EQ(os_.RegCreateKeyEx(kHKeyClassesRoot, u"K", 0, kKeySetValue, &key, nullptr), 0);
  EXPECT_EQ(record_.DeleteValue(key, u"command"), 1);
  EXPECT_EQ(record_.DeleteValue(key, u"command"), 0);
  os_.RegCloseKey(key);
}

// Records the order in which WriteAssociation reaches the steps.
class RecordingAccess : public CGCFileTypeAccess {
 public:
  std::vector<std::string> steps;
  int32_t WriteExtensionKey() override { return Step("extension"); }
  int32_t WriteTypeKey() override { return Step("type"); }
  int32_t ReservedStep1() override { return Step("reserved 1"); }
  int32_t ReservedStep2() override { return Step("reserved 2"); }

 private:
  int32_t Step(const char* name) {
    steps.push_back(name);
    return 0;
  }
};

TEST_F(FileTypeAccess, WriteAssociationRunsTheOverridableStepsInOrderAndAnswersTrue) {
  RecordingAccess recording;
  CGCFileTypeAccess& record = recording;
  EXPECT_EQ(record.WriteAssociation(), 1);
  EXPECT_EQ(recording.steps, (std::vector<std::string>{"extension", "type", "reserved 1", "reserved 2"}));
}

TEST_F(FileTypeAccess, CarriesItsRunTimeClass) {
  const CObject& object = record_;
  const CRuntimeClass* info = object.GetRuntimeClass();
  EXPECT_STREQ(info->class_name, "CGCFileTypeAccess");
  EXPECT_EQ(info->schema, 0xFFFFu);
  EXPECT_EQ(info->create_object, nullptr);
  EXPECT_EQ(info->base_class, &CObject::classCObject);
  EXPECT_TRUE(object.IsKindOf(&CObject::classCObject));
}

TEST_F(FileTypeAccess, SettersCopyTheirTextAndANullPointerEmpties) {
  struct Setter {
    void (CGCFileTypeAccess::*set)(const WChar*);
    WString CGCFileTypeAccess::*field;
  } setters[] = {
      {&CGCFileTypeAccess::SetFileExtension, &CGCFileTypeAccess::extension},
      {&CGCFileTypeAccess::SetOpenCommand, &CGCFileTypeAccess::open_command},
      {&CGCFileTypeAccess::SetTypeName, &CGCFileTypeAccess::type_name},
      {&CGCFileTypeAccess::SetTypeIcon, &CGCFileTypeAccess::type_icon},
      {&CGCFileTypeAccess::SetTypeOpenCommand, &CGCFileTypeAccess::type_open_command},
  };
  for (const Setter& setter : setters) {
    WChar text[] = u"QIF";
    (record_.*setter.set)(text);
    text[0] = u'X';
    EXPECT_EQ(record_.*setter.field, u"QIF");
    (record_.*setter.set)(nullptr);
    EXPECT_EQ(record_.*setter.field, u"");
  }
}

TEST_F(FileTypeAccess, ClearAllEmptiesEveryField) {
  Fill(record_, {kExtension, kOpenCommand, kTypeName, kIcon});
  record_.type_description = u"set directly";
  record_.ClearAll();
  for (const WString* field : {&record_.extension, &record_.open_command, &record_.type_name, &record_.type_description,
                               &record_.type_icon, &record_.type_open_command})
    EXPECT_EQ(*field, u"");
  record_.WriteAssociation();
  EXPECT_EQ(RegistryCalls(os_), std::vector<std::string>{});
}

}  // namespace
