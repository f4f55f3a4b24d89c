#include "handoff/hand_off.h"

#include "platform/platform.h"

namespace {

WString IncomingFolderOf(const WString& application_data) {
  return application_data + u"\\" + u".ledgrix" + u"\\system\\incoming";
}

}  // namespace

void HandOffDocuments(const CStringArray& import_list, CDiskObject& disk) {
  WChar application_data[kMaxPath] = {};
  // Without the folder there is nowhere the application would look: copying
  // below an unknown path could only put the documents somewhere else.
  if (!platform().GetSpecialFolderPath(application_data, kCsidlAppData, false) || application_data[0] == 0) return;
  application_data[kMaxPath - 1] = 0;

  WString incoming = IncomingFolderOf(application_data);
  if (!disk.DirectoryExists(incoming)) disk.CreateDirectory(incoming);
  disk.CopyFiles(import_list, incoming);
}
