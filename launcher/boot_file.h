#pragma once
// The boot file ledgrix.boot, the launcher's only configuration: where it is,
// and the settings it gives.
#include <string_view>

#include "text/wide_string.h"

// The four values of the boot file, each as written there, whole: none is cut
// to a capacity, so none ever names a different path than the boot file does.
struct BootSettings {
  WString default_options;
  WString jrehome;
  WString install_dir;
  WString lib_classpath;
};

// The installation root: the executable's folder, or its parent when that
// folder is named bin (in any letter case); a drive's root as "C:\". The boot
// file is in it.
WString RootFolderOf(WStringView module_path);
WString BootPathOf(WStringView root_folder);

// The settings in the file's bytes, read as 8-bit text in text mode: each byte
// one Latin-1 character, CR LF a line feed, 0x1A the end. Lines come in pieces
// of at most 4095 characters; a NUL ends its line's text. A line whose text,
// after leading blanks, begins with a key sets that key's value (the rest, less
// trailing blanks and one pair of enclosing quotes); comments (#) and other
// lines are skipped; the last occurrence of a key wins. When a read failed
// after these bytes, the piece it was reading was never read: a line cut by it
// could name another folder.
BootSettings ParseBootFile(std::string_view bytes, bool read_failed);
