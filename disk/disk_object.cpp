#include "disk/disk_object.h"

// Filled in by the disk operations.
bool CDiskObject::DirectoryExists(const WString&) { return false; }
bool CDiskObject::CreateDirectory(const WString&) { return false; }
bool CDiskObject::CopyFiles(const CStringArray&, const WString&) { return false; }
