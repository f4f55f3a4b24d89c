#pragma once
// The shell registration of one document type (extension, type name, icon,
// open command) and its writer below HKEY_CLASSES_ROOT. Writing is best
// effort: a refused key skips that one value, nothing is reported, and every
// write operation answers true so that registration never stops a start.
#include <cstdint>

#include "classlib/cobject.h"
#include "platform/platform.h"

class CGCFileTypeAccess : public CObject {
 public:
  static const CRuntimeClass classCGCFileTypeAccess;

  CGCFileTypeAccess() = default;
  ~CGCFileTypeAccess() override;

  // Virtual table, after CObject's class query, destructor and archive
  // operation. Results are 32-bit truth values: 1 true, 0 false.
  const CRuntimeClass* GetRuntimeClass() const override;
  virtual void ClearAll();
  virtual int32_t WriteAssociation();
  virtual int32_t WriteExtensionKey();
  virtual int32_t WriteTypeKey();
  virtual int32_t ReservedStep1();
  virtual int32_t ReservedStep2();

  // Each copies its text; a null pointer empties the field.
  void SetFileExtension(const WChar* text);
  void SetOpenCommand(const WChar* text);
  void SetTypeName(const WChar* text);
  void SetTypeIcon(const WChar* text);
  void SetTypeOpenCommand(const WChar* text);

  // Creates or opens root\sub_key for setting values and writes data as a
  // REG_SZ with its terminator. The key stays open in *key_out for the
  // caller; *key_out is untouched when the key could not be created or opened.
  void SetStringValue(RegKey root, RegKey* key_out, const WChar* sub_key, const WChar* value_name, const WChar* data);
  // The same, closing the key: 1 when the key could be created or opened,
  // whether or not the value was written.
  int32_t SetStringValueAndClose(RegKey root, const WChar* sub_key, const WChar* value_name, const WChar* data);
  // 1 when the value was deleted; 0 otherwise, also when it did not exist.
  int32_t DeleteValue(RegKey key, const WChar* value_name);

  // Extension without the leading dot, e.g. "OFX".
  WString extension;
  WString open_command;
  // The ProgID, e.g. "OFX.Document".
  WString type_name;
  // Default value of the type's key; nothing sets it, so it is written empty.
  WString type_description;
  // "path,index" for the type's DefaultIcon key.
  WString type_icon;
  // Kept beside open_command; both open commands are written from open_command.
  WString type_open_command;
};
