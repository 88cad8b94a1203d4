#include "tests/demo_workstation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/errors.h"

namespace fs = std::filesystem;

namespace zepo {

namespace {

std::string newTemporaryFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << "zepo-demo-" << std::hex << random() << random();
    fs::path dir = fs::temp_directory_path() / name.str();
    if (fs::create_directory(dir)) return dir.string();
  }
  throw std::runtime_error("no temporary folder could be made");
}

}  // namespace

DemoWorkstation::DemoWorkstation() : temp_(newTemporaryFolder()), dir_(temp_ + "/prefix") {
  // The script makes the prefix folder itself and refuses one that is not
  // empty; it finds make-prefix in this build's folder of programs.
  std::string command = "ZEPO_MAKE_PREFIX='" ZEPO_BIN_DIR "/make-prefix' '" ZEPO_SOURCE_DIR
                        "/scripts/make-demo-prefix' '" +
                        dir_ + "' >/dev/null";
  if (std::system(command.c_str()) != 0) {
    std::error_code ignored;
    fs::remove_all(temp_, ignored);
    throw std::runtime_error("scripts/make-demo-prefix failed");
  }
  platform_ = std::make_unique<LinuxPlatform>(dir_);
}

DemoWorkstation::~DemoWorkstation() {
  platform_.reset();
  std::error_code ignored;
  fs::remove_all(temp_, ignored);
}

std::string DemoWorkstation::readFile(const std::string& windowsPath) {
  std::ifstream in(hostPath(windowsPath), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + windowsPath);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void DemoWorkstation::writeFile(const std::string& windowsPath, const std::string& bytes) {
  std::ofstream out(hostPath(windowsPath), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + windowsPath);
}

bool DemoWorkstation::isFolder(const std::string& windowsPath) {
  try {
    return fs::is_directory(hostPath(windowsPath));
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace zepo
