#include "platform/linux_platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/file_replacement.h"
#include "platform/linux_platform_process.h"
#include "platform/linux_prefix.h"
#include "platform/registry_store.h"

namespace zepo {

LinuxPlatform::LinuxPlatform(const std::string& prefixDir, RegistryReading registry)
    : prefix_(std::make_unique<LinuxPrefix>(prefixDir)) {
  if (registry == RegistryReading::kAtStart) {
    registry_ = std::make_unique<RegistryStore>(prefix_->file("registry.reg"));
  }
  prefix_->exportToChildren();
}

RegistryStore* LinuxPlatform::registry() {
  if (!registry_) {
    try {
      registry_ = std::make_unique<RegistryStore>(prefix_->file("registry.reg"));
    } catch (const std::runtime_error&) {
      return nullptr;  // tried again on the next call
    }
  }
  return registry_.get();
}

LinuxPlatform::~LinuxPlatform() = default;

std::string LinuxPlatform::defaultPrefixDir() {
  const char* prefix = std::getenv("ZEPO_PREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* data = std::getenv("XDG_DATA_HOME");
  // Relative values of XDG_DATA_HOME are invalid and are to be ignored.
  if (data != nullptr && data[0] == '/') return std::string(data) + "/clientzepo";
  const char* home = std::getenv("HOME");
  std::string homeDir = home != nullptr && *home != '\0' ? home : "";
  if (homeDir.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      homeDir = pw->pw_dir;
    }
  }
  return homeDir + "/.local/share/clientzepo";
}

std::string LinuxPlatform::hostPath(const std::string& windowsPath) {
  return prefix_->paths().resolve(windowsPath).host;
}

const std::string& LinuxPlatform::prefixDir() const {
  return prefix_->dir();
}

std::uint32_t LinuxPlatform::GetWindowsDirectoryA(std::string& buffer, std::uint32_t size) {
  // The folder crosses an 8-bit function: what the code page lacks is lost.
  std::string folder = fromCodePage(toCodePage(prefix_->windowsDirectory()));
  std::uint32_t length = static_cast<std::uint32_t>(characterCount(folder));
  // Too small a buffer stays untouched; the answer is the size it needs.
  if (size <= length) return length + 1;
  return placeInBuffer(buffer, size, folder);
}

int LinuxPlatform::AddFontResourceA(const std::string& fileName) {
  PathResolver::Resolved font;
  try {
    font = prefix_->paths().resolve(fileName);
  } catch (const RuntimeError&) {
    return 0;
  }
  struct stat st;
  if (!font.exists || stat(font.host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  // The fonts loaded before stay; the list is replaced whole, never cut.
  std::string fonts;
  int fd = open(prefix_->file("fonts.txt").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
      fonts.append(buffer, static_cast<std::size_t>(n));
    close(fd);
    if (n < 0) return 0;
  } else if (errno != ENOENT) {
    return 0;
  }
  if (!fonts.empty() && fonts.back() != '\n') fonts += '\n';
  return replaceFile(prefix_->file("fonts.txt"), fonts + fileName + "\n") ? 1 : 0;
}

int LinuxPlatform::osPlatform() {
  return prefix_->platform();
}

float LinuxPlatform::osVersion() {
  return prefix_->version();
}

std::vector<DriveInfo> LinuxPlatform::drives() {
  std::set<char> letters;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir((prefix_->dir() + "/dosdevices").c_str()),
                                          closedir);
  if (dir) {
    while (dirent* entry = readdir(dir.get())) {
      const char* name = entry->d_name;
      if (std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' && name[2] == '\0') {
        letters.insert(static_cast<char>(std::tolower(static_cast<unsigned char>(name[0]))));
      }
    }
  }
  std::vector<DriveInfo> result;
  for (char letter : letters) result.push_back({letter, prefix_->label(letter)});
  return result;
}

std::string LinuxPlatform::appPath() {
  // A workstation used as it stands (a Wine prefix) may not have the folder
  // yet: it is made when it is first asked for.
  prefix_->makeProgramDirectory();
  return prefix_->programDirectory();
}

}  // namespace zepo
