// The check run of the main window.
#pragma once

#include "shell/installer.h"

namespace zepo::frmMain {

// "Verifica": checks the installation and shows the check window.
void cmdCheck_Click(Installer& app);
// "Verifica installazione": the same as the button.
void mnuVer_Click(Installer& app);

}  // namespace zepo::frmMain
