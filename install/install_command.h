// The install command of the main window.
#pragma once

#include <string>

#include "shell/installer.h"

namespace zepo::frmMain {

// "Installa": builds the client workstation from the main window's fields.
void cmdInstalla_Click(Installer& app);
// "Installa Client": the same as the button.
void mnuInstalla_Click(Installer& app);
// Rewrites the drive "C:" of the paths stored in a shortcut file into the
// given drive letter, byte for byte.
void CambiaDrive(Installer& app, const std::string& File, const std::string& Drive);

}  // namespace zepo::frmMain
