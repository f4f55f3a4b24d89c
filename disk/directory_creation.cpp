#include <vector>

#include "disk/current_directory.h"
#include "disk/disk_object.h"
#include "disk/path_split.h"
#include "platform/platform.h"

bool CDiskObject::CreateDirectory(const WString& directory) {
  ClearError();
  WString qualified = directory;
  if (qualified.empty()) {
    SetInternalError();
    return false;
  }
  if (!QualifyDirectory(qualified)) return false;
  // Only a network path reaches here unsplittable; its levels are unknown.
  const PathParts parts = SplitPath(qualified);
  if (parts.too_long) {
    SetInternalError();
    return false;
  }
  WString root = parts.drive;
  WString remainder = parts.directory;
  WString saved;
  if (!SaveCurrentDirectory(qualified, &saved)) return false;

  if (remainder.size() > 2 && remainder.starts_with(u"\\\\")) {
    remainder.erase(0, 2);
    size_t server_end = remainder.find(u'\\');
    root = u"\\\\" + remainder.substr(0, server_end);
    remainder = server_end == WString::npos ? WString() : remainder.substr(server_end + 1);
  }
  size_t first = remainder.find_first_not_of(u'\\');
  remainder.erase(0, first == WString::npos ? remainder.size() : first);

  std::vector<WString> levels;
  for (size_t start = 0, end; (end = remainder.find(u'\\', start)) != WString::npos; start = end + 1)
    levels.push_back(remainder.substr(start, end - start));

  // Each level is entered before it is created so that an existing one is
  // crossed as it stands; neither outcome matters until the final check.
  WString current = root;
  for (const WString& level : levels) {
    current += u"\\" + level;
    platform().SetCurrentDirectory(current.c_str());
    platform().CreateDirectory(current.c_str());
  }
  bool entered = platform().SetCurrentDirectory(current.c_str());
  if (!entered) SetSystemError(platform().GetLastError(), current);
  ReturnTo(saved);
  return entered;
}
