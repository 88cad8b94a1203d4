#include "app/win32/form_windows.h"
#include "app/win32/ui.h"

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

}  // namespace

bool isEmphasised(HWND stateBox) {
  return GetPropW(stateBox, kEmphasisProperty) != nullptr;
}

FrmVerWindow::FrmVerWindow(Win32Ui& ui) : ui_(ui) {
  build(forms::checkForm(), ui.twips(), ui.fonts(),
        [this](forms::Procedure procedure) { ui_.runEvent(procedure); });
  HWND txtSistema = control("txtSistema");
  SetPropW(txtSistema, kOldProcedureProperty,
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(
               txtSistema, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&disabledBoxProcedure))));
}

void FrmVerWindow::showStateBox(HWND box, const StateBox& state) {
  if (windowText(box) != state.text) SetWindowTextW(box, wide(state.text).c_str());
  if (isEmphasised(box) != state.emphasised) {
    if (state.emphasised)
      SetPropW(box, kEmphasisProperty, reinterpret_cast<HANDLE>(1));
    else
      RemovePropW(box, kEmphasisProperty);
    const forms::Font& font = forms::checkForm().control("txtSistema").font;
    SendMessageW(
        box, WM_SETFONT,
        reinterpret_cast<WPARAM>(ui_.fonts().get(wide(font.family), font.points, state.emphasised)),
        TRUE);
  }
}

void FrmVerWindow::showRecord() {
  const EsitoVerifica& esito = ui_.app().esito;
  for (int i = 0; i < EsitoVerifica::kRows; ++i) {
    HWND dir = control("txtDir_" + std::to_string(i));
    if (windowText(dir) != esito.txtDir[i]) SetWindowTextW(dir, wide(esito.txtDir[i]).c_str());
    showStateBox(control("txtCheck_" + std::to_string(i)), esito.txtCheck[i]);
    // Each row's boxes say which folder they are about.
    for (const char* column : {"txtDir_", "txtCheck_"})
      nameRow(column + std::to_string(i), esito.txtDir[i]);
  }
  showStateBox(control("txtSistema"), esito.txtSistema);
  ShowWindow(control("cmdRipara"), esito.cmdRiparaVisible ? SW_SHOWNA : SW_HIDE);
  SetWindowTextW(control("lblTotale"), wide(esito.lblTotale).c_str());
  EnableWindow(control("cmdReport"), esito.cmdReportEnabled ? TRUE : FALSE);
}

LRESULT FrmVerWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
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
