// The state of one running installer: the fields of the main window, the
// check result shown by the check and report windows, and Module1's public
// CartellaWindows. The logic's procedures take it as their first argument;
// the windows show its records.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "shell/ui.h"

namespace zepo {

// The main window's fields as the logic reads and writes them.
struct FrmMain {
  std::string txtServer;
  std::string txtIP = "255.255.255.255";
  std::string txtPath;
  std::string txtPosto;
  // dlbDrive.Drive: the current drive as the drive list shows it ("c:",
  // "d: [DATI]"). Set it with setDrive (shell/drive_list.h).
  std::string drive;
  std::string lblAttendiCaption;
  bool lblAttendiVisible = false;
};

// A state box of the check window: "OK" or "ERR", and whether it has turned
// bold red. Setting "OK" changes only the text.
struct StateBox {
  std::string text;
  bool emphasised = false;  // bold, colour 255
};

// The check result, as the check window frmVer and the report window
// frmReport show it.
struct EsitoVerifica {
  static constexpr int kRows = 5;
  std::array<std::string, kRows> txtDir{"Text1", "Text1", "Text1", "Text1", "Text1"};
  std::array<StateBox, kRows> txtCheck{StateBox{"Text2"}, StateBox{"Text2"}, StateBox{"Text2"},
                                       StateBox{"Text2"}, StateBox{"Text2"}};
  StateBox txtSistema;
  bool cmdRiparaVisible = false;
  std::string lblTotale;
  bool cmdReportEnabled = true;
  // txtReport of frmReport.
  std::string txtReport;
};

// The about window's texts that its load procedure sets.
struct FrmAbout {
  std::string caption = "Informazioni su MiaApplicazione";
  std::string lblTitle = "Titolo applicazione";
  std::string lblVersion = "Versione";
};

class Installer {
 public:
  Installer(Platform& platform, Ui& ui) : platform(platform), ui(ui) {}
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  Platform& platform;
  Ui& ui;

  FrmMain frmMain;
  // Module1.CartellaWindows: the Windows folder, blank-padded to 255.
  std::string CartellaWindows = std::string(255, ' ');

  // frmMain's form-level variables of the check run.
  std::int16_t RigaCorrente = 0;
  bool ErroriPresenti = false;

  // The check and report windows' contents. frmVerLoaded is false until the
  // check window is first created and again after its close box destroyed
  // it; a new check window starts from a fresh record.
  EsitoVerifica esito;
  bool frmVerLoaded = false;

  FrmAbout frmAbout;
  bool frmAboutLoaded = false;
};

}  // namespace zepo
