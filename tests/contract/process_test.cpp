#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kSentinel = 0xDEADBEEF;

class ProcessContract : public ContractTest {};

TEST_F(ProcessContract, ModuleFileNameIsAFullPathAndReportsTruncation) {
  WChar full[2600] = {};
  uint32_t length = os().GetModuleFileName(full, 2600);
  ASSERT_GT(length, 3u);
  EXPECT_EQ(WideLength(full), length);
  EXPECT_EQ(full[1], u':');

  // A path that does not fit answers the buffer's size and error 122; whether
  // the cut text is terminated differs between systems (Wine does not), so a
  // caller must not use it.
  WChar small[4] = {u'x', u'x', u'x', u'x'};
  os().SetLastError(kSentinel);
  EXPECT_EQ(os().GetModuleFileName(small, 4), 4u);
  EXPECT_EQ(os().GetLastError(), err::kInsufficientBuffer);
  EXPECT_EQ(WString(small, 3), WString(full, 3));
}

TEST_F(ProcessContract, NamedMutexReportsWhetherItExisted) {
  WString name = u"Local\\ledgrix-contract-" + scratch().substr(scratch().rfind(u'\\') + 1);
  os().SetLastError(kSentinel);
  Handle first = os().CreateMutex(name.c_str());
  ASSERT_NE(first, kNullHandle);
  EXPECT_EQ(os().GetLastError(), 0u) << "a new mutex sets the last error to 0";

  os().SetLastError(kSentinel);
  Handle second = os().CreateMutex(name.c_str());
  ASSERT_NE(second, kNullHandle);
  EXPECT_EQ(os().GetLastError(), err::kAlreadyExists);

  EXPECT_TRUE(os().CloseHandle(second));
  EXPECT_TRUE(os().CloseHandle(first));

  Handle again = os().CreateMutex(name.c_str());
  EXPECT_EQ(os().GetLastError(), 0u) << "the last handle closed removes the mutex";
  os().CloseHandle(again);
}

TEST_F(ProcessContract, SystemTextsEndWithALineBreakAndAnUnknownCodeHasNone) {
  WString text;
  for (uint32_t code : {0u, 2u, 3u, 5u, 183u}) {
    ASSERT_TRUE(os().FormatSystemMessage(code, &text)) << code;
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), u"\r\n") << code;
  }
  EXPECT_FALSE(os().FormatSystemMessage(0x20001234u, &text));
  EXPECT_TRUE(text.empty());
}

}  // namespace
