#include "app/win32/form_windows.h"
#include "app/win32/ui.h"
#include "shell/main_window.h"

namespace zepo::win32 {

FrmAboutWindow::FrmAboutWindow(Win32Ui& ui) : ui_(ui) {
  // OK is the default button (Enter); Esc closes the window as OK does.
  build(forms::aboutForm(), ui.twips(), ui.fonts(),
        [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
}

void FrmAboutWindow::showRecord() {
  const FrmAbout& record = ui_.app().frmAbout;
  SetWindowTextW(hwnd(), wide(record.caption).c_str());
  SetWindowTextW(control("lblTitle"), wide(record.lblTitle).c_str());
  SetWindowTextW(control("lblVersion"), wide(record.lblVersion).c_str());
}

LRESULT FrmAboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) ui_.runEvent(frmAbout::cmdOK_Click);
      return 0;
    case WM_CLOSE:
      ui_.runEvent(frmAbout::cmdOK_Click);
      return 0;
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
