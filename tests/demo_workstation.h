// The demo workstation of scripts/make-demo-prefix in a temporary folder, for
// tests that run the installer from start to end: drive C: as a fresh
// Windows workstation, drive D: labelled DATI, and the server's share
// \\ZEPOSRV\zepo with the settings file, the client INI template and the
// client's trees.
//
//   DemoWorkstation demo;
//   demo.platform().listFirst("\\\\ZEPOSRV\\zepo\\zepoinst.ini", 0);
//   demo.readFile("d:\\zepo\\zepo.ini");
#pragma once

#include <memory>
#include <string>

#include "platform/linux_platform.h"

namespace zepo {

class DemoWorkstation {
 public:
  // Runs the script into a new temporary folder; throws std::runtime_error
  // when it fails.
  DemoWorkstation();
  ~DemoWorkstation();  // removes the folder
  DemoWorkstation(const DemoWorkstation&) = delete;
  DemoWorkstation& operator=(const DemoWorkstation&) = delete;

  LinuxPlatform& platform() { return *platform_; }
  // The prefix folder.
  const std::string& dir() const { return dir_; }
  std::string hostPath(const std::string& windowsPath) { return platform_->hostPath(windowsPath); }

  // The raw bytes of a file; throws std::runtime_error when it is missing.
  std::string readFile(const std::string& windowsPath);
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  bool isFolder(const std::string& windowsPath);

 private:
  std::string temp_;  // the temporary folder that holds the prefix
  std::string dir_;
  std::unique_ptr<LinuxPlatform> platform_;
};

}  // namespace zepo
