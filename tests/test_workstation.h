// A fresh emulated workstation for tests: a temporary prefix holding the
// default workstation, removed again when the object goes.
#pragma once

#include <string>

#include "platform/linux_platform.h"

namespace zepo {

class TestWorkstation {
 public:
  TestWorkstation();
  ~TestWorkstation();
  TestWorkstation(const TestWorkstation&) = delete;
  TestWorkstation& operator=(const TestWorkstation&) = delete;

  LinuxPlatform& platform();
  // The prefix folder.
  const std::string& dir() const;

  // Makes the network share \\server\share.
  void addShare(const std::string& server, const std::string& share);
  // Writes the bytes into the file at the Windows path, making its folders.
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  std::string readFile(const std::string& windowsPath);
  bool exists(const std::string& windowsPath);
  // Sets the hidden (2) and system (4) bits of a file or folder.
  void setHidden(const std::string& windowsPath, int bits);
};

}  // namespace zepo
