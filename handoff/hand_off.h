#pragma once
// Hands the documents of the import list to the application: copies them into
// the incoming folder below the user's application-data folder, where the
// running (or about to start) application takes them up. Failures are silent.
#include "classlib/cstringarray.h"
#include "disk/disk_object.h"
#include "platform/wide.h"

void HandOffDocuments(const CStringArray& import_list, CDiskObject& disk);
