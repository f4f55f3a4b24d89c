#include "handoff/hand_off.h"

#include "platform/platform.h"

void HandOffDocuments(const CStringArray& import_list, CDiskObject& disk) {
  WChar application_data[kMaxPath] = {};
  // Without the folder there is nowhere the application would look: copying
  // below an unknown path could only put the documents somewhere else.
  if (!platform().GetSpecialFolderPath(application_data, kCsidlAppData, false) || application_data[0] == 0) return;
  application_data[kMaxPath - 1] = 0;

  const WString system = WString(application_data) + u"\\" + u".ledgrix" + u"\\system";
  const WString incoming = system + u"\\incoming";
  if (!disk.DirectoryExists(incoming)) disk.CreateDirectory(incoming);
  // Documents are written in staging, which the application never reads, and
  // appear in incoming only whole.
  disk.CopyFiles(import_list, incoming, system + u"\\staging");
}
