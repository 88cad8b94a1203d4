// The platform on Linux: an emulated Windows workstation kept in a prefix
// folder (drives under dosdevices/, shares under dosdevices/unc/, the
// registry in registry.reg, loaded fonts in fonts.txt, the machine's facts in
// platform.ini). The only code of the installer that knows about POSIX.
//
// The implementation is split by subject:
//   linux_platform.cc          construction, system information, app data
//   linux_platform_files.cc    listing, file and folder operations, text and
//                              binary files
//   linux_platform_profile.cc  INI files, Windows folder, fonts
//   linux_platform_registry.cc the registry functions
//   linux_platform_process.cc  the process runner
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms_runtime.h"

namespace zepo {

class LinuxPrefix;
class RegistryStore;

class LinuxPlatform : public FormsRuntime {
 public:
  enum class RegistryReading {
    kAtStart,     // a registry.reg that cannot be read is found at once
    kOnFirstUse,  // for programs that may never use the registry (xcopy)
  };

  // Uses the prefix folder `prefixDir`, laying out the default workstation
  // when it is missing or empty. Throws std::runtime_error with a message
  // naming the file (and the line) when platform.ini, or with kAtStart
  // registry.reg, is malformed or no file. A registry that cannot be read
  // on first use makes the registry functions fail with ERROR_BADDB.
  explicit LinuxPlatform(const std::string& prefixDir,
                         RegistryReading registry = RegistryReading::kAtStart);
  ~LinuxPlatform() override;

  // The prefix named by ZEPO_PREFIX, else $XDG_DATA_HOME/clientzepo, else
  // ~/.local/share/clientzepo.
  static std::string defaultPrefixDir();

  // The Linux path of a Windows path (for tests and tools); throws
  // RuntimeError as a file operation would.
  std::string hostPath(const std::string& windowsPath);
  const std::string& prefixDir() const;

#include "platform/system_overrides.inc"

 public:
  FileIdentity fileIdentity(const std::string& path) override;

 protected:
  FileIdentity entryIdentity(const std::string& path) override;

 private:
  struct Process;  // linux_platform_process.cc

  // The registry, read on first use; nullptr when it cannot be read.
  RegistryStore* registry();

  std::unique_ptr<LinuxPrefix> prefix_;
  std::unique_ptr<RegistryStore> registry_;
  std::map<RegKey, std::string> openKeys_;  // handle -> full key path
  // handle -> the access mask that the key was opened with
  std::map<RegKey, std::uint32_t> openKeyAccess_;
  RegKey nextKey_ = 0x00000100;
  std::map<ProcessHandle, std::unique_ptr<Process>> processes_;
  ProcessHandle nextProcess_ = 0x100;
};

}  // namespace zepo
