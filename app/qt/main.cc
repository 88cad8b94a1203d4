// clientZEPO: the installer of a client workstation of the ZEPO application,
// on the emulated Windows workstation of this machine's prefix.
#include <QApplication>
#include <cstdio>

#include "app/qt/controls.h"
#include "app/qt/message_box.h"
#include "app/qt/pictures.h"
#include "app/qt/qt_ui.h"
#include "app/qt/twips.h"
#include "cli/unattended.h"
#include "platform/linux_platform.h"
#include "shell/event.h"
#include "shell/installer.h"
#include "shell/main_window.h"

int main(int argc, char** argv) {
  // With options: the unattended run, without windows and without a display.
  if (argc > 1) {
    return zepo::cli::run(
        {argv, argv + argc},
        [] {
          return std::make_unique<zepo::LinuxPlatform>(zepo::LinuxPlatform::defaultPrefixDir());
        },
        stdout, stderr);
  }
  zepo::qt::Twips::useDevicePixels();
  QApplication application(argc, argv);
  // Also the title that a message box without one of its own shows.
  QApplication::setApplicationName("clientZEPO");
  QApplication::setWindowIcon(zepo::qt::appIcon());
  // Only the end of the installer ends the application.
  QApplication::setQuitOnLastWindowClosed(false);
  zepo::qt::installFontSubstitutes();

  auto start = [] {
    zepo::LinuxPlatform platform(zepo::LinuxPlatform::defaultPrefixDir());
    zepo::qt::QtUi ui(zepo::qt::Twips::ofScreen());
    zepo::Installer app(platform, ui);
    ui.attach(app);

    // The forms runtime loads the start-up window: its load procedure runs
    // before it is first shown, and may end the installer there and then.
    if (!ui.runEvent(zepo::frmMain::Form_Load)) return ui.exitCode();
    ui.show(zepo::Form::kMain);
    return QApplication::exec();
  };
  // A workstation that cannot be opened, or anything else that fails
  // before the windows run: say why, in a box and on standard error for one
  // who started it from a terminal, and do not start.
  return zepo::runStart(start, [](const std::string& text) {
    std::fprintf(stderr, "clientzepo: %s\n", text.c_str());
    zepo::qt::MessageBox box(text, zepo::kMbCritical, "clientZEPO");
    box.ask();
  });
}
