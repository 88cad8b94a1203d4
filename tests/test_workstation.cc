// TEMPORARY DEFINITIONS — DROP AT MERGE. See tests/test_workstation.h.
#include "tests/test_workstation.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace zepo {

void pendingSetDosAttributes(const std::string& hostPath, int bits);

TestWorkstation::TestWorkstation() {
  std::random_device random;
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / ("zepo-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      dir_ = candidate.string();
      break;
    }
  }
  platform_ = std::make_unique<LinuxPlatform>(dir_);
}

TestWorkstation::~TestWorkstation() {
  platform_.reset();
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void TestWorkstation::addShare(const std::string& server, const std::string& share) {
  fs::create_directories(fs::path(dir_) / "dosdevices" / "unc" / server / share);
}

void TestWorkstation::writeFile(const std::string& windowsPath, const std::string& bytes) {
  std::ofstream out(platform_->hostPath(windowsPath), std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + windowsPath);
}

std::string TestWorkstation::readFile(const std::string& windowsPath) {
  std::ifstream in(platform_->hostPath(windowsPath), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + windowsPath);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TestWorkstation::exists(const std::string& windowsPath) {
  std::error_code ec;
  return fs::exists(platform_->hostPath(windowsPath), ec);
}

void TestWorkstation::setHidden(const std::string& windowsPath, int bits) {
  pendingSetDosAttributes(platform_->hostPath(windowsPath), bits);
}

}  // namespace zepo
