// PENDING — temporary, for linking only; delete this file when the process
// part of the Linux platform lands.
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
#include "platform/registry_store.h"

namespace zepo {

// PENDING: placeholder of the type that the process part defines; no
// process is ever recorded.
struct LinuxPlatform::Process {};

// PENDING: these two move to linux_platform.cc, where the constructor also
// loads the registry (registry_).
LinuxPlatform::LinuxPlatform(const std::string& prefixDir)
    : prefix_(std::make_unique<LinuxPrefix>(prefixDir)),
      registry_(std::make_unique<RegistryStore>(prefixDir + "/registry.reg")) {
  prefix_->exportToChildren();
}

LinuxPlatform::~LinuxPlatform() = default;

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

}  // namespace zepo
