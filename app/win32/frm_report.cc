#include "app/win32/form_windows.h"
#include "app/win32/ui.h"
#include "check/check_window.h"

namespace zepo::win32 {

FrmReportWindow::FrmReportWindow(Win32Ui& ui) : ui_(ui) {
  const Twips& tw = ui.twips();
  Fonts& fonts = ui.fonts();
  create(L"Report Errori", WS_OVERLAPPEDWINDOW, 0, tw.px(4470), tw.px(3195));
  HWND w = hwnd();
  HWND txtReport =
      addControl(w, L"EDIT", L"",
                 WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
                 kTxtReport, tw.rect(120, 120, 4215, 2175), fonts.window(), WS_EX_CLIENTEDGE);
  HWND cmdOK = addButton(w, kReportCmdOK, L"OK", tw.rect(1560, 2520, 1335, 495),
                         fonts.get(L"Arial", 9.75, true));
  chainTabOrder({txtReport, cmdOK});
  setInitialFocus(txtReport);
}

void FrmReportWindow::showRecord() {
  std::wstring text = displayText(ui_.app().esito.txtReport);
  HWND box = control(kTxtReport);
  // Replacing the text would scroll back to the top at every refresh.
  if (windowText(box) != narrow(text)) SetWindowTextW(box, text.c_str());
}

LRESULT FrmReportWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kReportCmdOK && HIWORD(wParam) == BN_CLICKED)
        ui_.runEvent(frmReport::cmdOK_Click);
      return 0;
    case WM_CLOSE:
      // The close box only hides the window.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
