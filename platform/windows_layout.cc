#include "platform/windows_layout.h"

#include <cmath>
#include <limits>

namespace zepo {

std::int16_t wholeVersion(float version) {
  double rounded = std::nearbyint(static_cast<double>(version));
  if (!(rounded >= std::numeric_limits<std::int16_t>::min())) {
    return std::numeric_limits<std::int16_t>::min();
  }
  if (rounded > std::numeric_limits<std::int16_t>::max()) {
    return std::numeric_limits<std::int16_t>::max();
  }
  return static_cast<std::int16_t>(rounded);
}

std::string hostsFolder(const std::string& windowsFolder, int platform) {
  return platform == 2 ? windowsFolder + "\\system32\\drivers\\etc" : windowsFolder;
}

std::string allUsersDesktop(const std::string& windowsFolder, int platform, float version) {
  if (platform != 2) return windowsFolder + "\\Desktop";
  if (wholeVersion(version) == 5) {
    return windowsFolder.substr(0, 2) + "\\Documents and Settings\\All Users\\Desktop";
  }
  return windowsFolder + "\\Profiles\\All Users\\Desktop";
}

}  // namespace zepo
