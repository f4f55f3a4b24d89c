#include <gtest/gtest.h>

#include "contract_environment.h"
#include "platform/emulated_file_system.h"
#include "platform/emulated_machine.h"
#include "platform/emulated_platform.h"
#include "platform/emulated_registry.h"

namespace {

class EmulatedEnvironment final : public ContractEnvironment {
 public:
  EmulatedEnvironment() : installed_(platform_) {
    platform_.fs().MakeDirectories(scratch_);
    platform_.set_current_directory(u"C:\\");
  }
  Platform& os() override { return platform_; }
  const WString& scratch() const override { return scratch_; }
  void PutFile(const WString& path, const std::string& bytes) override { platform_.fs().WriteFile(path, bytes); }
  void PutDirectory(const WString& path) override { platform_.fs().MakeDirectories(path); }
  std::optional<std::string> FileBytes(const WString& path) override { return platform_.fs().ReadFileBytes(path); }
  bool IsDirectory(const WString& path) override { return platform_.fs().IsDirectory(path); }
  void PutProgram(const WString& path) override { platform_.fs().WriteFile(path, "MZ"); }
  std::vector<WString> StartsOf(const WString& path) override {
    std::vector<WString> directories;
    for (const RecordedProcess& process : platform_.processes())
      if (FoldCase(process.program) == FoldCase(path)) directories.push_back(process.current_directory);
    return directories;
  }
  const WString& scratch_registry_key() const override { return registry_key_; }
  std::vector<WString> RegistrySubKeys(const WString& key) override {
    return platform_.registry().SubKeys(u"HKCU\\" + key);
  }
  const char* kind() const override { return "emulated"; }

 private:
  EmulatedPlatform platform_;
  ScopedPlatform installed_;
  WString scratch_ = u"C:\\users\\user\\Temp\\contract";
  WString registry_key_ = u"Software\\LedgrixContract";
};

}  // namespace

std::unique_ptr<ContractEnvironment> MakeContractEnvironment() { return std::make_unique<EmulatedEnvironment>(); }
