#include "install/install_command.h"

#include <cstdint>
#include <limits>

#include "install/client_setup.h"
#include "platform/windows_layout.h"
#include "platform/windows_names.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/text.h"

namespace zepo::frmMain {

namespace {

constexpr int kShortcutFile = 1;
// The most the shortcut's length, held in a 16-bit signed integer, can be.
constexpr std::int64_t kMaxShortcutLength = std::numeric_limits<std::int16_t>::max();
constexpr int kSearchSteps = 10;

// Exactly `kSearchSteps` searches for `pattern`, each from one past the last
// hit; the first byte of every hit becomes `letter`. A miss leaves the
// search where it was, so later steps miss too.
void replaceDrive(std::string& text, const std::string& pattern, char letter) {
  std::size_t start = 0;
  for (int step = 0; step < kSearchSteps; ++step) {
    std::size_t hit = text.find(pattern, start);
    if (hit == std::string::npos) continue;
    text[hit] = letter;
    start = hit + 1;
  }
}

}  // namespace

void cmdInstalla_Click(Installer& app) {
  Platform& platform = app.platform;

  if (app.frmMain.txtPosto.empty()) {
    app.ui.msgBox("Immettere il numero del posto", kMbInformation, kClientTitle);
    return;
  }
  // A name cleared in the window would name every line of hosts (each holds
  // the empty text) and a share of no server: nothing is done without one.
  if (app.frmMain.txtServer.empty()) {
    app.ui.msgBox("Immettere il nome del server", kMbInformation, kClientTitle);
    return;
  }

  // The label stays hidden: the setup routine shows it before its copies.
  app.frmMain.lblAttendiCaption = "Installazione in corso ...\r\nAttendere.";
  app.ui.refresh(Form::kMain);

  const std::string Radice = currentDrive(app) + "\\zepo";
  if (!platform.listFirst(Radice, kAttrDirectory).empty()) {
    int answer = app.ui.msgBox(
        "E' stata rilevata una installazione precedente.\rContinuo (i file verranno sovrascritti) "
        "?",
        kMbOkCancelQuestion, kInstallTitle);
    if (answer != kIdOk) return;
  }
  int answer = app.ui.msgBox("Sorgente dati   " + app.frmMain.txtServer + "\\zepo\\" +
                                 app.frmMain.txtPath + "\rCreo il client su " + currentDrive(app),
                             kMbOkCancelQuestion, kInstallTitle);
  if (answer != kIdOk) return;

  AggiornaClient(app, Radice, true);

  const std::string CartellaWin = windowsFolder(platform);
  const std::string DriveWin = leftChars(CartellaWin, 2);
  const int piattaforma = platform.osPlatform();
  const std::int16_t versione = wholeVersion(platform.osVersion());

  // Each literal keeps its letter case, the lower-case "desktop" of the
  // configuration shortcut's NT paths included.
  std::string mainDestination;
  std::string configDestination;
  if (piattaforma != 2) {
    mainDestination = CartellaWin + "\\Desktop\\Zepo NT.lnk";
    configDestination = CartellaWin + "\\Desktop\\configura ZEPO.lnk";
  } else if (versione == 5) {
    mainDestination = DriveWin + "\\Documents and Settings\\All Users\\Desktop\\Zepo NT.lnk";
    configDestination =
        DriveWin + "\\Documents and Settings\\All Users\\desktop\\configura ZEPO.lnk";
  } else {
    mainDestination = CartellaWin + "\\Profiles\\All Users\\Desktop\\Zepo NT.lnk";
    configDestination = CartellaWin + "\\Profiles\\All Users\\desktop\\configura ZEPO.lnk";
  }

  // The main shortcut's stored paths name drive C:; fit them to the chosen
  // drive before the copy, so the desktop gets the fitted one.
  if (upperName(currentDrive(app)) != "C:") {
    CambiaDrive(app, currentDrive(app) + "\\zepo\\zepont~1.lnk", leftChars(app.frmMain.drive, 1));
  }
  platform.copyFile(Radice + "\\zepont~1.lnk", mainDestination);
  platform.copyFile(Radice + "\\config~1.lnk", configDestination);

  platform.AddFontResourceA(Radice + "\\wexa36\\winpcf.fon");

  app.frmMain.lblAttendiVisible = false;
  app.ui.refresh(Form::kMain);
  app.ui.msgBox("Installazione completata.", kMbInformation, kInstallTitle);
}

void mnuInstalla_Click(Installer& app) {
  cmdInstalla_Click(app);
}

void CambiaDrive(Installer& app, const std::string& File, const std::string& Drive) {
  Platform& platform = app.platform;

  // Opening for binary access would make a missing file; asking for its
  // attributes first lets a missing shortcut fail as the copy after it would,
  // without leaving an empty file behind.
  platform.getAttributes(File);

  platform.openBinary(kShortcutFile, File);
  std::int64_t length = platform.fileLength(kShortcutFile);
  if (length > kMaxShortcutLength) {
    // The length does not fit the 16-bit count the drive change works with:
    // the file is left exactly as it is rather than cut or half-changed.
    platform.closeFile(kShortcutFile);
    return;
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(length));
  for (std::int64_t i = 0; i < length; ++i) {
    bytes += static_cast<char>(platform.readByte(kShortcutFile));
  }
  platform.closeFile(kShortcutFile);

  // An empty drive text changes no byte, as a one-character replacement by
  // nothing would.
  if (!Drive.empty()) {
    // The 16-bit form first, so its hits are gone before the 8-bit pass.
    replaceDrive(bytes, std::string("C\0:", 3), Drive[0]);
    replaceDrive(bytes, "C:", Drive[0]);
  }

  platform.openBinary(kShortcutFile, File);
  for (char c : bytes) platform.writeByte(kShortcutFile, static_cast<std::uint8_t>(c));
  platform.closeFile(kShortcutFile);
}

}  // namespace zepo::frmMain
