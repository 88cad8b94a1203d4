// The test workstation of the Windows build: the system itself, run under
// Wine, with the test's drives and shares made on the fly. A drive is a
// temporary folder that Wine's mount manager maps to the letter; a share is
// a folder of the Wine prefix's dosdevices/unc. Both go when the
// workstation goes.
//
// Drive C: is the system's own for the whole run, not a fresh one per
// test: the workstation notes what its root, the Windows folder, the hosts
// folder and the program folder hold when it is made, and puts them back
// when it goes (new entries removed, the system files' bytes written
// back). The installer's registry keys are removed at both ends, so that
// each test starts from a registry the installer never wrote, as on Linux.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "platform/codepage.h"
#include "platform/platform.h"
#include "platform/win32_test_support.h"
#include "platform/windows_layout.h"
#include "platform/windows_names.h"
#include "tests/test_workstation.h"

namespace zepo {
namespace {

// Makes every folder of the path that is missing, with the path's
// spelling: the path itself when it ends in a separator, else the folders
// up to its last component. A drive's root and \\server\share are there.
void makeFolders(const std::string& windowsPath) {
  const std::size_t first = windowsPath.compare(0, 2, "\\\\") == 0
                                ? windowsPath.find_first_of("\\/", windowsPath.find('\\', 2) + 1)
                                : 2;
  if (first == std::string::npos) return;
  for (std::size_t cut = windowsPath.find_first_of("\\/", first + 1); cut != std::string::npos;
       cut = windowsPath.find_first_of("\\/", cut + 1)) {
    win32::makeFolder(windowsPath.substr(0, cut));
  }
}

}  // namespace

TestWorkstation::Folder::Folder() {
  std::random_device random;
  char temp[MAX_PATH + 1] = {};
  std::string root(temp, ::GetTempPathA(sizeof temp, temp));
  while (!root.empty() && root.back() == '\\') root.pop_back();
  for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
    std::ostringstream name;
    name << root << "\\zepo-test-" << std::hex << random() << random();
    if (!win32::exists(name.str()) && win32::makeFolder(name.str())) path = name.str();
  }
  if (path.empty()) throw std::runtime_error("no temporary folder could be made");
}

TestWorkstation::Folder::~Folder() {
  win32::removeEntry(path);
}

namespace {

// The keys that the installer writes, below the roots it writes them under.
constexpr const char* kInstallerKey = "software\\prologue software";
constexpr const char* kDefaultUserInstallerKey = ".default\\software\\prologue software";

void removeInstallerKeys() {
  win32::removeRegistryTree(kHkeyCurrentUser, kInstallerKey);
  win32::removeRegistryTree(kHkeyUsers, kDefaultUserInstallerKey);
}

}  // namespace

TestWorkstation::TestWorkstation() : TestWorkstation(Options()) {}

TestWorkstation::TestWorkstation(const Options& options) : options_(options) {
  platform_ = std::make_unique<Win32Platform>();
  std::string windows(255, ' ');
  windows.resize(platform_->GetWindowsDirectoryA(windows, 255));
  const std::string etc = hostsFolder(windows, platform_->osPlatform());
  // Text files of the Windows folder (system.ini, hosts, services of the 9x
  // family...) and every file of the hosts folder are kept byte for byte;
  // of the rest only what is there.
  auto textFile = [](const std::string& name) {
    std::string upper = upperName(name);
    std::size_t dot = upper.rfind('.');
    return dot == std::string::npos || upper.substr(dot) == ".INI" || upper.substr(dot) == ".SAM" ||
           upper.substr(dot) == ".BAK";
  };
  auto everyFile = [](const std::string&) { return true; };
  auto noFile = [](const std::string&) { return false; };
  const std::pair<std::string, std::function<bool(const std::string&)>> kept[] = {
      {windows.substr(0, 2), noFile},
      {windows, textFile},
      {etc, everyFile},
      {platform_->appPath(), noFile},
  };
  for (const auto& [folder, keepBytes] : kept) {
    Snapshot snapshot;
    snapshot.folder = folder;
    for (const win32::FolderEntry& entry : win32::folderEntries(folder)) {
      snapshot.names.push_back(upperName(entry.name));
      if (entry.folder || !keepBytes(entry.name)) continue;
      if (std::optional<std::string> bytes = win32::readBytes(folder + "\\" + entry.name)) {
        snapshot.files[entry.name] = *bytes;
      }
    }
    snapshots_.push_back(std::move(snapshot));
  }
  removeInstallerKeys();
  // The default workstation has the sample of hosts that Windows ships
  // beside it; Wine has none.
  if (!win32::exists(etc + "\\hosts.sam")) {
    std::optional<std::string> hosts = win32::readBytes(etc + "\\hosts");
    win32::writeBytes(etc + "\\hosts.sam", hosts ? *hosts : "127.0.0.1       localhost\r\n");
  }
  // And the desktop that the install command uses for its platform and
  // version, which Wine keeps elsewhere.
  const std::string desktop =
      allUsersDesktop(windows, platform_->osPlatform(), platform_->osVersion());
  makeFolders(desktop + "\\");
}

TestWorkstation::~TestWorkstation() {
  platform_.reset();  // closes its files first
  for (const auto& [letter, folder] : drives_) win32::wineDefineDrive(letter, "", "");
  for (const std::string& share : shares_) win32::removeEntry(share);
  for (auto it = snapshots_.rbegin(); it != snapshots_.rend(); ++it) restore(*it);
  removeInstallerKeys();
}

void TestWorkstation::restore(const Snapshot& snapshot) {
  for (const win32::FolderEntry& entry : win32::folderEntries(snapshot.folder)) {
    if (std::find(snapshot.names.begin(), snapshot.names.end(), upperName(entry.name)) ==
        snapshot.names.end()) {
      win32::removeEntry(snapshot.folder + "\\" + entry.name);
    }
  }
  for (const auto& [name, bytes] : snapshot.files) {
    const std::string path = snapshot.folder + "\\" + name;
    // Attributes a test gave it go too.
    win32::removeEntry(path);
    win32::writeBytes(path, bytes);
  }
}

std::string TestWorkstation::hostPath(const std::string& windowsPath) {
  return windowsPath;
}

bool TestWorkstation::factsAsGiven() {
  std::string windows(255, ' ');
  windows.resize(platform_->GetWindowsDirectoryA(windows, 255));
  // The version as the installer uses it.
  return platform_->osPlatform() == options_.platform &&
         wholeVersion(platform_->osVersion()) == wholeVersion(std::stof(options_.version)) &&
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
  makeFolders(windowsPath);
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

namespace {

// A key path's root handle and the path below it; root 0 for an unknown
// root name.
std::pair<RegKey, std::string> splitKeyPath(const std::string& keyPath) {
  static const std::pair<const char*, RegKey> kRoots[] = {
      {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
      {"HKEY_CURRENT_USER", kHkeyCurrentUser},
      {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
      {"HKEY_USERS", kHkeyUsers},
      {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig}};
  std::size_t cut = keyPath.find('\\');
  std::string root = upperName(keyPath.substr(0, cut));
  for (const auto& [name, handle] : kRoots) {
    if (root == name) return {handle, cut == std::string::npos ? "" : keyPath.substr(cut + 1)};
  }
  return {0, ""};
}

}  // namespace

std::optional<std::string> TestWorkstation::registryString(const std::string& keyPath,
                                                           const std::string& valueName) {
  auto [root, subKey] = splitKeyPath(keyPath);
  if (root == 0) return std::nullopt;
  // Names are given as the registry keeps them, in the code page, as the
  // Linux workstation's registry file has them.
  return win32::registryString(root, fromCodePage(subKey), fromCodePage(valueName));
}

bool TestWorkstation::registryKeyExists(const std::string& keyPath) {
  auto [root, subKey] = splitKeyPath(keyPath);
  return root != 0 && win32::registryKeyExists(root, subKey);
}

}  // namespace zepo
