#pragma once
// A recording stand-in for the system layer, where the order of the calls is
// the behaviour: each call is noted by name, and every answer is a success but
// for the call named by fail, which answers 5, the boot file, missing unless
// boot_file is set, and the guard, which existed already with another_launcher.
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
  std::string fail;
  uint32_t code = 5;  // what the failing call answers; the system has no text for 317
};

extern FakeSystem fake;
