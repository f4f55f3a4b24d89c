#pragma once
// The registration of the four financial document types, rewritten at every
// start so that opening such a document runs the executable started last.
#include <vector>

#include "filetypes/file_type_access.h"

// The open command: the executable, then -I and the quoted document
// placeholder. A path with a blank is quoted too: unquoted, the shell would
// first try to run each shorter prefix ending at a blank.
WString OpenCommandFor(WStringView executable_path);
// The first icon group of the executable. Never run, so never quoted.
WString IconLocationFor(WStringView executable_path);

// Fills the record for one type.
void RegisterDocumentType(CGCFileTypeAccess& record,
                          const WString& executable_path,
                          const WChar* extension,
                          const WChar* type_name);

// Registers OFX, OFC, QIF and OFF, in this order, for the executable.
void RegisterDocumentTypes(const WString& executable_path);
