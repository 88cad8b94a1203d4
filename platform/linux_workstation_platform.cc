#include "platform/linux_platform.h"
#include "platform/workstation_platform.h"

namespace zepo {

std::unique_ptr<Platform> makeWorkstationPlatform() {
  // The registry is read by the first registry call: xcopy, which makes
  // none, never pays for reading it.
  return std::make_unique<LinuxPlatform>(LinuxPlatform::defaultPrefixDir(),
                                         LinuxPlatform::RegistryReading::kOnFirstUse);
}

std::string workstationHostPath(Platform& platform, const std::string& windowsPath) {
  return dynamic_cast<LinuxPlatform&>(platform).hostPath(windowsPath);
}

}  // namespace zepo
