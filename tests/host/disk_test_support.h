#pragma once
// An emulated machine whose current directory is C:\data\work, a disk object,
// and what the tests read back: the calls made and the expected error texts.
#include <string>
#include <vector>

#include "disk/disk_object.h"
#include "platform/emulated_file_system.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

inline const WString kInternalError = u"CDiskObject internal error - check call parameters";

class DiskTest : public ::testing::Test {
 protected:
  static constexpr const char16_t* kWork = u"C:\\data\\work";

  DiskTest() : installed_(os_) {
    os_.fs().MakeDirectories(kWork);
    os_.set_current_directory(kWork);
  }

  // The emulated system's text for a code, then the detail.
  static WString Message(uint32_t code, const WString& detail) {
    EmulatedPlatform fresh;
    WString text;
    fresh.FormatSystemMessage(code, &text);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r')) text.pop_back();
    return text + u" " + detail;
  }

  // The logged arguments of every call of one operation, in order.
  std::vector<std::string> Calls(Op op) const {
    std::vector<std::string> calls;
    std::string prefix = std::string(OpName(op)) + " ";
    for (const std::string& line : os_.log())
      if (line.rfind(prefix, 0) == 0) calls.push_back(line.substr(prefix.size()));
    return calls;
  }

  const WString& Current() const { return os_.current_directory(); }

  EmulatedPlatform os_;
  ScopedPlatform installed_;
  CDiskObject disk_;
};
