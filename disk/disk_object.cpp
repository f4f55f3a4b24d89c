#include "disk/disk_object.h"

#include <algorithm>

#include "disk/path_rules.h"

namespace {

bool IsWhiteSpace(WChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

void CDiskObject::ClearError() {
  error_message.clear();
  error_code = 0;
}

void CDiskObject::SetInternalError() { error_message = u"CDiskObject internal error - check call parameters"; }

void CDiskObject::SetSystemError(uint32_t code, const WString& detail) {
  const WString text = os::SystemText(code);
  size_t begin = 0, end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  error_message = text.substr(begin, end - begin) + (detail.empty() ? u"" : u" " + detail);
  error_code = code;
}

bool CDiskObject::ReadCurrentDirectory(const WString& path, WString* current) {
  if (!NeedsCurrentDirectory(path)) return true;
  const uint32_t code = os::CurrentDirectory(current);
  if (code) SetSystemError(code, path);
  return code == 0;
}

bool CDiskObject::QualifyDirectory(WString& directory) {
  WString current;
  if (!ReadCurrentDirectory(directory, &current)) return false;
  if (::QualifyDirectory(directory, current, &error_code)) return true;
  SetInternalError();
  return false;
}

bool CDiskObject::DirectoryExists(const WString& directory) {
  ClearError();
  WString qualified = directory;
  if (qualified.empty()) {
    SetInternalError();
    return false;
  }
  if (!QualifyDirectory(qualified)) return false;
  // No error text for a missing directory; its code is kept for a fatal box.
  error_code = os::EnterDirectory(qualified);
  return error_code == 0;
}

bool CDiskObject::CreateDirectory(const WString& directory) {
  ClearError();
  WString qualified = directory;
  if (qualified.empty()) {
    SetInternalError();
    return false;
  }
  WString root;
  std::vector<WString> levels;
  if (!QualifyDirectory(qualified)) return false;
  // Only a network path reaches here unsplittable; its levels are unknown.
  if (!CreationLevels(qualified, &root, &levels)) {
    SetInternalError();
    return false;
  }
  // An existing level, or one that cannot be created, does not stop the walk:
  // only the final check counts.
  for (const WString& level : levels) os::CreateDirectory(level);
  const WString& full = levels.empty() ? root : levels.back();
  if (const uint32_t code = os::EnterDirectory(full)) {
    SetSystemError(code, full);
    return false;
  }
  return true;
}

bool CDiskObject::CopyFiles(const std::vector<WString>& files, const WString& destination, const WString& staging) {
  ClearError();
  if (files.empty()) {
    SetInternalError();
    return false;
  }
  WString target_directory = destination, staging_directory = staging;
  if (!QualifyDirectory(target_directory) || !QualifyDirectory(staging_directory)) return false;
  if (!CreateDirectory(target_directory) || !CreateDirectory(staging_directory)) return false;
  WString current;
  const auto relative = std::find_if(files.begin(), files.end(),
                                     [](const WString& file) { return !file.empty() && NeedsCurrentDirectory(file); });
  if (relative != files.end() && !ReadCurrentDirectory(*relative, &current)) return false;
  for (const PlannedCopy& copy : PlanCopies(files, target_directory, staging_directory, current, os::ProcessId())) {
    uint32_t code = os::CopyFile(copy.source, copy.staged);
    if (!code) code = os::MoveFile(copy.staged, copy.target);
    if (code) {
      os::DeleteFile(copy.staged);
      SetSystemError(code, copy.source + u" -> " + copy.target);
      return false;
    }
  }
  return true;
}
