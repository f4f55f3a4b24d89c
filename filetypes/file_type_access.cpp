#include "filetypes/file_type_access.h"

#include "platform/scoped_handle.h"

const CRuntimeClass CGCFileTypeAccess::classCGCFileTypeAccess = {"CGCFileTypeAccess", sizeof(CGCFileTypeAccess), 0xFFFF,
                                                                 nullptr, &CObject::classCObject};

namespace {

void Assign(WString& field, const WChar* text) {
  if (text)
    field = text;
  else
    field.clear();
}

// Arguments a registry write must not get; the value name and data may be
// empty, the key path may not.
bool WriteArgumentsValid(RegKey root, const WChar* sub_key, const WChar* value_name, const WChar* data) {
  if (root != kNullKey && sub_key && *sub_key && value_name && data) return true;
  platform().SetLastError(err::kInvalidArgHResult);
  return false;
}

constexpr const WChar* kOpenCommandKey = u"\\shell\\open\\command";

}  // namespace

CGCFileTypeAccess::~CGCFileTypeAccess() = default;

const CRuntimeClass* CGCFileTypeAccess::GetRuntimeClass() const { return &classCGCFileTypeAccess; }

void CGCFileTypeAccess::ClearAll() {
  extension.clear();
  open_command.clear();
  type_name.clear();
  type_description.clear();
  type_icon.clear();
  type_open_command.clear();
}

void CGCFileTypeAccess::SetFileExtension(const WChar* text) { Assign(extension, text); }
void CGCFileTypeAccess::SetOpenCommand(const WChar* text) { Assign(open_command, text); }
void CGCFileTypeAccess::SetTypeName(const WChar* text) { Assign(type_name, text); }
void CGCFileTypeAccess::SetTypeIcon(const WChar* text) { Assign(type_icon, text); }
void CGCFileTypeAccess::SetTypeOpenCommand(const WChar* text) { Assign(type_open_command, text); }

int32_t CGCFileTypeAccess::WriteAssociation() {
  WriteExtensionKey();
  WriteTypeKey();
  ReservedStep1();
  ReservedStep2();
  return 1;
}

int32_t CGCFileTypeAccess::WriteExtensionKey() {
  if (extension.empty()) return 1;
  WString key_path = u"." + extension;
  SetStringValueAndClose(kHKeyClassesRoot, key_path.c_str(), u"", type_name.c_str());
  if (!open_command.empty()) {
    key_path += kOpenCommandKey;
    SetStringValueAndClose(kHKeyClassesRoot, key_path.c_str(), u"", open_command.c_str());
  }
  return 1;
}

int32_t CGCFileTypeAccess::WriteTypeKey() {
  if (type_name.empty()) return 1;
  SetStringValueAndClose(kHKeyClassesRoot, type_name.c_str(), u"", type_description.c_str());
  if (!type_icon.empty())
    SetStringValueAndClose(kHKeyClassesRoot, (type_name + u"\\DefaultIcon").c_str(), u"", type_icon.c_str());
  if (!open_command.empty()) {
    // An installer's descriptor in a value "command" takes precedence over the
    // default value: removing it makes the shell run the command written here.
    ScopedRegistryKey key;
    SetStringValue(kHKeyClassesRoot, key.receive(), (type_name + kOpenCommandKey).c_str(), u"", open_command.c_str());
    if (key) {
      DeleteValue(key.get(), u"command");
      key.Close();
    }
  }
  return 1;
}

int32_t CGCFileTypeAccess::ReservedStep1() { return 1; }
int32_t CGCFileTypeAccess::ReservedStep2() { return 1; }

void CGCFileTypeAccess::SetStringValue(RegKey root, RegKey* key_out, const WChar* sub_key, const WChar* value_name,
                                       const WChar* data) {
  if (!WriteArgumentsValid(root, sub_key, value_name, data)) return;
  uint32_t length = static_cast<uint32_t>(WideLength(data));
  uint32_t disposition = 0;
  if (platform().RegCreateKeyEx(root, sub_key, kRegOptionNonVolatile, kKeySetValue, key_out, &disposition) != 0) return;
  platform().RegSetValueEx(*key_out, value_name, kRegSz, reinterpret_cast<const uint8_t*>(data),
                           (length + 1) * static_cast<uint32_t>(sizeof(WChar)));
}

int32_t CGCFileTypeAccess::SetStringValueAndClose(RegKey root, const WChar* sub_key, const WChar* value_name,
                                                  const WChar* data) {
  if (!WriteArgumentsValid(root, sub_key, value_name, data)) return 0;
  ScopedRegistryKey key;
  SetStringValue(root, key.receive(), sub_key, value_name, data);
  if (!key) return 0;
  key.Close();
  return 1;
}

int32_t CGCFileTypeAccess::DeleteValue(RegKey key, const WChar* value_name) {
  return platform().RegDeleteValue(key, value_name) == 0 ? 1 : 0;
}
