// clientZEPO: the installer of a client workstation of the ZEPO application,
// on the emulated Windows workstation of this machine's prefix.
#include <QApplication>
#include <memory>
#include <stdexcept>

#include "app/controls.h"
#include "app/message_box.h"
#include "app/pictures.h"
#include "app/qt_ui.h"
#include "app/twips.h"
#include "platform/linux_platform.h"
#include "shell/installer.h"
#include "shell/main_window.h"

int main(int argc, char** argv) {
  zepo::qt::Twips::useDevicePixels();
  QApplication application(argc, argv);
  // Also the title that a message box without one of its own shows.
  QApplication::setApplicationName("clientZEPO");
  QApplication::setWindowIcon(zepo::qt::appIcon());
  // Only the end of the installer ends the application.
  QApplication::setQuitOnLastWindowClosed(false);
  zepo::qt::installFontSubstitutes();

  std::unique_ptr<zepo::LinuxPlatform> platform;
  try {
    platform = std::make_unique<zepo::LinuxPlatform>(zepo::LinuxPlatform::defaultPrefixDir());
  } catch (const std::runtime_error& error) {
    // A workstation that cannot be read: say where, and do not start.
    zepo::qt::MessageBox box(error.what(), zepo::kMbCritical, "clientZEPO");
    box.ask();
    return 2;
  }

  zepo::qt::QtUi ui(zepo::qt::Twips::ofScreen());
  zepo::Installer app(*platform, ui);
  ui.attach(app);

  // The forms runtime loads the start-up window: its load procedure runs
  // before it is first shown, and may end the installer there and then.
  if (!ui.runEvent(zepo::frmMain::Form_Load)) return ui.exitCode();
  ui.show(zepo::Form::kMain);
  return QApplication::exec();
}
