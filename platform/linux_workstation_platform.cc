#include "platform/linux_platform.h"
#include "platform/workstation_platform.h"

namespace zepo {

std::unique_ptr<Platform> makeWorkstationPlatform() {
  return std::make_unique<LinuxPlatform>(LinuxPlatform::defaultPrefixDir());
}

std::string workstationHostPath(Platform& platform, const std::string& windowsPath) {
  return dynamic_cast<LinuxPlatform&>(platform).hostPath(windowsPath);
}

}  // namespace zepo
