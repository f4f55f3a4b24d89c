#include "text/quoting.h"

WString Quoted(WStringView text) {
  const size_t trailing = text.size() - (text.find_last_not_of(u'\\') + 1);
  return u"\"" + WString(text) + WString(trailing, u'\\') + u"\"";
}

WString QuotedIfBlank(WStringView path) {
  return path.find_first_of(u" \t") == WStringView::npos ? WString(path) : Quoted(path);
}
