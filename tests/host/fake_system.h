#pragma once
// A recording stand-in for the system layer, for the one behaviour that is the
// order of a start's calls: each call is noted by name, and every answer is a
// success but for the boot file, which is missing unless boot_file is set, and
// the guard, which existed already when another_launcher is set.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

std::string Narrow(WStringView text);  // for messages; tests use ASCII

struct FakeExit {
  uint32_t code;
};

struct FakeSystem {
  std::vector<std::string> calls;
  bool boot_file = true, another_launcher = false;
};

extern FakeSystem fake;
