#include "shell/settings.h"

#include "shell/text.h"

namespace zepo {

namespace {
constexpr std::uint32_t kBufferSize = 255;
}

std::string settingsPath(const Installer& app) {
  return "\\\\" + app.frmMain.txtServer + "\\zepo\\zepoinst.ini";
}

std::string readProfileString(Platform& platform, const std::string& section,
                              const std::string& key, const std::string& fileName) {
  std::string buffer(kBufferSize, ' ');
  std::uint32_t count =
      platform.GetPrivateProfileStringA(section, key, "", buffer, kBufferSize, fileName);
  if (count == 0) return "";
  return leftChars(buffer, count);
}

std::string windowsFolder(Platform& platform) {
  std::string buffer(kBufferSize, ' ');
  std::uint32_t length = platform.GetWindowsDirectoryA(buffer, kBufferSize);
  return leftChars(buffer, length);
}

}  // namespace zepo
