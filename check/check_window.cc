#include "check/check_window.h"

#include <string>

#include "check/check_result.h"
#include "install/client_setup.h"
#include "shell/drive_list.h"

namespace zepo::frmVer {

namespace {

// The repair offer is withdrawn before the window goes, so that the window
// shown again by the next run does not offer it unless that run finds a
// fault.
void withdrawRepairAndHide(Installer& app) {
  app.esito.cmdRiparaVisible = false;
  app.ui.refresh(Form::kVer);
  app.ui.hide(Form::kVer);
}

}  // namespace

void cmdReport_Click(Installer& app) {
  app.ui.show(Form::kReport);
}

void cmdRipara_Click(Installer& app) {
  const std::string root = currentDrive(app) + "\\zepo";
  // The setup routine reports its own failures; the window goes whatever
  // the outcome, and no check runs afterwards.
  AggiornaClient(app, root, false);
  withdrawRepairAndHide(app);
}

void cmdTorna_Click(Installer& app) {
  withdrawRepairAndHide(app);
}

void Form_Unload(Installer& app) {
  app.frmVerLoaded = false;
  resetCheckWindow(app.esito);
}

}  // namespace zepo::frmVer

namespace zepo::frmReport {

void cmdOK_Click(Installer& app) {
  app.ui.hide(Form::kReport);
}

}  // namespace zepo::frmReport
