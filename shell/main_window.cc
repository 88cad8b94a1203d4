#include "shell/main_window.h"

#include "platform/errors.h"
#include "shell/drive_list.h"
#include "shell/settings.h"

namespace zepo::frmMain {

namespace {

// The trim of the runtime: blanks only, on both ends.
std::string trimBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void Form_Load(Installer& app) {
  setDesignTimeDrive(app);

  std::string folder = windowsFolder(app.platform);
  app.CartellaWindows = folder;
  app.CartellaWindows.resize(255, ' ');

  if (app.frmMain.txtServer.empty()) mnuServer_Click(app);

  std::string settings = settingsPath(app);
  if (app.platform.listFirst(settings, kAttrNormal).empty()) {
    app.ui.msgBox("Il file ZEPOINST.INI non esiste", kMbCritical, kInstallTitle);
    endInstaller();
  }

  // A key without a value leaves its field as designed.
  std::string ip = readProfileString(app.platform, "HOST", "HostIP", settingsPath(app));
  if (!ip.empty()) app.frmMain.txtIP = ip;
  std::string drive = readProfileString(app.platform, "PATH", "DefaultDrive", settingsPath(app));
  if (!drive.empty()) setDrive(app, drive);
  std::string path = readProfileString(app.platform, "PATH", "InstallPath", settingsPath(app));
  if (!path.empty()) app.frmMain.txtPath = path;
  app.ui.refresh(Form::kMain);
}

void mnuServer_Click(Installer& app) {
  std::string answer = app.ui.inputBox("Inserire il nome del server", kClientTitle);
  app.frmMain.txtServer = answer;
  app.ui.refresh(Form::kMain);
  if (answer.empty()) {
    app.ui.msgBox("Se non si specifica il nome del server\ril programma non può essere eseguito.",
                  kMbInformation, kClientTitle);
    endInstaller();
  }
}

void cmdEsci_Click(Installer&) {
  endInstaller();
}

void mnuEsci_Click(Installer& app) {
  cmdEsci_Click(app);
}

void mnuSommario_Click(Installer&) {}

void mnuInfo_Click(Installer& app) {
  if (!app.frmAboutLoaded) {
    frmAbout::Form_Load(app);
    app.frmAboutLoaded = true;
  }
  app.ui.show(Form::kAbout);
}

void Form_Unload(Installer& app) {
  std::string testFile = trimBlanks(app.CartellaWindows) + "\\TEST.TXT";
  if (!app.platform.listFirst(testFile, kAttrNormal).empty()) app.platform.deleteFile(testFile);
  endInstaller();
}

}  // namespace zepo::frmMain

namespace zepo::frmAbout {

void Form_Load(Installer& app) {
  AppVersion version = app.platform.appVersion();
  app.frmAbout.caption = "Informazioni su " + app.platform.appTitle();
  app.frmAbout.lblVersion = "Versione " + std::to_string(version.major) + "." +
                            std::to_string(version.minor) + "." + std::to_string(version.revision);
  app.frmAbout.lblTitle = app.platform.appTitle();
}

void cmdOK_Click(Installer& app) {
  app.ui.unload(Form::kAbout);
  app.frmAboutLoaded = false;
  app.frmAbout = FrmAbout{};
}

}  // namespace zepo::frmAbout
