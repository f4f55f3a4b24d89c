#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

class FileReadContract : public ContractTest {
 protected:
  std::string ReadAll(Handle file, uint32_t chunk) {
    std::string bytes;
    std::string buffer(chunk, '\0');
    uint32_t read = 0;
    while (os().ReadFile(file, buffer.data(), chunk, &read) && read > 0) bytes.append(buffer.data(), read);
    return bytes;
  }
};

// Also under a name outside the ANSI code page.
TEST_F(FileReadContract, ReadsEveryByteInChunks) {
  std::string content("line one\r\nline\0two\x1a\xe9\xff", 20);
  WString path = scratch() + u"\\\u0441\u0447\u0451\u0442 \u4e2d\u6587 \U0001F4B0.boot";
  env_->PutFile(path, content);
  for (uint32_t chunk : {1u, 3u, 4096u}) {
    Handle file = os().OpenFileForReading(path.c_str());
    ASSERT_NE(file, kNullHandle);
    EXPECT_EQ(ReadAll(file, chunk), content) << chunk;
    EXPECT_TRUE(os().CloseHandle(file));
  }
}

TEST_F(FileReadContract, FailuresGiveTheWindowsCodes) {
  env_->PutDirectory(scratch() + u"\\dir");
  struct Case {
    WString path;
    uint32_t code;
  } cases[] = {
      {scratch() + u"\\missing.boot", err::kFileNotFound},
      {scratch() + u"\\no-such-folder\\ledgrix.boot", err::kPathNotFound},
      {scratch() + u"\\dir", err::kAccessDenied},
  };
  for (const Case& c : cases) {
    os().SetLastError(0xDEADBEEF);
    EXPECT_EQ(os().OpenFileForReading(c.path.c_str()), kNullHandle) << ToUtf8(c.path);
    EXPECT_EQ(os().GetLastError(), c.code) << ToUtf8(c.path);
  }
}

TEST_F(FileReadContract, OpeningDeniesNothingToOthers) {
  WString path = scratch() + u"\\shared.boot";
  env_->PutFile(path, "a");
  Handle first = os().OpenFileForReading(path.c_str());
  ASSERT_NE(first, kNullHandle);
  Handle second = os().OpenFileForReading(path.c_str());
  EXPECT_NE(second, kNullHandle);
  env_->PutFile(path, "b");  // a writer may replace the content meanwhile
  os().CloseHandle(second);
  os().CloseHandle(first);
  EXPECT_EQ(env_->FileBytes(path), std::optional<std::string>("b"));
}

}  // namespace
