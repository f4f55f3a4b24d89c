#pragma once
// A recording stand-in for the system layer, for tests where the order of the
// calls is the behaviour: every call is noted with its main argument, and the
// answers are the fields below. No file system, registry or path rules.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/platform.h"

std::string Narrow(WStringView text);  // for messages; tests use ASCII

struct FakeExit {
  uint32_t code;
};

struct FakeSystem {
  std::vector<std::string> calls;
  WString module_path = u"C:\\App\\bin\\ledgrix.exe";
  uint32_t module_error = 0, mutex_error = 0, search_error = 0, run_error = 0, current_error = 0, app_data_error = 0;
  std::map<WString, std::string> files;      // what ReadFile finds; others give 2
  std::map<WString, uint32_t> folder_errors;  // EnterDirectory's answers; 0 for others
  std::map<WString, uint32_t> copy_errors;    // CopyFile's and MoveFile's, by target
  WString current_directory = u"C:\\work", app_data = u"C:\\Users\\u\\AppData\\Roaming";
  uint64_t memory = 1ull << 30;
  std::vector<RegistryWrite> registry;
  std::vector<WString> boxes;
};

extern FakeSystem fake;
