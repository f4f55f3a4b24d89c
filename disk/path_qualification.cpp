#include <algorithm>

#include "disk/current_directory.h"
#include "disk/disk_object.h"
#include "disk/path_split.h"
#include "platform/platform.h"

bool CDiskObject::IsValidPathPart(const WString& part) { return part.find_first_of(u":*?") == WString::npos; }

bool CDiskObject::QualifyFile(WString& path) {
  std::replace(path.begin(), path.end(), u'/', u'\\');
  const PathParts parts = SplitPath(path);
  // Empty parts from an overlong split would pass the test below and join the
  // whole text to the current directory: a different path. Refuse instead.
  if (parts.too_long) {
    SetInternalError();
    return false;
  }
  if (parts.drive.empty()) {
    WString saved;
    uint32_t error = 0;
    if (!ReadCurrentDirectory(&saved, &error)) {
      SetSystemError(error, path);
      return false;
    }
    const WString& directory = parts.directory;
    if (directory.size() > 2 && directory.starts_with(u"\\\\")) {
      // A network path is absolute already.
    } else if (directory.size() > 2 && directory.starts_with(u"..\\")) {
      // Parent steps are taken by the system, one level at a time, from the
      // current directory; a refused step would name another file, so it fails.
      if (!CanReturnTo(saved, &error)) {
        SetSystemError(error, saved);
        return false;
      }
      WString remaining = directory;
      bool stepped = true;
      while (stepped && remaining.size() > 2 && remaining.starts_with(u"..\\")) {
        stepped = platform().SetCurrentDirectory(u"..");
        if (!stepped) error = platform().GetLastError();
        remaining.erase(0, 3);
      }
      WString reached;
      bool known = stepped && ReadCurrentDirectory(&reached, &error);
      ReturnTo(saved);
      if (!known) {
        SetSystemError(error, path);
        return false;
      }
      path = reached + u"\\" + remaining + parts.name + parts.extension;
    } else if (directory.starts_with(u"\\")) {
      path = SplitPath(saved).drive + path;
    } else {
      path = saved + u"\\" + path;
    }
  }
  if (!IsValidPathPart(parts.directory) || !IsValidPathPart(parts.name) || !IsValidPathPart(parts.extension)) {
    SetInternalError();
    return false;
  }
  return true;
}

bool CDiskObject::QualifyDirectory(WString& directory) {
  std::replace(directory.begin(), directory.end(), u'/', u'\\');
  if (!directory.empty() && directory.back() != u'\\') directory += u'\\';
  if (directory.starts_with(u"\\\\")) return true;
  return QualifyFile(directory);
}

WString CDiskObject::GetFileName(const WString& path) {
  WString qualified = path;
  if (!QualifyFile(qualified)) return WString();
  size_t last = qualified.rfind(u'\\');
  return last == WString::npos ? WString() : qualified.substr(last + 1);
}
