#include "app/win32/form_windows.h"
#include "app/win32/ui.h"
#include "check/check_run.h"
#include "install/install_command.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"

namespace zepo::win32 {

namespace {

HMENU buildMenus() {
  HMENU bar = CreateMenu();
  auto popup = [bar](const wchar_t* caption,
                     std::initializer_list<std::pair<int, const wchar_t*>> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& [id, text] : items) AppendMenuW(menu, MF_STRING, id, text);
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), caption);
  };
  popup(L"File", {{kMnuServer, L"Nome Server"}, {kMnuEsci, L"Esci"}});
  popup(L"Esegui", {{kMnuInstalla, L"Installa Client"}, {kMnuVer, L"Verifica installazione"}});
  popup(L"?", {{kMnuSommario, L"Sommario"}, {kMnuInfo, L"Informazioni"}});
  return bar;
}

RECT offset(RECT rect, const RECT& by) {
  OffsetRect(&rect, by.left, by.top);
  return rect;
}

}  // namespace

FrmMainWindow::FrmMainWindow(Win32Ui& ui) : ui_(ui), menu_(buildMenus()) {
  const Twips& tw = ui.twips();
  Fonts& fonts = ui.fonts();
  create(wide(frmMain::kCaption), WS_OVERLAPPEDWINDOW, 0, tw.px(5715), tw.px(3135), menu_);
  HWND w = hwnd();
  HFONT font = fonts.window();
  HFONT arial12Bold = fonts.get(L"Arial", 12, true);

  RECT frame = tw.rect(120, 120, 3495, 1815);
  HWND dlbDrive = addControl(
      w, L"COMBOBOX", L"", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kDlbDrive,
      // The height of a combo box includes its open list.
      offset(RECT{0, 0, tw.px(2055), tw.px(315) + 160}, tw.rect(120, 2400, 0, 0)), font);
  HWND cmdInstalla =
      addButton(w, kCmdInstalla, L"Installa", tw.rect(4080, 840, 1215, 495), arial12Bold);
  HWND cmdEsci = addButton(w, kCmdEsci, L"Esci", tw.rect(4080, 1440, 1215, 495), arial12Bold);
  addFrame(w, kFrame1, L"Dati del Server", frame, fonts.get(L"MS Sans Serif", 8.25, true));
  HWND txtServer =
      addTextBox(w, kTxtServer, L"", offset(tw.rect(120, 600, 1575, 285), frame), font);
  HWND txtIP =
      addTextBox(w, kTxtIP, L"255.255.255.255", offset(tw.rect(1800, 600, 1455, 285), frame), font);
  addLabel(w, kLabel1, L"Nome", offset(tw.rect(120, 360, 1215, 255), frame), font);
  addLabel(w, kLabel2, L"Indirizzo IP", offset(tw.rect(1800, 360, 1215, 255), frame), font);
  HWND txtPath = addTextBox(w, kTxtPath, L"", offset(tw.rect(120, 1320, 2175, 285), frame), font);
  addLabel(w, kLabel3, L"Cartella dati Client", offset(tw.rect(120, 1080, 1815, 255), frame), font);
  addLabel(w, kLabel4, L"Drive locale di destinazione", tw.rect(120, 2160, 2055, 255), font);
  HWND cmdCheck = addButton(w, kCmdCheck, L"Verifica", tw.rect(4080, 240, 1215, 495), arial12Bold);
  HWND lblAttendi =
      addLabel(w, kLblAttendi, L"", tw.rect(2520, 2280, 2775, 495), fonts.get(L"Arial", 12));
  ShowWindow(lblAttendi, SW_HIDE);
  HWND txtPosto = addTextBox(w, kTxtPosto, L"", offset(tw.rect(2640, 1320, 375, 285), frame), font);
  addLabel(w, kLabel5, L"N. client", offset(tw.rect(2640, 1080, 735, 255), frame), font);
  chainTabOrder({dlbDrive, cmdInstalla, cmdEsci, txtServer, txtIP, txtPath, cmdCheck, txtPosto});
  setInitialFocus(dlbDrive);
  fillDriveList();
}

// The menu goes with the window when the window is destroyed.
FrmMainWindow::~FrmMainWindow() = default;

void FrmMainWindow::fillDriveList() {
  HWND combo = control(kDlbDrive);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : driveListEntries(ui_.app().platform))
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
}

void FrmMainWindow::showRecord() {
  const FrmMain& record = ui_.app().frmMain;
  showing_ = true;
  auto setText = [this](int id, const std::string& text) {
    std::wstring shown = wide(text);
    if (windowText(control(id)) != text) SetWindowTextW(control(id), shown.c_str());
  };
  setText(kTxtServer, record.txtServer);
  setText(kTxtIP, record.txtIP);
  setText(kTxtPath, record.txtPath);
  setText(kTxtPosto, record.txtPosto);
  HWND combo = control(kDlbDrive);
  std::wstring drive = wide(record.drive);
  LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(drive.c_str()));
  if (index == CB_ERR) {  // a drive came or went
    fillDriveList();
    index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(drive.c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND lblAttendi = control(kLblAttendi);
  SetWindowTextW(lblAttendi, displayText(record.lblAttendiCaption).c_str());
  ShowWindow(lblAttendi, record.lblAttendiVisible ? SW_SHOWNA : SW_HIDE);
  showing_ = false;
}

void FrmMainWindow::command(int id, int notification) {
  FrmMain& record = ui_.app().frmMain;
  switch (id) {
    // What the operator types goes into the record at once; the logic reads
    // the fields from there.
    case kTxtServer:
    case kTxtIP:
    case kTxtPath:
    case kTxtPosto:
      if (notification == EN_CHANGE && !showing_) {
        std::string text = windowText(control(id));
        if (id == kTxtServer) record.txtServer = text;
        if (id == kTxtIP) record.txtIP = text;
        if (id == kTxtPath) record.txtPath = text;
        if (id == kTxtPosto) record.txtPosto = text;
      }
      return;
    case kDlbDrive:
      if (notification == CBN_SELCHANGE) {
        HWND combo = control(kDlbDrive);
        LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return;
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
        std::wstring text(length + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        std::string entry = narrow(text);
        ui_.runEvent([&entry](Installer& app) { setDrive(app, entry); });
      }
      return;
    case kCmdInstalla:
      if (notification == BN_CLICKED) ui_.runEvent(frmMain::cmdInstalla_Click);
      return;
    case kCmdEsci:
      if (notification == BN_CLICKED) ui_.runEvent(frmMain::cmdEsci_Click);
      return;
    case kCmdCheck:
      if (notification == BN_CLICKED) ui_.runEvent(frmMain::cmdCheck_Click);
      return;
  }
}

LRESULT FrmMainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && HIWORD(wParam) == 0) {  // a menu item
        switch (LOWORD(wParam)) {
          case kMnuServer:
            ui_.runEvent(frmMain::mnuServer_Click);
            break;
          case kMnuEsci:
            ui_.runEvent(frmMain::mnuEsci_Click);
            break;
          case kMnuInstalla:
            ui_.runEvent(frmMain::mnuInstalla_Click);
            break;
          case kMnuVer:
            ui_.runEvent(frmMain::mnuVer_Click);
            break;
          case kMnuSommario:
            ui_.runEvent(frmMain::mnuSommario_Click);
            break;
          case kMnuInfo:
            ui_.runEvent(frmMain::mnuInfo_Click);
            break;
        }
        return 0;
      }
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
