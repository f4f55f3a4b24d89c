#include "disk/disk_object.h"

#include "disk/current_directory.h"
#include "platform/platform.h"

namespace {

bool IsWhiteSpace(WChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

void CDiskObject::ClearError() {
  error_message.clear();
  error_code = 0;
}

void CDiskObject::SetInternalError() { error_message = u"CDiskObject internal error - check call parameters"; }

void CDiskObject::SetSystemError(uint32_t code, const WString& detail) {
  error_code = code;
  WString text;
  if (!platform().FormatSystemMessage(code, &text)) text.clear();
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  if (!detail.empty()) text += u" " + detail;
  error_message = std::move(text);
}

bool CDiskObject::SaveCurrentDirectory(const WString& path, WString* saved) {
  uint32_t error = 0;
  if (!ReadCurrentDirectory(saved, &error)) {
    SetSystemError(error, path);
    return false;
  }
  if (!CanReturnTo(*saved, &error)) {
    SetSystemError(error, *saved);
    return false;
  }
  return true;
}

bool CDiskObject::DirectoryExists(const WString& directory) {
  ClearError();
  if (directory.empty()) {
    SetInternalError();
    return false;
  }
  WString qualified = directory;
  if (!QualifyDirectory(qualified)) return false;
  WString saved;
  if (!SaveCurrentDirectory(qualified, &saved)) return false;
  // A directory exists when it can be entered: a file or a folder the process
  // may not enter counts as missing, and no error is recorded for it.
  bool entered = platform().SetCurrentDirectory(qualified.c_str());
  if (!entered) error_code = platform().GetLastError();
  ReturnTo(saved);
  return entered;
}
