// Temporary definitions of the install and check commands, until their own
// implementations are part of the build: each says that it is not available
// yet. Delete this file when they are.
#include "check/check_run.h"
#include "check/check_window.h"

namespace zepo {

namespace {

void notAvailable(Installer& app) {
  app.ui.msgBox("non ancora disponibile", kMbInformation, "Client ZEPO");
}

}  // namespace

void frmMain::cmdCheck_Click(Installer& app) {
  notAvailable(app);
}
void frmMain::mnuVer_Click(Installer& app) {
  notAvailable(app);
}
void frmVer::cmdReport_Click(Installer& app) {
  notAvailable(app);
}
void frmVer::cmdRipara_Click(Installer& app) {
  notAvailable(app);
}
void frmVer::cmdTorna_Click(Installer& app) {
  notAvailable(app);
}
void frmVer::Form_Unload(Installer& app) {
  notAvailable(app);
}
void frmReport::cmdOK_Click(Installer& app) {
  notAvailable(app);
}

}  // namespace zepo
