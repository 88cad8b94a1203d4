#include "install/client_setup.h"

#include <cmath>

#include "install/command_runner.h"
#include "install/dbs_settings.h"
#include "install/hosts_services.h"
#include "platform/windows_layout.h"
#include "shell/drive_list.h"
#include "shell/settings.h"
#include "shell/text.h"

namespace zepo {

namespace {

// The server's share, rebuilt from the field at every use.
std::string share(const Installer& app) {
  return "\\\\" + app.frmMain.txtServer;
}

std::string clientIni(const Installer& app) {
  return currentDrive(app) + "\\zepo\\zepo.ini";
}

std::string setAsideIni(const Installer& app) {
  return currentDrive(app) + "\\zepo\\zepoini.old";
}

void makeIfMissing(Platform& platform, const std::string& folder) {
  if (platform.listFirst(folder, kAttrDirectory).empty()) platform.makeFolder(folder);
}

// The client font's size for the screen's width in pixels.
int fontSize(Ui& ui) {
  // Worked out in floating point, as the runtime divides, and rounded half
  // to even; a width that is neither 640 nor 800 gives the largest size.
  double pixels = std::nearbyint(ui.screenWidthTwips() / ui.twipsPerPixelX());
  if (pixels == 640) return 16;
  if (pixels == 800) return 21;
  return 31;
}

}  // namespace

void AggiornaClient(Installer& app, const std::string& Radice, bool CopiaFile) {
  Platform& platform = app.platform;

  const std::string CartellaProg = Radice + "\\prog";
  const std::string CartellaTemp = Radice + "\\temp";
  const std::string CartellaTxt = Radice + "\\txt";
  const std::string CartellaWexa = Radice + "\\wexa36";

  const std::string CartellaWin = windowsFolder(platform);
  const int piattaforma = platform.osPlatform();

  const std::string CartellaHosts = hostsFolder(CartellaWin, piattaforma);
  AggiornaHostsServizi(app, CartellaHosts);
  AggiornaSystemIni(app, CartellaWin);

  makeIfMissing(platform, Radice);
  platform.copyFile(share(app) + "\\zepo\\client\\zepo.ini", clientIni(app));

  platform.WritePrivateProfileStringA("Abal~FileMgt", "FileMgt32",
                                      currentDrive(app) + "\\Zepo\\CRIRED36\\cred32.dll",
                                      clientIni(app));
  platform.WritePrivateProfileStringA("Abal~FileMgt", "FileRaw32",
                                      currentDrive(app) + "\\Zepo\\wexa36\\FLFILE32.dll",
                                      clientIni(app));
  platform.WritePrivateProfileStringA("Abal~Context", "Keyboard",
                                      currentDrive(app) + "\\Zepo\\wexa36\\IT102AT.CLV",
                                      clientIni(app));
  platform.WritePrivateProfileStringA("Abal~Environ", "ATFIND", share(app) + "\\ZEPO\\DATI\\",
                                      clientIni(app));
  platform.WritePrivateProfileStringA("Abal~Environ", "ATIPSERVER", share(app) + "\\ZEPO\\PROG\\",
                                      clientIni(app));
  platform.WritePrivateProfileStringA("Abal~Environ", "ATDIR", currentDrive(app) + "\\ZEPO\\",
                                      clientIni(app));

  if (!CopiaFile) return;

  int answer =
      app.ui.msgBox("Aggiornamento file di sistema completato.\r\nProcedo con la copia dei file?",
                    kMbOkCancelQuestion, "Installazione Client ZEPO");
  if (answer == kIdOk) {
    // The copies block the thread: the wait text has to be on screen first.
    app.frmMain.lblAttendiVisible = true;
    app.ui.refresh(Form::kMain);

    // The INI just written is set aside so that the client data folder's own
    // zepo.ini, copied over it, does not replace it.
    platform.renameFile(clientIni(app), setAsideIni(app));
    CopiaCartella(platform, share(app) + "\\zepo\\" + app.frmMain.txtPath, Radice);

    makeIfMissing(platform, CartellaProg);
    CopiaCartella(platform, share(app) + "\\zepo\\prog", CartellaProg);
    makeIfMissing(platform, CartellaTemp);
    makeIfMissing(platform, CartellaTxt);
    makeIfMissing(platform, CartellaWexa);
    CopiaCartella(platform, share(app) + "\\zepo\\wexa36", CartellaWexa);

    platform.deleteFile(clientIni(app));
    platform.renameFile(setAsideIni(app), clientIni(app));
  }

  platform.WritePrivateProfileStringA("Abal~Context", "Police",
                                      "WinPC," + std::to_string(fontSize(app.ui)), clientIni(app));

  // Each workstation number n owns the process numbers 10n to 10n + 9.
  double posto = numericValue(app.frmMain.txtPosto);
  platform.WritePrivateProfileStringA("Abal~Context", "ProcessOffset",
                                      numberText(doubleResult(posto * 10)), clientIni(app));
  platform.WritePrivateProfileStringA("Abal~Context", "ProcessLimit",
                                      numberText(doubleResult(posto * 10 + 9)), clientIni(app));
}

}  // namespace zepo
