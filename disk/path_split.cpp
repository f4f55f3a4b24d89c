#include "disk/path_split.h"

PathParts SplitWholePath(WStringView path) {
  constexpr WStringView kVerbatimPrefix = u"\\\\?\\";
  if (path.substr(0, kVerbatimPrefix.size()) == kVerbatimPrefix) path.remove_prefix(kVerbatimPrefix.size());

  PathParts parts;
  if (path.size() >= 2 && path[1] == u':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  size_t last_separator = path.find_last_of(u"\\/");
  size_t directory_end = last_separator == WStringView::npos ? 0 : last_separator + 1;
  parts.directory = path.substr(0, directory_end);
  WStringView file = path.substr(directory_end);
  size_t dot = file.rfind(u'.');
  parts.name = dot == WStringView::npos ? file : file.substr(0, dot);
  parts.extension = dot == WStringView::npos ? WStringView() : file.substr(dot);
  return parts;
}

PathParts SplitPath(WStringView path) {
  PathParts parts = SplitWholePath(path);
  if (parts.directory.size() > kPathPartLimit || parts.name.size() > kPathPartLimit ||
      parts.extension.size() > kPathPartLimit) {
    PathParts emptied;
    emptied.too_long = true;
    return emptied;
  }
  return parts;
}
