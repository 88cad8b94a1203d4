// The prefix folder that holds the emulated Windows workstation: its
// drives and shares (dosdevices/), its facts (platform.ini), its registry
// (registry.reg) and its loaded fonts (fonts.txt).
#pragma once

#include <map>
#include <string>

#include "platform/linux_dos_attributes.h"
#include "platform/linux_paths.h"

namespace zepo {

class LinuxPrefix {
 public:
  // Opens the prefix folder `dir` (made absolute). A folder that is missing,
  // empty, or holds nothing but a platform.ini is new: the default
  // workstation is laid out in it for the platform and version that
  // platform.ini names (its defaults when there is none), and platform.ini
  // is written only when missing. A folder with anything else in it is an
  // existing workstation and is used as it stands. Throws
  // std::runtime_error, naming the file and the line, when platform.ini is
  // malformed; nothing is written then.
  explicit LinuxPrefix(const std::string& dir);

  const std::string& dir() const { return dir_; }
  // Sets ZEPO_PREFIX to this prefix, so that the programs started from
  // here (xcopy) see the same workstation.
  void exportToChildren() const;
  // The Linux path of a file of the prefix itself ("registry.reg").
  std::string file(const std::string& name) const { return dir_ + "/" + name; }
  PathResolver& paths() { return paths_; }
  DosAttributeCache& dosAttributes() { return dosAttributes_; }

  // The facts of platform.ini.
  int platform() const { return platform_; }
  float version() const { return version_; }
  const std::string& windowsDirectory() const { return windowsDirectory_; }
  const std::string& programDirectory() const { return programDirectory_; }
  // Makes the program folder, and every folder on its way, when it is
  // missing and its drive or share is there (a Wine prefix has no
  // C:\clientZEPO): the installer writes its scratch files in it. Tried
  // once; what cannot be made stays missing.
  void makeProgramDirectory();
  // The volume label of a drive (lower-case letter); "" for none.
  std::string label(char letter) const;

  // Where the workstation keeps hosts and services: the Windows folder's
  // system32\drivers\etc on the NT family, the Windows folder itself
  // otherwise.
  std::string hostsFolder() const;
  // The desktop folder of all users that the install command copies its
  // shortcuts to, for the platform and the version rounded to a whole
  // number (halves to even): "<drive>\Documents and Settings\All
  // Users\Desktop" on the NT family with version 5, "<Windows
  // folder>\Profiles\All Users\Desktop" on the NT family otherwise,
  // "<Windows folder>\Desktop" on the 9x family.
  std::string desktopFolder() const;

 private:
  void readSettings(const std::string& path);
  void layOut();
  // Makes the Windows folder `windowsPath` and every folder on its way,
  // with the drive or share it is on; returns its Linux path.
  std::string makeFolders(const std::string& windowsPath);
  void writeText(const std::string& windowsPath, const std::string& text);

  std::string dir_;
  PathResolver paths_;
  DosAttributeCache dosAttributes_;
  int platform_ = 2;
  float version_ = 5.1f;
  std::string windowsDirectory_ = "C:\\WINDOWS";
  std::string programDirectory_ = "C:\\clientZEPO";
  std::map<char, std::string> labels_;  // only those that [Labels] names
  bool programDirectoryMade_ = false;
};

}  // namespace zepo
