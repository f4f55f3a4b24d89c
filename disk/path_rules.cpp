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

bool IsSeparator(WChar c) { return c == u'\\' || c == u'/'; }

// Where the root of an absolute path ends: after "C:\", or after the share
// of "\\server\share".
size_t RootLength(WStringView path) {
  if (!path.starts_with(u"\\\\")) return std::min<size_t>(3, path.size());
  const size_t share = std::min(path.find(u'\\', 2), path.size());
  return std::min(path.find(u'\\', share + 1), path.size());
}

// The absolute folder reached from reached by the steps of relative: "."
// stays, ".." goes up (never above the root), a name goes down.
WString Walk(WString reached, WStringView relative) {
  while (!relative.empty()) {
    const size_t end = std::min(relative.find_first_of(u"\\/"), relative.size());
    const WStringView step = relative.substr(0, end);
    relative.remove_prefix(std::min(end + 1, relative.size()));
    if (step == u"..") {
      reached.resize(std::max(std::min(reached.rfind(u'\\'), reached.size()), RootLength(reached)));
    } else if (!step.empty() && step != u".") {
      if (!reached.ends_with(u'\\')) reached += u'\\';
      reached += step;
    }
  }
  return reached;
}

// A path that is not absolute, reached from base: one that begins with a
// separator from base's root.
WString Below(WStringView base, WStringView relative) {
  const bool rooted = !relative.empty() && IsSeparator(relative.front());
  return Walk(WString(base.substr(0, rooted ? RootLength(base) : base.size())), relative);
}

// Without its trailing '\' and without a verbatim prefix: \\?\C:\x is C:\x,
// and \\?\UNC\s\x is \\s\x.
size_t WorkingDirectoryLength(WStringView directory) {
  if (directory.starts_with(u"\\\\?\\UNC\\")) directory.remove_prefix(6);
  if (directory.starts_with(u"\\\\?\\")) directory.remove_prefix(4);
  return directory.size() - 1;
}

}  // namespace

bool IsAbsolute(WStringView path) {
  if (path.size() >= 3 && path[1] == u':' && IsSeparator(path[2])) return true;
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

WString FolderOf(WStringView path) {
  size_t last = path.rfind(u'\\');
  if (last == WStringView::npos) return WString();
  if (last == 2 && path[1] == u':') ++last;
  return WString(path.substr(0, last));
}

bool IsValidPathPart(WStringView part) { return part.find_first_of(u":*?") == WStringView::npos; }

bool QualifyFile(WString& path, WStringView current) {
  std::replace(path.begin(), path.end(), u'/', u'\\');
  const PathParts parts = SplitPath(path);
  if (!IsAbsolute(path) && parts.drive.empty()) path = Below(current, path);
  return IsValidPathPart(parts.directory) && IsValidPathPart(parts.name) &&
         IsValidPathPart(parts.extension);
}

WString AnchoredFolder(WStringView folder, WStringView root) {
  if (folder.empty() || IsAbsolute(folder)) return WString(folder);
  if (folder.size() < 2 || folder[1] != u':') return Below(root, folder);
  const bool on_root_drive =
      root.size() >= 2 && root[1] == u':' && AsciiUpper(root[0]) == AsciiUpper(folder[0]);
  return Below(on_root_drive ? WString(root) : WString(folder.substr(0, 2)) + u"\\",
               folder.substr(2));
}

uint32_t QualifyDirectory(WString& directory) {
  std::replace(directory.begin(), directory.end(), u'/', u'\\');
  if (!IsAbsolute(directory)) return kErrorInvalidName;
  if (directory.back() != u'\\') directory += u'\\';
  if (!directory.starts_with(u"\\\\") && directory.find_first_of(u":*?", 2) != WString::npos)
    return kErrorInvalidName;
  if (WorkingDirectoryLength(directory) > kDirectoryLimit) return kErrorFilenameTooLong;
  return 0;
}

WString FileNameOf(WStringView qualified) {
  const size_t last = qualified.find_last_of(u"\\:");
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
