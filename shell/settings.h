// Reads of private-profile files as the installer makes them: a buffer of
// 255 blanks, size 255, default "", and the first `count` characters.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo {

// The settings file on the server's share: "\\" + txtServer +
// "\zepo\zepoinst.ini", rebuilt from the field at every use.
std::string settingsPath(const Installer& app);

// The value of section/key in `fileName`, or "" when the read returns 0.
std::string readProfileString(Platform& platform, const std::string& section,
                              const std::string& key, const std::string& fileName);

// The Windows folder: GetWindowsDirectoryA into a buffer of 255 blanks, cut
// to the returned length.
std::string windowsFolder(Platform& platform);

}  // namespace zepo
