#include "filetypes/document_types.h"

#include "launcher/launch_values.h"

namespace {

struct DocumentType {
  const WChar* extension;
  const WChar* type_name;
};

constexpr DocumentType kDocumentTypes[] = {
    {u"OFX", u"OFX.Document"},
    {u"OFC", u"OFC.Document"},
    {u"QIF", u"QIF.Document"},
    {u"OFF", u"OFF.Document"},
};

}  // namespace

WString OpenCommandFor(WStringView executable_path) {
  return QuotedIfBlank(executable_path) + u" -I \"%1\"";
}

WString IconLocationFor(WStringView executable_path) { return WString(executable_path) + u",0"; }

void RegisterDocumentType(CGCFileTypeAccess& record,
                          const WString& executable_path,
                          const WChar* extension,
                          const WChar* type_name) {
  record.SetFileExtension(extension);
  const WString open_command = OpenCommandFor(executable_path);
  record.SetOpenCommand(open_command.c_str());
  record.SetTypeName(type_name);
  record.SetTypeIcon(IconLocationFor(executable_path).c_str());
}

void RegisterDocumentTypes(const WString& executable_path) {
  CGCFileTypeAccess record;
  for (const DocumentType& type : kDocumentTypes) {
    RegisterDocumentType(record, executable_path, type.extension, type.type_name);
    record.WriteAssociation();
  }
}
