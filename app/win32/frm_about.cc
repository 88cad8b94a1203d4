#include "app/win32/form_windows.h"
#include "app/win32/pictures.h"
#include "app/win32/ui.h"
#include "shell/main_window.h"

namespace zepo::win32 {

namespace {

constexpr DWORD kAboutStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;

HWND addPicture(HWND parent, int id, HBITMAP bitmap, const RECT& rect) {
  // The picture sits at the box's top left corner.
  HWND picture = addControl(parent, L"STATIC", L"", WS_VISIBLE | SS_BITMAP, id, rect, nullptr);
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return picture;
}

}  // namespace

FrmAboutWindow::FrmAboutWindow(Win32Ui& ui)
    : ui_(ui), installer_(installerPicture()), maker_(makerPicture()) {
  const Twips& tw = ui.twips();
  Fonts& fonts = ui.fonts();
  create(L"Informazioni su MiaApplicazione", kAboutStyle, kAboutExStyle, tw.px(5715), tw.px(4305));
  HWND w = hwnd();
  HFONT font = fonts.window();

  // OK is both the default button (Enter) and the cancel button (Esc).
  HWND cmdOK = addControl(w, L"BUTTON", L"OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                          tw.rect(960, 3720, 1260, 345), font);
  addLabel(w, kLblDescription, L"Procedura di installazione del lato client di ZEPO",
           tw.rect(3360, 1125, 1965, 570), font);
  addLabel(w, kLblTitle, L"Titolo applicazione", tw.rect(3360, 240, 2085, 480), font);
  addLabel(w, kLblVersion, L"Versione", tw.rect(3360, 780, 1995, 225), font);
  addPicture(w, kPicIcon, installer_, tw.rect(120, 240, 2985, 1755));
  addPicture(w, kPicture1, maker_, tw.rect(3240, 2400, 2175, 1695));
  addLabel(w, kAboutLabel1, kMaker, tw.rect(240, 2640, 2775, 255), fonts.get(L"Arial", 9.75, true));
  addLabel(w, kAboutLabel2, kStreet, tw.rect(240, 3000, 2775, 255), fonts.get(L"Arial", 8.25));
  addLabel(w, kAboutLabel3, kCity, tw.rect(240, 3240, 2895, 255), fonts.get(L"Arial", 8.25));
  chainTabOrder({cmdOK});
  setInitialFocus(cmdOK);
}

FrmAboutWindow::~FrmAboutWindow() {
  // The pictures' controls go first, then their bitmaps.
  if (hwnd()) {
    SendMessageW(control(kPicIcon), STM_SETIMAGE, IMAGE_BITMAP, 0);
    SendMessageW(control(kPicture1), STM_SETIMAGE, IMAGE_BITMAP, 0);
  }
  DeleteObject(installer_);
  DeleteObject(maker_);
}

void FrmAboutWindow::showRecord() {
  const FrmAbout& record = ui_.app().frmAbout;
  SetWindowTextW(hwnd(), wide(record.caption).c_str());
  SetWindowTextW(control(kLblTitle), wide(record.lblTitle).c_str());
  SetWindowTextW(control(kLblVersion), wide(record.lblVersion).c_str());
}

LRESULT FrmAboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // OK, Enter and Esc.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ui_.runEvent(frmAbout::cmdOK_Click);
      return 0;
    case WM_CLOSE:
      ui_.runEvent(frmAbout::cmdOK_Click);
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The title and the description are black whatever the system's text
      // colour is.
      HWND label = reinterpret_cast<HWND>(lParam);
      if (label == control(kLblTitle) || label == control(kLblDescription)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
    case WM_PAINT: {
      // The etched separator: a white band two pixels high under a grey line
      // one pixel high drawn inside its bounds at the top of the band.
      const Twips& tw = ui_.twips();
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd(), &paint);
      int y = tw.px(2280);
      RECT white{tw.px(105), y, tw.px(5654), y + 2};
      RECT grey{tw.px(90), y, tw.px(5654), y + 1};
      HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
      HBRUSH greyBrush = CreateSolidBrush(RGB(128, 128, 128));
      FillRect(dc, &white, whiteBrush);
      FillRect(dc, &grey, greyBrush);
      DeleteObject(whiteBrush);
      DeleteObject(greyBrush);
      EndPaint(hwnd(), &paint);
      return 0;
    }
  }
  return Window::handle(message, wParam, lParam);
}

}  // namespace zepo::win32
