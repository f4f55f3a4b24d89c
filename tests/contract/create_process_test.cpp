// How a command line finds the program it starts, and the errors of a start
// that cannot happen. The launcher relies on these to start the Java runtime.
#include <gtest/gtest.h>

#include "contract_environment.h"

namespace {

constexpr uint32_t kSentinel = 0xDEADBEEF;
constexpr uint32_t kLaunchFlags = kCreateNoWindow | kNormalPriorityClass;

class CreateProcessContract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    // The word-by-word search below is only predictable without a blank in
    // the scratch folder itself.
    ASSERT_EQ(scratch().find_first_of(u" \t"), WString::npos) << ToUtf8(scratch());
  }
  // Starts the command line and, when it started, waits for the end and closes
  // both handles.
  bool Run(WString command_line, const WString& directory) {
    os().SetLastError(kSentinel);
    ProcessInformation info;
    if (!os().CreateProcess(nullptr, command_line.data(), true, kLaunchFlags, directory.c_str(), &info)) return false;
    EXPECT_NE(info.process, kNullHandle);
    EXPECT_NE(info.thread, kNullHandle);
    EXPECT_EQ(os().WaitForSingleObject(info.process, kInfinite), kWaitObject0);
    EXPECT_TRUE(os().CloseHandle(info.process));
    EXPECT_TRUE(os().CloseHandle(info.thread));
    return true;
  }
  WString At(const WString& relative) const { return scratch() + u"\\" + relative; }
  using Starts = std::vector<WString>;
};

TEST_F(CreateProcessContract, RunsTheNamedProgramWithExeAddedInTheGivenDirectory) {
  env_->PutDirectory(At(u"jre\\bin"));
  env_->PutDirectory(At(u"work"));
  env_->PutProgram(At(u"jre\\bin\\javaw.exe"));
  ASSERT_TRUE(Run(At(u"jre\\bin\\javaw") + u" -Xmx96m -classpath \"a\";\"b\" Main", At(u"work")));
  EXPECT_EQ(env_->StartsOf(At(u"jre\\bin\\javaw.exe")), Starts{At(u"work")});
}

TEST_F(CreateProcessContract, AProgramThatIsNotThereIsError2) {
  env_->PutDirectory(At(u"jre"));
  for (const WString& program : {At(u"jre\\bin\\javaw"), At(u"nothing\\bin\\javaw")}) {
    EXPECT_FALSE(Run(program + u" Main", scratch())) << ToUtf8(program);
    EXPECT_EQ(os().GetLastError(), err::kFileNotFound) << ToUtf8(program);
  }
}

TEST_F(CreateProcessContract, AWorkingDirectoryThatIsNotThereIsError267) {
  env_->PutProgram(At(u"prog.exe"));
  EXPECT_FALSE(Run(At(u"prog") + u" Main", At(u"missing")));
  EXPECT_EQ(os().GetLastError(), err::kDirectory);
  EXPECT_TRUE(env_->StartsOf(At(u"prog.exe")).empty());
}

// Unquoted, a path with a blank is tried word by word: found whole without a
// program at a shorter prefix, else that program runs instead of the one
// meant. Quoted, only the whole path counts.
TEST_F(CreateProcessContract, AnUnquotedPathWithABlankRunsAProgramAtAShorterPrefix) {
  env_->PutDirectory(At(u"Program Files\\jre\\bin"));
  env_->PutProgram(At(u"Program Files\\jre\\bin\\javaw.exe"));
  const WString meant = At(u"Program Files\\jre\\bin\\javaw.exe");
  ASSERT_TRUE(Run(At(u"Program Files\\jre\\bin\\javaw") + u" Main", scratch()));
  ASSERT_EQ(env_->StartsOf(meant).size(), 1u);
  env_->PutProgram(At(u"Program.exe"));

  ASSERT_TRUE(Run(At(u"Program Files\\jre\\bin\\javaw") + u" -Xmx96m Main", scratch()));
  EXPECT_EQ(env_->StartsOf(At(u"Program.exe")).size(), 1u);
  EXPECT_EQ(env_->StartsOf(meant).size(), 1u) << "the meant program did not run again";

  ASSERT_TRUE(Run(WString(u"\"") + At(u"Program Files\\jre\\bin\\javaw") + u"\" -Xmx96m Main", scratch()));
  EXPECT_EQ(env_->StartsOf(meant).size(), 2u);
  EXPECT_EQ(env_->StartsOf(At(u"Program.exe")).size(), 1u) << "the decoy did not run again";
}

TEST_F(CreateProcessContract, TotalPhysicalMemoryIsCountedInBytes) {
  EXPECT_GE(os().GetTotalPhysicalMemory(), 64ull * 1024 * 1024);
}

}  // namespace
