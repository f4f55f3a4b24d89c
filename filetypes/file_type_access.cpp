#include "filetypes/file_type_access.h"

namespace {

void Assign(WString& field, const WChar* text) { field = text ? text : u""; }

constexpr WStringView kOpenCommandKey = u"\\shell\\open\\command";

}  // namespace

void CGCFileTypeAccess::SetFileExtension(const WChar* text) { Assign(extension, text); }
void CGCFileTypeAccess::SetOpenCommand(const WChar* text) { Assign(open_command, text); }
void CGCFileTypeAccess::SetTypeName(const WChar* text) { Assign(type_name, text); }
void CGCFileTypeAccess::SetTypeIcon(const WChar* text) { Assign(type_icon, text); }

void CGCFileTypeAccess::WriteExtensionKey(std::vector<RegistryWrite>* writes) const {
  if (extension.empty()) return;
  const WString key = u"." + extension;
  writes->push_back({key, type_name});
  if (!open_command.empty()) writes->push_back({key + WString(kOpenCommandKey), open_command});
}

void CGCFileTypeAccess::WriteTypeKey(std::vector<RegistryWrite>* writes) const {
  if (type_name.empty()) return;
  writes->push_back({type_name, type_description});
  if (!type_icon.empty()) writes->push_back({type_name + u"\\DefaultIcon", type_icon});
  // An installer's descriptor in a value "command" takes precedence over the
  // default value: removing it makes the shell run the command written here.
  if (!open_command.empty())
    writes->push_back({type_name + WString(kOpenCommandKey), open_command, true});
}

void CGCFileTypeAccess::WriteAssociation() const {
  std::vector<RegistryWrite> writes;
  WriteExtensionKey(&writes);
  WriteTypeKey(&writes);
  os::WriteRegistry(writes);
}
