// A fresh emulated Windows workstation in a temporary folder, for tests.
// In the Windows build it is the system itself (under Wine), with drives and
// shares made for the test in temporary folders (test_workstation_win32.cc).
//
//   TestWorkstation ws;                          // the default workstation
//   ws.addShare("SRV1", "zepo");                 // \\SRV1\zepo
//   ws.writeFile("\\\\SRV1\\zepo\\zepoinst.ini", "[HOST]\r\n");
//   ws.platform().listFirst("\\\\SRV1\\zepo\\*.*", 0);
//
// The demo workstation (Options::demo) is the one of scripts/make-demo-prefix,
// for tests that run the installer from start to end: drive C: as a fresh
// Windows workstation, drive D: labelled DATI, and the server's share
// \\ZEPOSRV\zepo with the settings file, the client INI template and the
// client's trees (Linux build only).
//
// The workstation's facts (platform, version, folders, drive labels) are
// given to the constructor; they are written to platform.ini before the
// platform is made, so the default workstation is laid out for them.
// Setting a drive label afterwards (addDrive with a label) rewrites
// platform.ini and makes a new platform: references taken from platform()
// before that are no longer valid.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"
#ifdef _WIN32
#include "platform/win32_platform.h"
#else
#include "platform/linux_platform.h"
#endif

namespace zepo {

#ifdef _WIN32
using WorkstationPlatform = Win32Platform;
#else
using WorkstationPlatform = LinuxPlatform;
#endif

class TestWorkstation {
 public:
  struct Options {
    int platform = 2;
    std::string version = "5.1";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string programDirectory = "C:\\clientZEPO";
    std::map<char, std::string> labels;  // lower-case letter -> label
    bool demo = false;                   // laid out by scripts/make-demo-prefix, with its own facts
  };

  TestWorkstation();  // the default workstation, its own platform.ini
  explicit TestWorkstation(const Options& options);
  // The demo workstation of scripts/make-demo-prefix.
  static Options demo() {
    Options options;
    options.demo = true;
    return options;
  }
  ~TestWorkstation();  // removes the folder
  TestWorkstation(const TestWorkstation&) = delete;
  TestWorkstation& operator=(const TestWorkstation&) = delete;

  WorkstationPlatform& platform() { return *platform_; }
  // The prefix folder (on Windows, the temporary folder of the test's
  // drives).
  const std::string& dir() const { return folder_.path; }
  // The Linux path of a Windows path (throws RuntimeError as a file
  // operation would); on Windows the path itself.
  std::string hostPath(const std::string& windowsPath);

  // Makes the share \\server\share (dosdevices/unc/<server>/<share>).
  void addShare(const std::string& server, const std::string& share);
  // Makes drive <letter>: (drive_<letter>, linked as dosdevices/<letter>:)
  // with the given volume label; a label other than the drive's current
  // one rewrites platform.ini and calls reopen().
  void addDrive(char letter, const std::string& label = "");
  // Replaces the platform by a new one on the same folder, which reads
  // platform.ini again; open files and listings of the old one are gone.
  void reopen();

  // Writes raw bytes to a file, making the folders on its way as needed.
  void writeFile(const std::string& windowsPath, const std::string& bytes);
  // The raw bytes of a file; throws std::runtime_error when it is missing.
  std::string readFile(const std::string& windowsPath);
  bool exists(const std::string& windowsPath);
  bool isFolder(const std::string& windowsPath) {
    try {
      return (platform().getAttributes(windowsPath) & kAttrDirectory) != 0;
    } catch (const RuntimeError&) {
      return false;
    }
  }
  // Sets the file's user.DOSATTRIB to the bits (2 hidden, 4 system).
  void setHidden(const std::string& windowsPath, int dosAttrBits);

  // The registry as the installer left it, keys named by a root name in
  // full and a path ("HKEY_USERS\.default\software"): a string value
  // (nullopt when the key or the value is missing), whether a key exists.
  std::optional<std::string> registryString(const std::string& keyPath,
                                            const std::string& valueName);
  bool registryKeyExists(const std::string& keyPath);

 private:
  void writeSettings();

  // Removes the folder, also when making the platform fails.
  struct Folder {
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    std::string path;
  };
  Folder folder_;
  Options options_;
  std::unique_ptr<WorkstationPlatform> platform_;
#ifdef _WIN32
  std::map<char, std::string> drives_;  // drives made for the test -> folder
  std::vector<std::string> shares_;     // share folders made for the test
#endif
};

}  // namespace zepo
