#include "filetypes/document_types.h"

#include "filetypes/shell_command.h"

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

void RegisterDocumentType(CGCFileTypeAccess& record, const WChar* executable_path, const WChar* extension,
                          const WChar* type_name) {
  record.SetFileExtension(extension);
  WString open_command = OpenCommandFor(executable_path);
  record.SetOpenCommand(open_command.c_str());
  record.SetTypeOpenCommand(open_command.c_str());
  record.SetTypeName(type_name);
  record.SetTypeIcon(IconLocationFor(executable_path).c_str());
  record.WriteAssociation();
}

void RegisterDocumentTypes(const WString& executable_path) {
  CGCFileTypeAccess record;
  for (const DocumentType& type : kDocumentTypes)
    RegisterDocumentType(record, executable_path.c_str(), type.extension, type.type_name);
}
