// clientZEPO on Windows: the installer of a client workstation of the ZEPO
// application, with native windows.
#include <windows.h>

#include "app/win32/controls.h"
#include "app/win32/ui.h"
#include "cli/unattended.h"
#include "platform/win32_platform.h"
#include "shell/event.h"
#include "shell/installer.h"
#include "shell/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // With options: the unattended run, without windows.
  if (std::vector<std::string> args = zepo::cli::windowsCommandLine(); args.size() > 1) {
    return zepo::cli::run(
        args, [] { return std::make_unique<zepo::Win32Platform>(); }, stdout, stderr);
  }
  auto start = [] {
    zepo::Win32Platform platform;
    zepo::win32::Win32Ui ui(zepo::win32::Twips::ofScreen());
    zepo::Installer app(platform, ui);
    ui.attach(app);

    // The forms runtime loads the start-up window: its load procedure runs
    // before it is first shown, and may end the installer there and then.
    if (!ui.runEvent(zepo::frmMain::Form_Load)) return ui.exitCode();
    ui.show(zepo::Form::kMain);
    return ui.run();
  };
  // Anything that fails before the windows run: say why, and do not start.
  return zepo::runStart(start, [](const std::string& text) {
    MessageBoxW(nullptr, zepo::win32::displayText(text).c_str(), L"clientZEPO", MB_ICONHAND);
  });
}
