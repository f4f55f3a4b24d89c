#include "disk/path_rules.h"

#include <algorithm>

#include "base/system_values.h"

PathParts SplitPath(WStringView path) {
  if (path.starts_with(u"\\\\?\\")) path.remove_prefix(4);
  PathParts parts;
  if (path.size() >= 2 && path[1] == u':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  const size_t last_separator = path.find_last_of(u"\\/");
  const size_t directory_end = last_separator == WStringView::npos ? 0 : last_separator + 1;
  parts.directory = path.substr(0, directory_end);
  const WStringView file = path.substr(directory_end);
  const size_t dot = std::min(file.rfind(u'.'), file.size());
  parts.name = file.substr(0, dot);
  parts.extension = file.substr(dot);
  return parts;
}

namespace {

// Where the root of a qualified path ends: after "C:\", or after the share
// of "\\server\share".
size_t RootLength(WStringView path) {
  if (!path.starts_with(u"\\\\")) return std::min<size_t>(3, path.size());
  const size_t share = std::min(path.find(u'\\', 2), path.size());
  return std::min(path.find(u'\\', share + 1), path.size());
}

// The folder ".." leads to: never above the root.
WString ParentOf(WStringView folder) {
  const size_t last = std::min(folder.rfind(u'\\'), folder.size());
  return WString(folder.substr(0, std::max(last, RootLength(folder))));
}

// Without its trailing '\' and without a verbatim prefix: \\?\C:\x is C:\x,
// and \\?\UNC\s\x is \\s\x.
size_t WorkingDirectoryLength(WStringView directory) {
  if (directory.starts_with(u"\\\\?\\UNC\\")) directory.remove_prefix(6);
  if (directory.starts_with(u"\\\\?\\")) directory.remove_prefix(4);
  return directory.size() - 1;
}

}  // namespace

bool IsValidPathPart(WStringView part) { return part.find_first_of(u":*?") == WStringView::npos; }

bool QualifyFile(WString& path, WStringView current) {
  std::replace(path.begin(), path.end(), u'/', u'\\');
  const PathParts parts = SplitPath(path);
  if (parts.drive.empty()) {
    const WString& directory = parts.directory;
    if (directory.size() > 2 && directory.starts_with(u"\\\\")) {
      // A network path is absolute already.
    } else if (directory.starts_with(u"..\\")) {
      WString reached(current);
      WStringView remaining = directory;
      for (; remaining.starts_with(u"..\\"); remaining.remove_prefix(3))
        reached = ParentOf(reached);
      path = reached + u"\\" + WString(remaining) + parts.name + parts.extension;
    } else if (directory.starts_with(u"\\")) {
      path = SplitPath(current).drive + path;
    } else {
      path = WString(current) + u"\\" + path;
    }
  }
  return IsValidPathPart(parts.directory) && IsValidPathPart(parts.name) &&
         IsValidPathPart(parts.extension);
}

uint32_t QualifyDirectory(WString& directory, WStringView current) {
  std::replace(directory.begin(), directory.end(), u'/', u'\\');
  if (!directory.empty() && directory.back() != u'\\') directory += u'\\';
  if (!directory.starts_with(u"\\\\") && !QualifyFile(directory, current)) return kErrorInvalidName;
  if (WorkingDirectoryLength(directory) > kDirectoryLimit) return kErrorFilenameTooLong;
  return 0;
}

WString FileNameOf(WStringView qualified) {
  const size_t last = qualified.rfind(u'\\');
  return last == WStringView::npos ? WString() : WString(qualified.substr(last + 1));
}

void CreationLevels(WStringView qualified_directory, WString* root, std::vector<WString>* levels) {
  const PathParts parts = SplitPath(qualified_directory);
  *root = parts.drive;
  WStringView remainder = parts.directory;
  if (remainder.size() > 2 && remainder.starts_with(u"\\\\")) {
    remainder.remove_prefix(2);
    const size_t server_end = std::min(remainder.find(u'\\'), remainder.size());
    *root = u"\\\\" + WString(remainder.substr(0, server_end));
    remainder.remove_prefix(server_end);
  }
  remainder.remove_prefix(std::min(remainder.find_first_not_of(u'\\'), remainder.size()));
  WString current = *root;
  for (size_t end; (end = remainder.find(u'\\')) != WStringView::npos;
       remainder.remove_prefix(end + 1))
    levels->push_back(current += u"\\" + WString(remainder.substr(0, end)));
}
