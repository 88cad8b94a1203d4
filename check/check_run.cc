#include "check/check_run.h"

#include <string>

#include "check/check_result.h"
#include "check/folder_checks.h"
#include "check/system_checks.h"
#include "platform/windows_layout.h"
#include "shell/drive_list.h"
#include "shell/settings.h"

namespace zepo::frmMain {

namespace {

// The check window is made on its first use and after its close box has
// destroyed it; otherwise the hidden one is shown again as it was left.
void showCheckWindow(Installer& app) {
  if (!app.frmVerLoaded) {
    resetCheckWindow(app.esito);
    app.frmVerLoaded = true;
  }
  app.ui.show(Form::kVer);
}

}  // namespace

void cmdCheck_Click(Installer& app) {
  app.RigaCorrente = 0;
  app.ErroriPresenti = false;

  const std::string root = currentDrive(app) + "\\zepo";
  const std::string clientFolder = root;
  const std::string progFolder = root + "\\prog";
  const std::string tempFolder = root + "\\temp";
  const std::string txtFolder = root + "\\txt";
  const std::string wexaFolder = root + "\\wexa36";

  showCheckWindow(app);
  app.esito.txtReport.clear();

  // The server's paths are built when each comparison runs, from the fields
  // as they are then.
  VerificaCartelle(app, clientFolder);
  if (app.esito.txtCheck[0].text != "ERR") {
    VerificaFile(app, "\\\\" + app.frmMain.txtServer + "\\zepo\\" + app.frmMain.txtPath,
                 clientFolder);
  }
  VerificaCartelle(app, progFolder);
  if (app.esito.txtCheck[1].text != "ERR") {
    VerificaFile(app, "\\\\" + app.frmMain.txtServer + "\\zepo\\prog", progFolder);
  }
  VerificaCartelle(app, tempFolder);
  VerificaCartelle(app, txtFolder);
  VerificaCartelle(app, wexaFolder);
  if (app.esito.txtCheck[4].text != "ERR") {
    VerificaFile(app, "\\\\" + app.frmMain.txtServer + "\\zepo\\wexa36", wexaFolder);
  }

  const std::string windows = windowsFolder(app.platform);
  VerificaHostsServizi(app, hostsFolder(windows, app.platform.osPlatform()), windows);

  if (app.ErroriPresenti) {
    app.esito.lblTotale = "L'installazione presenta degli errori";
    app.esito.cmdReportEnabled = true;
  } else {
    app.esito.lblTotale = "Nessun errore";
    app.esito.cmdReportEnabled = false;
  }

  app.ui.refresh(Form::kVer);
  app.ui.refresh(Form::kReport);
}

void mnuVer_Click(Installer& app) {
  cmdCheck_Click(app);
}

}  // namespace zepo::frmMain
