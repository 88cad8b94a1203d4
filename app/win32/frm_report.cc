#include "app/win32/form_windows.h"
#include "app/win32/ui.h"

namespace zepo::win32 {

FrmReportWindow::FrmReportWindow(Win32Ui& ui) : ui_(ui) {
  build(forms::reportForm(), ui.twips(), ui.fonts(),
        [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
}

void FrmReportWindow::showRecord() {
  std::wstring text = displayText(ui_.app().esito.txtReport);
  HWND box = control("txtReport");
  // Replacing the text would scroll back to the top at every refresh.
  if (windowText(box) != narrow(text)) SetWindowTextW(box, text.c_str());
}

LRESULT FrmReportWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The close box only hides the window.
    ShowWindow(hwnd(), SW_HIDE);
    return 0;
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
