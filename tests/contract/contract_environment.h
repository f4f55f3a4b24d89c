#pragma once
// What a behavioural test of the platform layer needs around the layer under
// test: the layer itself and a scratch folder it may change freely, with a
// side channel (not the layer under test) to lay out files and look at them.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class ContractEnvironment {
 public:
  virtual ~ContractEnvironment() = default;
  virtual Platform& os() = 0;
  // An existing, empty folder; full path without a trailing backslash.
  virtual const WString& scratch() const = 0;
  virtual void PutFile(const WString& path, const std::string& bytes) = 0;
  virtual void PutDirectory(const WString& path) = 0;
  virtual std::optional<std::string> FileBytes(const WString& path) = 0;
  virtual bool IsDirectory(const WString& path) = 0;
  // Puts at path (a full path) a program that, when started, records its
  // start and ends at once.
  virtual void PutProgram(const WString& path) = 0;
  // The working directory of each start so far of the program at path (read
  // after the started processes have ended).
  virtual std::vector<WString> StartsOf(const WString& path) = 0;
  // The user's own registry key below which a test may write freely.
  virtual const WString& scratch_registry_key() const = 0;
  // Names of the subkeys of a key below HKEY_CURRENT_USER, as the registry
  // spells them.
  virtual std::vector<WString> RegistrySubKeys(const WString& key) = 0;
  // Which layer runs: "emulated" or "win32".
  virtual const char* kind() const = 0;
};

std::unique_ptr<ContractEnvironment> MakeContractEnvironment();

class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = MakeContractEnvironment();
    os_ = &env_->os();
  }
  Platform& os() { return *os_; }
  const WString& scratch() const { return env_->scratch(); }
  std::unique_ptr<ContractEnvironment> env_;
  Platform* os_ = nullptr;
};
