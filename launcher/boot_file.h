#pragma once
// The boot file ledgrix.boot, the launcher's only configuration, and the
// settings it gives.
#include <string_view>

#include "platform/platform.h"

// Four values from the boot file and three derived before the launch. Values
// keep their whole text: none is cut to a capacity, so none ever names a
// different path than the boot file does.
struct LaunchSettings {
  WString java_home;
  WString class_path;
  WString default_options;
  WString jrehome;
  WString install_dir;
  WString lib_classpath;
  bool use_jrehome = false;
};

// Reads the file's bytes as 8-bit text in text mode: each byte one Latin-1
// character, CR LF a line feed, 0x1A the end. Lines come in pieces of at most
// 4095 characters; a NUL ends its line's text. A line whose text, after
// leading blanks, begins with a key sets that key's value; comments (#) and
// other lines are skipped; the last occurrence of a key wins.
void ParseBootFile(std::string_view bytes, LaunchSettings* settings);

// Given a line that begins with a key, cuts the value's end in place (trailing
// blanks, then one pair of enclosing quotes) and returns where it starts.
WChar* extractValue(WChar* text);
