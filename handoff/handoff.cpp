#include "handoff/handoff.h"

#include "disk/directories.h"
#include "handoff/copy_plan.h"
#include "log/log.h"
#include "platform/platform.h"

namespace {

// A launcher killed while it copied leaves its staged copy behind. One whose
// launcher no longer runs is nobody's, and neither is one of this process's
// id, which an earlier process had.
void RemoveAbandonedCopies(const WString& staging) {
  for (const WString& name : os::FileNames(staging)) {
    const std::optional<uint32_t> writer = StagingProcessOf(name);
    if (!writer || (*writer != os::ProcessId() && os::ProcessRuns(*writer))) continue;
    const uint32_t code = os::Remove(staging + name);
    Log(u"hand-off: remove " + staging + name + u", left by a launcher that no longer runs (" +
        (code ? ErrorText(code) : u"done") + u")");
  }
}

// Copies into staging and renames into incoming; the system's code when either failed.
uint32_t Deliver(const PlannedCopy& copy) {
  uint32_t code = os::Copy(copy.source, copy.staged);
  Log(u"hand-off: copy " + copy.source + u" to " + copy.staged + u" (" +
      (code ? ErrorText(code) : u"done") + u")");
  if (code) return code;
  code = os::Rename(copy.staged, copy.target, false);
  if (code == kErrorNotSameDevice) {
    Log(u"hand-off: " + copy.target + u" is on another volume than staging: moved by a copy");
    code = os::Rename(copy.staged, copy.target, true);
  }
  Log(u"hand-off: rename " + copy.staged + u" to " + copy.target + u" (" +
      (code ? ErrorText(code) : u"done") + u")");
  return code;
}

}  // namespace

void HandOffDocuments(const ImportList& documents) {
  for (const WString& document : documents) Log(u"document: " + document);
  const WString application_data = os::AppDataFolder();
  // Without the folder there is nowhere the application would look: copying
  // below an unknown path could only put the documents somewhere else.
  if (application_data.empty()) {
    Log(u"hand-off: stopped: the shell does not tell the application-data folder");
    return;
  }
  const WString system = application_data + u"\\.ledgrix\\system";
  WString incoming;
  WString staging;
  WString current;
  uint32_t code = CreateDirectories(system + u"\\incoming", &incoming);
  if (!code) code = CreateDirectories(system + u"\\staging", &staging);
  if (!code) code = os::CurrentDirectory(&current);
  if (code) {
    Log(u"hand-off: stopped before any copy (" + ErrorText(code) +
        u"): the incoming or staging folder" + u" below " + system +
        u", or the current folder, cannot be used");
    return;
  }
  RemoveAbandonedCopies(staging);
  for (const PlannedCopy& copy :
       PlanCopies(documents, incoming, staging, current, os::ProcessId())) {
    if (const uint32_t failed = Deliver(copy)) {
      os::Remove(copy.staged);
      Log(u"hand-off: stopped at " + copy.source + u" (" + ErrorText(failed) +
          u"): the documents after it are not handed over");
      return;
    }
  }
}
