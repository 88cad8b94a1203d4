#include "platform/win32_platform.h"
#include "platform/workstation_platform.h"

namespace zepo {

std::unique_ptr<Platform> makeWorkstationPlatform() {
  return std::make_unique<Win32Platform>();
}

std::string workstationHostPath(Platform&, const std::string& windowsPath) {
  return windowsPath;
}

}  // namespace zepo
