// The check window frmVer and the report window frmReport.
#pragma once

#include "shell/installer.h"

namespace zepo::frmVer {

// "Report Errori": shows the report window.
void cmdReport_Click(Installer& app);
// "Ripara": runs the setup routine without its copy phase, then hides the
// repair button and the window.
void cmdRipara_Click(Installer& app);
// "OK": hides the repair button and the window.
void cmdTorna_Click(Installer& app);
// The window's close box destroyed it: the next check run starts from a new
// window in its creation state.
void Form_Unload(Installer& app);

}  // namespace zepo::frmVer

namespace zepo::frmReport {

// "OK": hides the report window; its text stays.
void cmdOK_Click(Installer& app);

}  // namespace zepo::frmReport
