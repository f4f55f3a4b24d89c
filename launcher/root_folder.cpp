#include "launcher/root_folder.h"

namespace {

WChar FoldAsciiLetter(WChar c) { return (c >= u'A' && c <= u'Z') ? static_cast<WChar>(c + 32) : c; }

bool EqualsIgnoringAsciiCase(WStringView a, WStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
  return true;
}

}  // namespace

WString RootFolderOf(WStringView module_path) {
  WStringView folder = module_path;
  if (size_t slash = folder.rfind(u'\\'); slash != WStringView::npos) folder = folder.substr(0, slash);
  if (size_t slash = folder.rfind(u'\\'); slash != WStringView::npos) {
    if (EqualsIgnoringAsciiCase(folder.substr(slash), u"\\bin")) folder = folder.substr(0, slash);
  }
  return WString(folder);
}

WString BootPathOf(WStringView root_folder) { return WString(root_folder) + u"\\ledgrix.boot"; }
