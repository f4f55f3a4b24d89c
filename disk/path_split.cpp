#include "disk/path_split.h"

PathParts SplitPath(WStringView path) {
  constexpr WStringView kVerbatimPrefix = u"\\\\?\\";
  if (path.substr(0, kVerbatimPrefix.size()) == kVerbatimPrefix) path.remove_prefix(kVerbatimPrefix.size());

  PathParts parts;
  WStringView drive;
  if (path.size() >= 2 && path[1] == u':') {
    drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  size_t last_separator = path.find_last_of(u"\\/");
  size_t directory_end = last_separator == WStringView::npos ? 0 : last_separator + 1;
  WStringView directory = path.substr(0, directory_end);
  WStringView file = path.substr(directory_end);
  size_t dot = file.rfind(u'.');
  WStringView name = dot == WStringView::npos ? file : file.substr(0, dot);
  WStringView extension = dot == WStringView::npos ? WStringView() : file.substr(dot);

  if (directory.size() > kPathPartLimit || name.size() > kPathPartLimit || extension.size() > kPathPartLimit) {
    parts.too_long = true;
    return parts;
  }
  parts.drive = drive;
  parts.directory = directory;
  parts.name = name;
  parts.extension = extension;
  return parts;
}
