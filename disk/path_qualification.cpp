#include <algorithm>

#include "disk/current_directory.h"
#include "disk/disk_object.h"
#include "disk/path_split.h"
#include "platform/platform.h"

bool CDiskObject::IsValidPathPart(const WString& part) { return part.find_first_of(u":*?") == WString::npos; }

bool CDiskObject::QualifyFile(WString& path) {
  std::replace(path.begin(), path.end(), u'/', u'\\');
  PathParts parts = SplitPath(path);
  // The C runtime's split empties every part of a longer path (a document in
  // deep folders); empty parts would join the whole text to the current
  // directory, another path. Split whole instead: the system then says
  // whether it can use the path.
  if (parts.too_long) parts = SplitWholePath(path);
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
      path = SplitWholePath(saved).drive + path;
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
  // Directories keep the split's limit: one that passes is entered, and may
  // become the Java process's working directory, which the system limits to
  // MAX_PATH (Wine starts the process elsewhere or not at all beyond it). The
  // refusal leaves the system's code for a name too long, so that a fatal box
  // for the directory tells why.
  if (SplitPath(directory).too_long) {
    SetInternalError();
    error_code = err::kFilenameExcedRange;
    return false;
  }
  return QualifyFile(directory);
}

WString CDiskObject::GetFileName(const WString& path) {
  WString qualified = path;
  if (!QualifyFile(qualified)) return WString();
  size_t last = qualified.rfind(u'\\');
  return last == WString::npos ? WString() : qualified.substr(last + 1);
}
