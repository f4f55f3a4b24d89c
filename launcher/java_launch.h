#pragma once
// The Java start the boot file's settings make: the program, its options with
// a heap limit, the class path, and where javaw is looked for when no Java
// home is given.
#include <cstdint>
#include <vector>

#include "text/wide_string.h"

inline constexpr WStringView kMainClass = u"com.zor.ledgrix.Tabex";
inline constexpr WStringView kBareJavaProgram = u"javaw";

struct JavaLaunch {
  WString program;                  // jrehome's bin\javaw, or javaw alone to be looked for
  WString options;                  // default_options, as written
  WString heap_option;              // " -Xmx<n>m", or empty when the options set a heap limit
  std::vector<WString> class_path;  // each entry below install_dir, whole
  WString directory;                // install_dir, absolute: the application's working folder
};

// The Java home's bin\javaw, or javaw alone when there is none.
WString JavaProgramOf(WStringView java_home);

// Whether the options hold -Xmx (case-sensitive, anywhere).
bool SetsHeapLimit(WStringView options);
// " -Xmx<n>m" with a quarter of the physical memory in MiB, kept between 96
// and 128.
WString HeapOption(uint64_t physical_memory);

// Appends the pieces of source between occurrences of delimiter (not empty)
// and answers how many occurrences were recorded. A delimiter directly after
// another is not recognised: it begins the next piece. Empty pieces are
// dropped. A source that begins with the delimiter records nothing.
int32_t SplitString(WStringView source, WStringView delimiter, std::vector<WString>* pieces);

// Each entry after install_dir and a backslash.
std::vector<WString> ClassPathOf(WStringView install_dir, const std::vector<WString>& entries);

// The program, quoted when it holds a blank, the options and the heap option,
// -classpath with each class-path entry quoted, joined by ';', and the main
// class.
WString JavaCommandLine(const JavaLaunch& launch);

// The folders the system looks in for a program named without a path, in its
// order (own folder, system folder, its 16-bit sibling, Windows folder, PATH),
// only those that are absolute: never the current folder, by an empty entry or
// by a relative one (a shell-started launcher runs in the opened document's
// folder, where anybody may have left a javaw.exe).
WString ProgramSearchPath(WStringView own_folder,
                          WStringView system_folder,
                          WStringView windows_folder,
                          WStringView path_variable);
