#include "app/win32/form_windows.h"
#include "app/win32/ui.h"
#include "check/check_window.h"

namespace zepo::win32 {

namespace {

constexpr const wchar_t* kEmphasisProperty = L"clientZEPO.emphasised";
constexpr const wchar_t* kOldProcedureProperty = L"clientZEPO.procedure";

// Windows draws the text of a disabled text box grey whatever colour its
// parent asks for; txtSistema, which is always disabled, draws its own text
// so that an emphasised state shows red there too.
LRESULT CALLBACK disabledBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropW(box, kOldProcedureProperty));
  if (message == WM_PAINT && !IsWindowEnabled(box)) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT client;
    GetClientRect(box, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, isEmphasised(box) ? RGB(255, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    int length = GetWindowTextLengthW(box);
    std::wstring text(length + 1, L'\0');
    length = GetWindowTextW(box, text.data(), length + 1);
    RECT area = client;
    area.left += 1;
    DrawTextW(dc, text.c_str(), length, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(box, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemovePropW(box, kOldProcedureProperty);
    RemovePropW(box, kEmphasisProperty);
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  }
  return CallWindowProcW(old, box, message, wParam, lParam);
}

RECT offset(RECT rect, const RECT& by) {
  OffsetRect(&rect, by.left, by.top);
  return rect;
}

}  // namespace

bool isEmphasised(HWND stateBox) {
  return GetPropW(stateBox, kEmphasisProperty) != nullptr;
}

FrmVerWindow::FrmVerWindow(Win32Ui& ui) : ui_(ui) {
  const Twips& tw = ui.twips();
  Fonts& fonts = ui.fonts();
  create(L"Verifica", WS_OVERLAPPEDWINDOW, 0, tw.px(5040), tw.px(5415));
  HWND w = hwnd();
  HFONT font = fonts.window();
  HFONT arial12Bold = fonts.get(L"Arial", 12, true);

  // Created in tab-index order.
  HWND cmdTorna = addButton(w, kCmdTorna, L"OK", tw.rect(3240, 2400, 1575, 495), arial12Bold);
  addLabel(w, kLblServizio, L"Servizio Criteria", tw.rect(120, 3960, 2055, 375), arial12Bold);
  addLabel(w, kLblSystem, L"Files .INI", tw.rect(120, 4440, 2055, 375), arial12Bold);
  addLabel(w, kLblHost, L"File Hosts", tw.rect(120, 4920, 2055, 375), arial12Bold);
  HWND txtSistema = addTextBox(w, kTxtSistema, L"", tw.rect(2640, 4440, 495, 285), font);
  EnableWindow(txtSistema, FALSE);
  SetPropW(txtSistema, kOldProcedureProperty,
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(
               txtSistema, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&disabledBoxProcedure))));
  HWND cmdRipara = addButton(w, kCmdRipara, L"Ripara", tw.rect(3360, 4320, 1335, 525),
                             fonts.get(L"Arial Black", 9.75));
  ShowWindow(cmdRipara, SW_HIDE);
  addLabel(w, kVerLabel2, L"}", tw.rect(2040, 3840, 495, 1455), fonts.get(L"Garamond", 60));
  std::array<HWND, EsitoVerifica::kRows> txtDir;
  for (int i = 0; i < EsitoVerifica::kRows; ++i)
    txtDir[i] =
        addTextBox(w, kTxtDir0 + i, L"Text1", tw.rect(120, 1440 + 360 * i, 1575, 285), font);
  addLabel(w, kVerLabel1, L"Cartella", tw.rect(120, 1080, 1575, 255), font);
  RECT frame = tw.rect(1920, 1080, 1095, 2175);
  addFrame(w, kVerFrame1, L"Stato", frame, font);
  std::array<HWND, EsitoVerifica::kRows> txtCheck;
  for (int i = 0; i < EsitoVerifica::kRows; ++i)
    txtCheck[i] = addTextBox(w, kTxtCheck0 + i, L"Text2",
                             offset(tw.rect(240, 360 + 360 * i, 495, 285), frame), font);
  addControl(w, L"STATIC", L"", WS_VISIBLE | SS_CENTER | SS_NOPREFIX, kLblTotale,
             tw.rect(360, 360, 4335, 375), arial12Bold);
  HWND cmdReport = addButton(w, kCmdReport, L"Report Errori", tw.rect(3240, 1560, 1575, 615),
                             fonts.get(L"Arial", 9.75, true));

  chainTabOrder({cmdTorna, txtSistema, cmdRipara, txtDir[0], txtDir[1], txtDir[2], txtDir[3],
                 txtDir[4], txtCheck[0], txtCheck[1], txtCheck[2], txtCheck[3], txtCheck[4],
                 cmdReport});
  setInitialFocus(cmdTorna);
}

FrmVerWindow::~FrmVerWindow() = default;

void FrmVerWindow::showStateBox(int id, const StateBox& state) {
  HWND box = control(id);
  if (windowText(box) != state.text) SetWindowTextW(box, wide(state.text).c_str());
  if (isEmphasised(box) != state.emphasised) {
    if (state.emphasised)
      SetPropW(box, kEmphasisProperty, reinterpret_cast<HANDLE>(1));
    else
      RemovePropW(box, kEmphasisProperty);
    HFONT font = ui_.fonts().get(L"MS Sans Serif", 8.25, state.emphasised);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

void FrmVerWindow::showRecord() {
  const EsitoVerifica& esito = ui_.app().esito;
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    if (windowText(control(kTxtDir0 + i)) != esito.txtDir[i])
      SetWindowTextW(control(kTxtDir0 + i), wide(esito.txtDir[i]).c_str());
    showStateBox(kTxtCheck0 + i, esito.txtCheck[i]);
  }
  showStateBox(kTxtSistema, esito.txtSistema);
  ShowWindow(control(kCmdRipara), esito.cmdRiparaVisible ? SW_SHOWNA : SW_HIDE);
  SetWindowTextW(control(kLblTotale), wide(esito.lblTotale).c_str());
  EnableWindow(control(kCmdReport), esito.cmdReportEnabled ? TRUE : FALSE);
}

LRESULT FrmVerWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
          case kCmdTorna:
            ui_.runEvent(frmVer::cmdTorna_Click);
            break;
          case kCmdRipara:
            ui_.runEvent(frmVer::cmdRipara_Click);
            break;
          case kCmdReport:
            ui_.runEvent(frmVer::cmdReport_Click);
            break;
        }
      }
      return 0;
    case WM_CTLCOLOREDIT: {
      // An emphasised state is pure red.
      HWND box = reinterpret_cast<HWND>(lParam);
      if (isEmphasised(box)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case WM_CLOSE:
      // The close box destroys the window.
      ui_.checkWindowClosed();
      return 0;
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
