// The main window frmMain: start-up, the server-name prompt, the end of the
// installer and the clean-up on closing. The install and check commands are
// in install/install_command.h and check/check_run.h.
#pragma once

#include "shell/installer.h"

namespace zepo::frmMain {

inline constexpr const char* kCaption = "MORVICAN - Installazione Client ZEPO";
inline constexpr const char* kInstallTitle = "Installazione Client ZEPO";
inline constexpr const char* kClientTitle = "Client ZEPO";

// Runs before the window is first shown: the Windows folder, the server
// name, the settings file on the share and the fields filled from it. May
// end the installer (InstallerEnd).
void Form_Load(Installer& app);
// The server-name prompt; an empty answer ends the installer.
void mnuServer_Click(Installer& app);
// The end of the installer at once, without the clean-up.
[[noreturn]] void cmdEsci_Click(Installer& app);
[[noreturn]] void mnuEsci_Click(Installer& app);
// "Sommario": nothing.
void mnuSommario_Click(Installer& app);
// Shows the about window, loading it on first use.
void mnuInfo_Click(Installer& app);
// The clean-up when the window is closed: deletes TEST.TXT from the Windows
// folder, then ends the installer.
[[noreturn]] void Form_Unload(Installer& app);

}  // namespace zepo::frmMain

namespace zepo::frmAbout {

// Sets the caption, the title and the version from the application data.
void Form_Load(Installer& app);
// Unloads the window.
void cmdOK_Click(Installer& app);

}  // namespace zepo::frmAbout
