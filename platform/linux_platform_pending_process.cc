// TEMPORARY DEFINITIONS — DROP AT MERGE.
//
// A stand-in for the parts of LinuxPlatform that the branch "process-xcopy"
// needs but does not own (construction, path resolution, listing,
// attributes, folders, file copy), so that the process runner, xcopy and
// their tests can be built and run before the platform core is merged. Only
// what those tests touch works, and only roughly (no default workstation
// layout, no platform.ini); every other method throws std::logic_error.
// The integrator drops this file together with tests/test_workstation.{h,cc}
// of the same commit.
#include <sys/xattr.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "platform/errors.h"
#include "platform/linux_platform.h"
#include "platform/linux_platform_process.h"

namespace fs = std::filesystem;

namespace zepo {

class LinuxPrefix {
 public:
  std::string dir;
};
class RegistryStore {};
struct LinuxPlatform::OpenFile {};
struct LinuxPlatform::Listing {
  std::vector<std::string> names;
  std::size_t next = 0;
};

namespace {

[[noreturn]] void pending(const char* what) {
  throw std::logic_error(std::string("pending merge with the platform core: ") + what);
}

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

std::vector<std::string> components(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (isSeparator(c)) {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The entry of `folder` named `name`, exact spelling first, then ignoring case.
std::string matchName(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return name;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string candidate = entry.path().filename().string();
    if (upper(candidate) == upper(name)) return candidate;
  }
  return name;
}

bool wildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || upper(std::string(1, pattern[p])) ==
                                                        upper(std::string(1, name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

int dosBits(const std::string& hostPath) {
  char value[64] = {};
  ssize_t n = getxattr(hostPath.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
  int bits = n > 0 ? static_cast<int>(std::strtol(value, nullptr, 16)) : 0;
  std::string name = fs::path(hostPath).filename().string();
  if (!name.empty() && name[0] == '.') bits |= kAttrHidden;
  return bits;
}

}  // namespace

// For the temporary test workstation only.
void pendingSetDosAttributes(const std::string& hostPath, int bits) {
  std::string value = "0x" + std::to_string(bits);
  if (setxattr(hostPath.c_str(), "user.DOSATTRIB", value.c_str(), value.size(), 0) != 0)
    throw std::runtime_error("setxattr failed on " + hostPath);
}

LinuxPlatform::LinuxPlatform(const std::string& prefixDir)
    : prefix_(std::make_unique<LinuxPrefix>()) {
  prefix_->dir = prefixDir;
  fs::create_directories(fs::path(prefixDir) / "drive_c");
  fs::create_directories(fs::path(prefixDir) / "dosdevices" / "unc");
  std::error_code ec;
  if (!fs::exists(fs::path(prefixDir) / "dosdevices" / "c:", ec))
    fs::create_directory_symlink("../drive_c", fs::path(prefixDir) / "dosdevices" / "c:");
  setenv("ZEPO_PREFIX", prefixDir.c_str(), 1);
}

LinuxPlatform::~LinuxPlatform() = default;

std::string LinuxPlatform::defaultPrefixDir() {
  if (const char* p = std::getenv("ZEPO_PREFIX"); p && *p) return p;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return std::string(x) + "/clientzepo";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/share/clientzepo";
}

const std::string& LinuxPlatform::prefixDir() const {
  return prefix_->dir;
}

std::string LinuxPlatform::hostPath(const std::string& windowsPath) {
  if (windowsPath.find_first_of("<>\"|?*") != std::string::npos)
    throw RuntimeError(kErrBadFileNameOrNumber);
  fs::path root;
  std::string rest;
  fs::path devices = fs::path(prefix_->dir) / "dosdevices";
  if (windowsPath.size() >= 2 && isSeparator(windowsPath[0]) && isSeparator(windowsPath[1])) {
    std::vector<std::string> parts = components(windowsPath);
    if (parts.size() < 2) throw RuntimeError(kErrBadFileNameOrNumber);
    std::string server = matchName(devices / "unc", parts[0]);
    std::string share = matchName(devices / "unc" / server, parts[1]);
    root = devices / "unc" / server / share;
    for (std::size_t i = 2; i < parts.size(); ++i) rest += parts[i] + "\\";
  } else if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    root = devices / (std::string(1, letter) + ":");
    rest = windowsPath.substr(2);
  } else {
    throw RuntimeError(kErrBadFileNameOrNumber);
  }
  std::error_code ec;
  if (!fs::is_directory(root, ec)) throw RuntimeError(kErrPathNotFound);
  std::vector<std::string> kept;
  for (const std::string& part : components(rest)) {
    if (part == ".") continue;
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    if (part.find(':') != std::string::npos) throw RuntimeError(kErrBadFileNameOrNumber);
    kept.push_back(part);
  }
  fs::path path = root;
  for (const std::string& part : kept) path /= matchName(path, part);
  return path.string();
}

std::string LinuxPlatform::listFirst(const std::string& pathName, int attributes) {
  listing_ = std::make_unique<Listing>();
  std::size_t cut = pathName.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? "" : pathName.substr(0, cut);
  std::string pattern = cut == std::string::npos ? pathName : pathName.substr(cut + 1);
  if (folder.size() == 2 && folder[1] == ':') folder += "\\";
  std::string dir;
  try {
    dir = hostPath(folder.empty() ? pathName : folder);
  } catch (const RuntimeError&) {
    return "";
  }
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    std::string name = entry.path().filename().string();
    if (!wildcardMatch(pattern, name)) continue;
    if (dosBits(entry.path().string()) & (kAttrHidden | kAttrSystem)) continue;
    if (entry.is_directory(ec) && attributes != kAttrDirectory) continue;
    listing_->names.push_back(name);
  }
  std::sort(listing_->names.begin(), listing_->names.end(),
            [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
  return listNext();
}

std::string LinuxPlatform::listNext() {
  if (!listing_ || listing_->next >= listing_->names.size()) return "";
  return listing_->names[listing_->next++];
}

int LinuxPlatform::getAttributes(const std::string& path) {
  std::string host = hostPath(path);
  std::error_code ec;
  fs::file_status status = fs::status(host, ec);
  if (!fs::exists(status)) throw RuntimeError(kErrFileNotFound);
  int bits = dosBits(host) & (kAttrHidden | kAttrSystem);
  if (fs::is_directory(status)) bits |= kAttrDirectory;
  if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) bits |= kAttrReadOnly;
  return bits;
}

void LinuxPlatform::makeFolder(const std::string& path) {
  std::string host = hostPath(path);
  std::error_code ec;
  if (fs::exists(host, ec)) throw RuntimeError(kErrPathFileAccess);
  if (!fs::is_directory(fs::path(host).parent_path(), ec)) throw RuntimeError(kErrPathNotFound);
  if (!fs::create_directory(host, ec)) throw RuntimeError(kErrPermissionDenied);
}

void LinuxPlatform::copyFile(const std::string& source, const std::string& destination) {
  std::string from = hostPath(source);
  std::string to = hostPath(destination);
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) throw RuntimeError(kErrFileNotFound);
  if (!fs::is_directory(fs::path(to).parent_path(), ec)) throw RuntimeError(kErrPathNotFound);
  if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
    throw RuntimeError(ec == std::errc::no_space_on_device ? kErrDiskFull : kErrPermissionDenied);
}

std::uint32_t LinuxPlatform::GetPrivateProfileStringA(const std::string&, const std::string&,
                                                      const std::string&, std::string&,
                                                      std::uint32_t, const std::string&) {
  pending("GetPrivateProfileStringA");
}
bool LinuxPlatform::WritePrivateProfileStringA(const std::string&, const std::string&,
                                               const std::optional<std::string>&,
                                               const std::string&) {
  pending("WritePrivateProfileStringA");
}
std::uint32_t LinuxPlatform::GetWindowsDirectoryA(std::string&, std::uint32_t) {
  pending("GetWindowsDirectoryA");
}
int LinuxPlatform::AddFontResourceA(const std::string&) {
  pending("AddFontResourceA");
}
std::int32_t LinuxPlatform::RegCreateKeyExA(RegKey, const std::string&, std::uint32_t,
                                            std::uint32_t, RegKey&, std::uint32_t&) {
  pending("RegCreateKeyExA");
}
std::int32_t LinuxPlatform::RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, RegKey&) {
  pending("RegOpenKeyExA");
}
std::int32_t LinuxPlatform::RegSetValueExA(RegKey, const std::string&, std::uint32_t,
                                           const std::string&, std::uint32_t) {
  pending("RegSetValueExA");
}
std::int32_t LinuxPlatform::RegDeleteValueA(RegKey, const std::string&) {
  pending("RegDeleteValueA");
}
std::int32_t LinuxPlatform::RegCloseKey(RegKey) {
  pending("RegCloseKey");
}
void LinuxPlatform::deleteFile(const std::string&) {
  pending("deleteFile");
}
void LinuxPlatform::renameFile(const std::string&, const std::string&) {
  pending("renameFile");
}
void LinuxPlatform::openText(int, const std::string&, TextMode) {
  pending("openText");
}
std::string LinuxPlatform::readLine(int) {
  pending("readLine");
}
bool LinuxPlatform::endOfFile(int) {
  pending("endOfFile");
}
void LinuxPlatform::writeLine(int, const std::string&) {
  pending("writeLine");
}
void LinuxPlatform::closeFile(int) {
  pending("closeFile");
}
void LinuxPlatform::openBinary(int, const std::string&) {
  pending("openBinary");
}
std::int64_t LinuxPlatform::fileLength(int) {
  pending("fileLength");
}
std::uint8_t LinuxPlatform::readByte(int) {
  pending("readByte");
}
void LinuxPlatform::writeByte(int, std::uint8_t) {
  pending("writeByte");
}
int LinuxPlatform::osPlatform() {
  pending("osPlatform");
}
float LinuxPlatform::osVersion() {
  pending("osVersion");
}
std::vector<DriveInfo> LinuxPlatform::drives() {
  pending("drives");
}
std::string LinuxPlatform::appPath() {
  pending("appPath");
}
std::string LinuxPlatform::appTitle() {
  pending("appTitle");
}
AppVersion LinuxPlatform::appVersion() {
  pending("appVersion");
}

}  // namespace zepo
