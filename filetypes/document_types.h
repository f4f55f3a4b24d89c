#pragma once
// The registration of the four financial document types, rewritten at every
// start so that opening such a document runs the executable started last.
#include "filetypes/file_type_access.h"

// Registers OFX, OFC, QIF and OFF for the executable at executable_path.
// Shows nothing and never fails: a refused write skips that value only.
void RegisterDocumentTypes(const WString& executable_path);

// Fills the record for one type and writes it.
void RegisterDocumentType(CGCFileTypeAccess& record, const WChar* executable_path, const WChar* extension,
                          const WChar* type_name);
