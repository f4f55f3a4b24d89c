#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "contract_environment.h"

namespace {

class ShellFolderContract : public ContractTest {};

// The incoming folder is joined to this answer with one backslash: it must be
// a full path that does not end with one.
TEST_F(ShellFolderContract, ApplicationDataIsAFullPathWithoutATrailingBackslash) {
  WChar buffer[kMaxPath];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  ASSERT_TRUE(os().GetSpecialFolderPath(buffer, kCsidlAppData, false));
  size_t length = WideLength(buffer);
  ASSERT_LT(length, kMaxPath) << "terminated within the buffer";
  WString folder(buffer, length);
  ASSERT_GE(folder.size(), 4u);
  EXPECT_EQ(folder.substr(1, 2), u":\\") << ToUtf8(folder);
  EXPECT_NE(folder.back(), u'\\') << ToUtf8(folder);
}

}  // namespace
