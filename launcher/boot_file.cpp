#include "launcher/boot_file.h"

#include <algorithm>

#include "disk/path_rules.h"

namespace {

constexpr size_t kLinePiece = 4095;
constexpr WStringView kBlanks = u" \t\n\r";

struct Key {
  WStringView text;
  WString BootSettings::*field;
};

constexpr Key kKeys[] = {
    {u"default_options=", &BootSettings::default_options},
    {u"jrehome=", &BootSettings::jrehome},
    {u"install_dir=", &BootSettings::install_dir},
    {u"lib-classpath=", &BootSettings::lib_classpath},
};

// Trailing blanks cut, then one pair of enclosing quotes; a lone quote opens
// and closes at once, and the value is empty.
WStringView ValueOf(WStringView text) {
  text = text.substr(0, text.find_last_not_of(kBlanks) + 1);
  if (!text.empty() && text.front() == u'"' && text.back() == u'"') {
    text.remove_prefix(1);
    if (!text.empty()) text.remove_suffix(1);
  }
  return text;
}

void ParseLine(WStringView line, BootSettings* settings) {
  line = line.substr(0, line.find(u'\0'));
  line.remove_prefix(std::min(line.find_first_not_of(kBlanks), line.size()));
  for (const Key& key : kKeys) {
    if (line.starts_with(key.text)) settings->*key.field = ValueOf(line.substr(key.text.size()));
  }
}

}  // namespace

WString RootFolderOf(WStringView module_path) {
  const WString folder = FolderOf(module_path);
  const size_t slash = folder.rfind(u'\\');
  if (slash != WString::npos && folder.size() - slash == 4 &&
      std::equal(folder.begin() + slash, folder.end(), u"\\BIN", [](WChar a, WChar b) {
        return AsciiUpper(a) == b;
      }))
    return FolderOf(folder);
  return folder;
}

WString BootPathOf(WStringView root_folder) {
  return WString(root_folder) + (root_folder.ends_with(u'\\') ? u"" : u"\\") + u"ledgrix.boot";
}

BootSettings ParseBootFile(std::string_view bytes, bool read_failed) {
  const size_t end_of_file = bytes.find('\x1A');
  const bool cut_by_error = read_failed && end_of_file == std::string_view::npos;
  bytes = bytes.substr(0, end_of_file);
  BootSettings settings;
  size_t at = 0;
  while (at < bytes.size()) {
    WString piece;
    while (piece.size() < kLinePiece && at < bytes.size() && !piece.ends_with(u'\n')) {
      unsigned char c = static_cast<unsigned char>(bytes[at++]);
      if (c == '\r' && at < bytes.size() && bytes[at] == '\n') c = bytes[at++];
      piece.push_back(c);
    }
    const bool whole = piece.ends_with(u'\n') || piece.size() == kLinePiece;
    if (cut_by_error && at == bytes.size() && !whole) break;
    ParseLine(piece, &settings);
  }
  return settings;
}
