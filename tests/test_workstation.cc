#include "tests/test_workstation.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/linux_dos_attributes.h"
#include "platform/registry_store.h"

namespace fs = std::filesystem;

namespace zepo {

TestWorkstation::Folder::Folder() {
  std::string pattern = (fs::temp_directory_path() / "zepo-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder could be made");
  path = pattern;
}

TestWorkstation::Folder::~Folder() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

TestWorkstation::TestWorkstation() {
  platform_ = std::make_unique<LinuxPlatform>(dir());
}

TestWorkstation::TestWorkstation(const Options& options) : options_(options) {
  if (options.demo) {
    // The script lays out the empty folder; it finds make-prefix in this
    // build's folder of programs.
    std::string command = "ZEPO_MAKE_PREFIX='" ZEPO_BIN_DIR "/make-prefix' '" ZEPO_SOURCE_DIR
                          "/scripts/make-demo-prefix' '" +
                          dir() + "' >/dev/null";
    if (std::system(command.c_str()) != 0) {
      throw std::runtime_error("scripts/make-demo-prefix failed");
    }
    options_.labels['d'] = "DATI";
  } else {
    writeSettings();
  }
  platform_ = std::make_unique<LinuxPlatform>(dir());
}

TestWorkstation::~TestWorkstation() {
  platform_.reset();
}

std::string TestWorkstation::hostPath(const std::string& windowsPath) {
  return platform_->hostPath(windowsPath);
}

void TestWorkstation::writeSettings() {
  std::ofstream out(dir() + "/platform.ini", std::ios::binary);
  out << "[System]\r\nPlatform=" << options_.platform << "\r\nVersion=" << options_.version
      << "\r\nWindowsDirectory=" << options_.windowsDirectory
      << "\r\nProgramDirectory=" << options_.programDirectory << "\r\n[Labels]\r\n";
  // Every letter is written, an empty label too, so that no default applies.
  for (const auto& [letter, label] : options_.labels) out << letter << "=" << label << "\r\n";
  if (!out.flush()) throw std::runtime_error("platform.ini could not be written");
}

void TestWorkstation::reopen() {
  platform_.reset();
  platform_ = std::make_unique<LinuxPlatform>(dir());
}

void TestWorkstation::addShare(const std::string& server, const std::string& share) {
  fs::create_directories(dir() + "/dosdevices/unc/" + server + "/" + share);
}

void TestWorkstation::addDrive(char letter, const std::string& label) {
  letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  std::string target = std::string("drive_") + letter;
  fs::create_directories(dir() + "/" + target);
  fs::path link = dir() + "/dosdevices/" + letter + ":";
  if (!fs::exists(fs::symlink_status(link))) fs::create_directory_symlink("../" + target, link);
  auto it = options_.labels.find(letter);
  std::string current = it == options_.labels.end() ? "" : it->second;
  if (current != label) {
    options_.labels[letter] = label;
    writeSettings();
    reopen();
  }
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
    fs::create_directories(hostPath(folder));
  }
  std::ofstream out(hostPath(windowsPath), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + windowsPath);
}

std::string TestWorkstation::readFile(const std::string& windowsPath) {
  std::ifstream in(hostPath(windowsPath), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + windowsPath);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TestWorkstation::exists(const std::string& windowsPath) {
  try {
    return fs::exists(hostPath(windowsPath));
  } catch (const RuntimeError&) {
    return false;
  }
}

void TestWorkstation::setHidden(const std::string& windowsPath, int dosAttrBits) {
  if (!writeDosAttributes(hostPath(windowsPath), dosAttrBits)) {
    throw std::runtime_error("no extended attributes for " + windowsPath);
  }
}

std::optional<std::string> TestWorkstation::registryString(const std::string& keyPath,
                                                           const std::string& valueName) {
  return RegistryStore(dir() + "/registry.reg").stringValue(keyPath, valueName);
}

bool TestWorkstation::registryKeyExists(const std::string& keyPath) {
  return RegistryStore(dir() + "/registry.reg").keyPath(keyPath).has_value();
}

}  // namespace zepo
