#include "app/win32/form_windows.h"
#include "app/win32/ui.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"

namespace zepo::win32 {

namespace {

// The text boxes whose text goes into the record.
constexpr std::pair<const char*, std::string FrmMain::*> kFields[] = {
    {"txtServer", &FrmMain::txtServer},
    {"txtIP", &FrmMain::txtIP},
    {"txtPath", &FrmMain::txtPath},
    {"txtPosto", &FrmMain::txtPosto},
};

}  // namespace

FrmMainWindow::FrmMainWindow(Win32Ui& ui) : ui_(ui) {
  build(forms::mainForm(), ui.twips(), ui.fonts(),
        [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
  fillDriveList();
}

void FrmMainWindow::fillDriveList() {
  HWND combo = control("dlbDrive");
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : driveListEntries(ui_.app().platform))
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
}

void FrmMainWindow::showRecord() {
  const FrmMain& record = ui_.app().frmMain;
  showing_ = true;
  for (auto [name, field] : kFields) {
    HWND box = control(name);
    if (windowText(box) != record.*field) SetWindowTextW(box, wide(record.*field).c_str());
  }
  HWND combo = control("dlbDrive");
  std::wstring drive = wide(record.drive);
  LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(drive.c_str()));
  if (index == CB_ERR) {  // a drive came or went
    fillDriveList();
    index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(drive.c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND lblAttendi = control("lblAttendi");
  SetWindowTextW(lblAttendi, displayText(record.lblAttendiCaption).c_str());
  ShowWindow(lblAttendi, record.lblAttendiVisible ? SW_SHOWNA : SW_HIDE);
  showing_ = false;
}

void FrmMainWindow::command(int id, int notification) {
  // What the operator types goes into the record at once; the logic reads
  // the fields from there.
  if (notification == EN_CHANGE && !showing_) {
    for (auto [name, field] : kFields)
      if (id == controlId(name)) ui_.app().frmMain.*field = windowText(control(name));
  }
  if (id == controlId("dlbDrive") && notification == CBN_SELCHANGE) {
    HWND combo = control("dlbDrive");
    LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(length + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    std::string entry = narrow(text);
    ui_.runEvent([&entry](Installer& app) { setDrive(app, entry); });
  }
}

LRESULT FrmMainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      // The window goes away only through the end of the installer, which
      // the clean-up on closing brings about.
      ui_.runEvent(frmMain::Form_Unload);
      return 0;
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
