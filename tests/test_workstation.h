// TEMPORARY DEFINITIONS — DROP AT MERGE.
//
// A stand-in for the test workstation that the platform core provides
// (same interface), so that the tests of the branch "process-xcopy" build
// and run before the merge. Works with the stand-in LinuxPlatform of
// platform/linux_platform_pending_process.cc.
#pragma once

#include <memory>
#include <string>

#include "platform/linux_platform.h"

namespace zepo {

class TestWorkstation {
 public:
  TestWorkstation();
  ~TestWorkstation();
  TestWorkstation(const TestWorkstation&) = delete;
  TestWorkstation& operator=(const TestWorkstation&) = delete;

  LinuxPlatform& platform() { return *platform_; }
  const std::string& dir() const { return dir_; }
  void addShare(const std::string& server, const std::string& share);
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  std::string readFile(const std::string& windowsPath);
  bool exists(const std::string& windowsPath);
  void setHidden(const std::string& windowsPath, int bits);

 private:
  std::string dir_;
  std::unique_ptr<LinuxPlatform> platform_;
};

}  // namespace zepo
