#pragma once
// What a start computes before it asks the system for anything: where the boot
// file is, the command-line tail, the fatal box's text, the Java command line.
#include <cstdint>
#include <vector>

#include "launcher/boot_file.h"

inline constexpr WStringView kMainClass = u"com.zor.ledgrix.Tabex";
inline constexpr WStringView kBareJavaProgram = u"javaw";

// The executable's folder, or its parent when that folder is named bin (in any
// letter case); the boot file in it.
WString RootFolderOf(WStringView module_path);
WString BootPathOf(WStringView root_folder);

// What follows the program name and the blanks and control characters after
// it. The program name runs to the first character at or below the space
// that is not inside double quotes.
WStringView CommandLineTail(WStringView command_line);

// The fatal box: the message, then (with a context) the step that failed, the
// code as a signed number and its system text, then the advice.
WString FatalText(const WString& message,
                  const WChar* context,
                  uint32_t code,
                  const WString& system_text);

// " -Xmx<n>m" with a quarter of the physical memory in MiB, kept between 96
// and 128; empty when the options hold -Xmx already (case-sensitive, anywhere).
WString HeapOption(WStringView default_options, uint64_t physical_memory);

// Appends the pieces of source between occurrences of delimiter (not empty)
// and answers how many occurrences were recorded. A delimiter directly after
// another is not recognised: it begins the next piece. Empty pieces are
// dropped. A source that begins with the delimiter records nothing.
int32_t splitString(WStringView source, WStringView delimiter, std::vector<WString>* pieces);

// Each piece after install_dir and a backslash, quoted, joined by ';'.
WString ClassPathOf(WStringView install_dir, const std::vector<WString>& pieces);

// Enclosed in double quotes. Backslashes just before the closing quote are
// doubled: left single, the last would make the quote a literal one, and the
// argument would run on into the next.
WString Quoted(WStringView text);
// A program path, quoted when it holds a blank: unquoted, the system tries
// every shorter prefix ending at a blank first (C:\Program.exe for
// C:\Program Files\...) and could run another program.
WString QuotedIfBlank(WStringView path);

// The program, quoted when it holds a blank, the options, -classpath with the
// class path, and the main class.
WString BuildJavaCommandLine(const LaunchSettings& settings);

// The folders the system looks in for a program named without a path, in its
// order (own folder, system folder, its 16-bit sibling, Windows folder, PATH),
// without the current folder and without PATH entries relative to it.
WString ProgramSearchPath(WStringView own_folder,
                          WStringView system_folder,
                          WStringView windows_folder,
                          WStringView path_variable);
