#pragma once
// How documents reach the incoming folder only whole: each is copied under a
// name of its launcher's own into the staging folder, beside incoming, and
// then renamed into incoming.
#include <cstdint>
#include <optional>
#include <vector>

#include "text/wide_string.h"

// One document's way: copied from source to staged, then renamed to target.
struct PlannedCopy {
  WString source;
  WString staged;
  WString target;
};

// The copies for the non-empty documents, in order, into the qualified
// incoming and staging directories; a staged name is "<process id>-<index>.part".
// A document is qualified against the current directory; one whose name fails
// the character test targets incoming itself, where its copy fails.
std::vector<PlannedCopy> PlanCopies(const std::vector<WString>& documents,
                                    const WString& incoming,
                                    const WString& staging,
                                    WStringView current,
                                    uint32_t process_id);

// The process id in a staged name; none for another name.
std::optional<uint32_t> StagingProcessOf(WStringView name);
