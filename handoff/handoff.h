#pragma once
// The hand-off of opened documents to the application, through the user's
// incoming folder %APPDATA%\.ledgrix\system\incoming, where it takes them up.
#include "handoff/tokenizer.h"

// Copies each document into the incoming folder under its own name, replacing
// an older copy of that name, and stops at the first that fails. Each is
// copied into staging, incoming's sibling, then renamed into incoming, so
// that it appears there only whole; only when incoming is on another volume
// is it moved by a copy. A copy that fails leaves nothing staged, and a copy
// left staged by a launcher that no longer runs goes at the next hand-off.
// Silent: nothing changes the start's course.
void HandOffDocuments(const ImportList& documents);
