#include "shell/drive_list.h"

#include <cctype>

#include "platform/errors.h"

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

std::string currentDrive(const Installer& app) {
  return app.frmMain.drive.substr(0, 2);
}

}  // namespace zepo
