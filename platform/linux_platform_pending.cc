// PENDING — temporary, for linking only; delete this file when the INI,
// registry and process parts of the Linux platform land.
//
// Until then every Windows function that those parts implement fails with
// runtime error 5, so that nothing can mistake it for a working one.
//
// When deleting this file, move the constructor and the destructor below
// into a file that sees every member type complete: platform/linux_files.h (OpenFile,
// Listing), platform/registry_store.h (RegistryStore) and the definition of
// LinuxPlatform::Process.
#include "platform/errors.h"
#include "platform/linux_files.h"
#include "platform/linux_platform.h"
#include "platform/linux_prefix.h"

namespace zepo {

// PENDING: placeholders of the types that the registry and process parts
// define; registry_ stays null and no process is ever recorded.
class RegistryStore {};
struct LinuxPlatform::Process {};

// PENDING: these two move to linux_platform.cc, where the constructor also
// loads the registry (registry_).
LinuxPlatform::LinuxPlatform(const std::string& prefixDir)
    : prefix_(std::make_unique<LinuxPrefix>(prefixDir)) {
  prefix_->exportToChildren();
}

LinuxPlatform::~LinuxPlatform() = default;

// PENDING: linux_platform_profile.cc
std::uint32_t LinuxPlatform::GetPrivateProfileStringA(const std::string&, const std::string&,
                                                      const std::string&, std::string&,
                                                      std::uint32_t, const std::string&) {
  throw RuntimeError(kErrBadCall);
}
bool LinuxPlatform::WritePrivateProfileStringA(const std::string&, const std::string&,
                                               const std::optional<std::string>&,
                                               const std::string&) {
  throw RuntimeError(kErrBadCall);
}

// PENDING: linux_platform_process.cc
bool LinuxPlatform::CreateProcessA(const std::string&, bool, std::uint32_t, const StartupInfo&,
                                   ProcessInformation&) {
  throw RuntimeError(kErrBadCall);
}
std::uint32_t LinuxPlatform::WaitForSingleObject(ProcessHandle, std::uint32_t) {
  throw RuntimeError(kErrBadCall);
}
bool LinuxPlatform::GetExitCodeProcess(ProcessHandle, std::int32_t&) {
  throw RuntimeError(kErrBadCall);
}
bool LinuxPlatform::CloseHandle(ProcessHandle) {
  throw RuntimeError(kErrBadCall);
}

// PENDING: linux_platform_registry.cc
std::int32_t LinuxPlatform::RegCreateKeyExA(RegKey, const std::string&, std::uint32_t,
                                            std::uint32_t, RegKey&, std::uint32_t&) {
  throw RuntimeError(kErrBadCall);
}
std::int32_t LinuxPlatform::RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, RegKey&) {
  throw RuntimeError(kErrBadCall);
}
std::int32_t LinuxPlatform::RegSetValueExA(RegKey, const std::string&, std::uint32_t,
                                           const std::string&, std::uint32_t) {
  throw RuntimeError(kErrBadCall);
}
std::int32_t LinuxPlatform::RegDeleteValueA(RegKey, const std::string&) {
  throw RuntimeError(kErrBadCall);
}
std::int32_t LinuxPlatform::RegCloseKey(RegKey) {
  throw RuntimeError(kErrBadCall);
}

}  // namespace zepo
