#pragma once
// The registration of the four financial document types, rewritten at every
// start so that opening such a document runs the executable started last.
#include "filetypes/file_type_access.h"

// Registers OFX, OFC, QIF and OFF for this executable. Shows nothing and never
// fails: a refused write skips that value only. An executable path that
// cannot be had whole registers nothing rather than a wrong path.
void RegisterDocumentTypes();

// Fills the record for one type and writes it.
void RegisterDocumentType(CGCFileTypeAccess& record, const WChar* executable_path, const WChar* extension,
                          const WChar* type_name);
