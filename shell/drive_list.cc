#include "shell/drive_list.h"

#include <cctype>

#include "platform/errors.h"
#include "shell/settings.h"

namespace zepo {

std::string driveListText(const DriveInfo& drive) {
  std::string text{drive.letter, ':'};
  if (!drive.label.empty()) text += " [" + drive.label + "]";
  return text;
}

std::vector<std::string> driveListEntries(Platform& platform) {
  std::vector<std::string> entries;
  for (const DriveInfo& drive : platform.drives()) entries.push_back(driveListText(drive));
  return entries;
}

void setDrive(Installer& app, const std::string& value) {
  // The drive list takes the first character as the drive letter, whatever
  // follows it.
  if (!value.empty()) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
    for (const DriveInfo& drive : app.platform.drives()) {
      if (drive.letter == letter) {
        app.frmMain.drive = driveListText(drive);
        return;
      }
    }
  }
  throw RuntimeError(kErrDeviceUnavailable);
}

void setDesignTimeDrive(Installer& app) {
  // A program folder on a share ("\\SRV\zepo") has no drive letter: the
  // list opens on the Windows folder's drive, which every workstation has.
  const std::vector<DriveInfo> drives = app.platform.drives();
  for (const std::string& folder : {app.platform.appPath(), windowsFolder(app.platform)}) {
    if (folder.size() < 2 || folder[1] != ':') continue;
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(folder[0])));
    for (const DriveInfo& drive : drives) {
      if (drive.letter == letter) {
        app.frmMain.drive = driveListText(drive);
        return;
      }
    }
  }
  if (drives.empty()) throw RuntimeError(kErrDeviceUnavailable);
  app.frmMain.drive = driveListText(drives.front());
}

std::string currentDrive(const Installer& app) {
  return app.frmMain.drive.substr(0, 2);
}

}  // namespace zepo
