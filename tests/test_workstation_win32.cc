// The test workstation of the Windows build: the system itself, run under
// Wine, with the test's drives and shares made on the fly. A drive is a
// temporary folder that Wine's mount manager maps to the letter; a share is
// a folder of the Wine prefix's dosdevices/unc. Both go when the
// workstation goes.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/win32_test_support.h"
#include "platform/windows_names.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

std::string temporaryRoot() {
  // GetTempPath's folder, which Windows names in TEMP (then TMP).
  for (const char* name : {"TEMP", "TMP"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
      std::string folder = value;
      while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
      return folder;
    }
  }
  return "C:\\windows\\temp";
}

}  // namespace

TestWorkstation::Folder::Folder() {
  std::random_device random;
  const std::string root = temporaryRoot();
  for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
    std::ostringstream name;
    name << root << "\\zepo-test-" << std::hex << random() << random();
    if (!win32::exists(name.str()) && win32::makeFolder(name.str())) path = name.str();
  }
  if (path.empty()) throw std::runtime_error("no temporary folder could be made");
}

TestWorkstation::Folder::~Folder() {
  win32::removeTree(path);
}

TestWorkstation::TestWorkstation() {
  platform_ = std::make_unique<Win32Platform>();
}

TestWorkstation::TestWorkstation(const Options& options) : options_(options) {
  platform_ = std::make_unique<Win32Platform>();
}

TestWorkstation::~TestWorkstation() {
  platform_.reset();  // closes its files first
  for (const auto& [letter, folder] : drives_) win32::wineDefineDrive(letter, "", "");
  for (const std::string& share : shares_) win32::removeTree(share);
}

std::string TestWorkstation::hostPath(const std::string& windowsPath) {
  return windowsPath;
}

bool TestWorkstation::factsAsGiven() {
  std::string windows(255, ' ');
  windows.resize(platform_->GetWindowsDirectoryA(windows, 255));
  // The version as the installer uses it: to the nearest whole number.
  long version = std::lround(platform_->osVersion());
  return platform_->osPlatform() == options_.platform &&
         version == std::lround(std::stof(options_.version)) &&
         upperName(windows) == upperName(options_.windowsDirectory) &&
         upperName(platform_->appPath()) == upperName(options_.programDirectory);
}

void TestWorkstation::reopen() {
  platform_.reset();
  platform_ = std::make_unique<Win32Platform>();
}

void TestWorkstation::addShare(const std::string& server, const std::string& share) {
  std::optional<std::string> dosDevices = win32::wineDosDevices();
  if (!dosDevices) throw std::runtime_error("shares of a test workstation need Wine");
  std::string folder = *dosDevices + "\\unc";
  for (const std::string& part : {std::string(), "\\" + server, "\\" + server + "\\" + share}) {
    if (!win32::makeFolder(folder + part)) {
      throw std::runtime_error("cannot make the share folder " + folder + part);
    }
  }
  shares_.push_back(folder + "\\" + server + "\\" + share);
}

void TestWorkstation::addDrive(char letter, const std::string& label) {
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  std::string folder = dir() + "\\drive_" + letter;
  if (!win32::makeFolder(folder)) throw std::runtime_error("cannot make " + folder);
  std::optional<std::string> unixFolder = win32::wineUnixPath(folder);
  if (!unixFolder) throw std::runtime_error("drives of a test workstation need Wine");
  if (!win32::wineDefineDrive(letter, *unixFolder, label)) {
    throw std::runtime_error(std::string("Wine's mount manager did not make drive ") + letter);
  }
  drives_[letter] = folder;
  options_.labels[letter] = label;
}

void TestWorkstation::writeFile(const std::string& windowsPath, const std::string& bytes) {
  // Each folder on the way is made, with the path's spelling, when missing.
  for (std::size_t cut = windowsPath.find_first_of("\\/", 3); cut != std::string::npos;
       cut = windowsPath.find_first_of("\\/", cut + 1)) {
    std::string folder = windowsPath.substr(0, cut);
    if (folder.size() <= 2 || folder.back() == '\\' || folder.back() == '/') continue;
    if (windowsPath.compare(0, 2, "\\\\") == 0 &&
        std::count_if(folder.begin(), folder.end(), [](char c) { return c == '\\' || c == '/'; }) <
            4) {
      continue;  // \\server\share itself
    }
    win32::makeFolder(folder);
  }
  if (!win32::writeBytes(windowsPath, bytes))
    throw std::runtime_error("cannot write " + windowsPath);
}

std::string TestWorkstation::readFile(const std::string& windowsPath) {
  std::optional<std::string> bytes = win32::readBytes(windowsPath);
  if (!bytes) throw std::runtime_error("cannot read " + windowsPath);
  return *bytes;
}

bool TestWorkstation::exists(const std::string& windowsPath) {
  return win32::exists(windowsPath);
}

void TestWorkstation::setHidden(const std::string& windowsPath, int dosAttrBits) {
  if (!win32::addAttributes(windowsPath, dosAttrBits)) {
    throw std::runtime_error("cannot set the attributes of " + windowsPath);
  }
}

}  // namespace zepo
