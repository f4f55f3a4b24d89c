#pragma once
// The shell registration of one document type (extension, type name, icon,
// open command) and its writes below HKEY_CLASSES_ROOT. Writing is best
// effort: a refused key skips that one value and nothing is reported, so that
// registration never stops a start.
#include <vector>

#include "platform/platform.h"

class CGCFileTypeAccess {
 public:
  // Each copies its text; a null pointer empties the field.
  void SetFileExtension(const WChar* text);
  void SetOpenCommand(const WChar* text);
  void SetTypeName(const WChar* text);
  void SetTypeIcon(const WChar* text);

  // The values the record writes, in order: the extension key and its open
  // command, then the type key, its icon and its open command, whose value
  // "command" then goes. Nothing is written for an empty key name, and no
  // open command or icon key when that field is empty.
  void WriteExtensionKey(std::vector<RegistryWrite>* writes) const;
  void WriteTypeKey(std::vector<RegistryWrite>* writes) const;
  // Writes both, whatever the registry refuses.
  void WriteAssociation() const;

  WString extension;  // without the leading dot, e.g. "OFX"
  WString open_command;
  WString type_name;         // the ProgID, e.g. "OFX.Document"
  WString type_description;  // nothing sets it: the type key's value is empty
  WString type_icon;         // "path,index" for the DefaultIcon key
};
