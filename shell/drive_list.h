// The drive list dlbDrive: the workstation's drives as the list shows them
// ("c:", "d: [DATI]").
#pragma once

#include <string>
#include <vector>

#include "shell/installer.h"

namespace zepo {

// "d:" or, with a volume label, "d: [DATI]".
std::string driveListText(const DriveInfo& drive);
// Every drive of the workstation as the list shows it, in letter order.
std::vector<std::string> driveListEntries(Platform& platform);
// Sets the current drive from a drive letter with or without its colon, or
// from an entry as the list shows it; a drive the workstation does not have
// raises error 68.
void setDrive(Installer& app, const std::string& value);
// Sets the drive that the list shows when its window is made: the drive of
// the installer's own folder, or of the Windows folder when the installer's
// folder is on a share.
void setDesignTimeDrive(Installer& app);
// The first two characters of the current drive: its letter and colon.
std::string currentDrive(const Installer& app);

}  // namespace zepo
