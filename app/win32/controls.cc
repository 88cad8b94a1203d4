#include "app/win32/controls.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/win32/pictures.h"

namespace zepo::win32 {

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
  return text;
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
}

std::wstring displayText(const std::string& text) {
  std::wstring in = wide(text);
  std::wstring out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == L'\r') {
      out += L"\r\n";
      if (i + 1 < in.size() && in[i + 1] == L'\n') ++i;
    } else if (in[i] == L'\n') {
      out += L"\r\n";
    } else {
      out += in[i];
    }
  }
  return out;
}

std::string windowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(length + 1, L'\0');
  length = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(length);
  return narrow(text);
}

Twips Twips::ofScreen() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return Twips(1440.0 / (dpi > 0 ? dpi : 96));
}

int Twips::px(int twips) const {
  return static_cast<int>(std::lround(twips / perPixel_));
}

RECT Twips::rect(int left, int top, int width, int height) const {
  return RECT{px(left), px(top), px(left) + px(width), px(top) + px(height)};
}

Fonts::~Fonts() {
  for (auto& entry : fonts_) DeleteObject(entry.second);
}

namespace {

// The faces the screen has, each with the heaviest weight it comes in.
struct FaceWeights {
  HDC dc;
  std::map<std::wstring, LONG> heaviest;
};

int CALLBACK noteStyle(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM faces) {
  auto& heaviest = reinterpret_cast<FaceWeights*>(faces)->heaviest;
  // Sans faces drawn from outlines; "@" names a face turned for vertical text.
  if ((font->lfPitchAndFamily & 0xF0) == FF_SWISS && (type & TRUETYPE_FONTTYPE) &&
      font->lfFaceName[0] != L'@') {
    LONG& weight = heaviest[font->lfFaceName];
    weight = std::max(weight, font->lfWeight);
  }
  return 1;
}

int CALLBACK noteFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  // The styles of a family, each with its weight.
  LOGFONTW styles{};
  styles.lfCharSet = DEFAULT_CHARSET;
  std::copy_n(font->lfFaceName, LF_FACESIZE, styles.lfFaceName);
  EnumFontFamiliesExW(reinterpret_cast<FaceWeights*>(faces)->dc, &styles, noteStyle, faces, 0);
  return 1;
}

Face heavySansFace() {
  FaceWeights faces{GetDC(nullptr), {}};
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(faces.dc, &all, noteFamily, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, faces.dc);
  if (faces.heaviest.count(L"Arial Black")) return {L"Arial Black", FW_BLACK};
  Face heaviest{L"Arial", FW_BLACK};
  LONG weight = 0;
  for (const auto& [family, face] : faces.heaviest) {
    if (face > weight) {
      heaviest.family = family;
      weight = face;
    }
  }
  return heaviest;
}

}  // namespace

Face faceFor(const std::wstring& family, bool bold) {
  if (family == L"Arial Black") {
    static const Face heavy = heavySansFace();
    return heavy;
  }
  return {family, bold ? FW_BOLD : FW_NORMAL};
}

HFONT Fonts::get(const std::wstring& family, double points, bool bold) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  // A negative height asks for the character height, as a point size is.
  int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  auto key = std::make_tuple(family, height, bold);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  Face face = faceFor(family, bold);
  HFONT font = CreateFontW(height, 0, 0, 0, face.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.family.c_str());
  fonts_[key] = font;
  return font;
}

namespace {

using forms::ControlDesign;
using forms::Kind;

HWND addControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                int id, const RECT& rect, HFONT font, DWORD exStyle = 0) {
  HWND control = CreateWindowExW(
      exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, rect.left, rect.top,
      rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// The window class, styles and extra styles of a control of that kind.
struct ControlClass {
  const wchar_t* name;
  DWORD style, exStyle;
};

ControlClass controlClass(const ControlDesign& design) {
  switch (design.kind) {
    case Kind::kLabel:
      // A label breaks its caption at blanks to fit its width and cuts what
      // does not fit; "&" is a character like any other.
      return {L"STATIC", DWORD(design.centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX, 0};
    case Kind::kTextBox:
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kButton:
      return {L"BUTTON",
              WS_TABSTOP | DWORD(design.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case Kind::kFrame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::kDriveList:
      return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case Kind::kPicture:
      // The picture sits at the box's top left corner.
      return {L"STATIC", SS_BITMAP, 0};
    case Kind::kMultiLineText:
      return {L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
              WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

// Orders the controls so that Tab moves through them in the given order;
// the statics that name fields, which take no focus, go in just before
// their fields. The controls not named (labels, frames) go behind them, so
// that a frame never paints over what it holds.
void chainTabOrder(HWND parent, const std::vector<HWND>& controls) {
  HWND previous = HWND_TOP;
  for (HWND control : controls) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
  std::vector<HWND> rest;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    bool inChain = false;
    for (HWND control : controls) inChain = inChain || control == child;
    if (!inChain) rest.push_back(child);
  }
  for (HWND child : rest) {
    // Frames last of all, below the controls they hold.
    if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
      wchar_t cls[16] = {};
      GetClassNameW(child, cls, 16);
      if (lstrcmpiW(cls, L"Button") == 0) {
        SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        continue;
      }
    }
    SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child;
  }
}

// A drop-down list keeps every system key to itself, Alt+Up and Alt+Down
// that open and close its list aside: the others (F10 and Alt, which open
// the menu bar, Alt+F4) go to the default procedure, as for any control.
// The menu then opens before the arrow keys that follow reach the list.
WNDPROC listProcedure = nullptr;
LRESULT CALLBACK dropDownListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSKEYDOWN &&
      !((HIWORD(lParam) & KF_ALTDOWN) && (wParam == VK_UP || wParam == VK_DOWN)))
    return DefWindowProcW(list, message, wParam, lParam);
  return CallWindowProcW(listProcedure, list, message, wParam, lParam);
}

}  // namespace

void dispatch(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (!root || !IsDialogMessageW(root, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

SIZE windowSizeFor(int width, int height, DWORD style, DWORD exStyle, bool hasMenu) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

constexpr const wchar_t* kWindowClass = L"ClientZepoWindow";
// Neither is IDOK or IDCANCEL, so that Enter and Esc press no button of a
// window that has no default button.
constexpr int kFirstControlId = 100;
constexpr int kFirstMenuItemId = 1000;

}  // namespace

Window::~Window() {
  if (hwnd_) {
    // The pictures' controls let go of their bitmaps first.
    for (auto& [picture, bitmap] : pictures_) SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, 0);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  for (auto& [picture, bitmap] : pictures_) DeleteObject(bitmap);
}

HWND Window::control(const std::string& name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? nullptr : found->second.first;
}

int Window::controlId(const std::string& name) const {
  auto found = controls_.find(name);
  return found == controls_.end() ? 0 : found->second.second;
}

void Window::create(const std::wstring& caption, DWORD style, DWORD exStyle, int clientWidth,
                    int clientHeight, HMENU menu) {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = appIcon(32);
    wc.hIconSm = appIcon(16);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  SIZE size = windowSizeFor(clientWidth, clientHeight, style, exStyle, menu != nullptr);
  CreateWindowExW(exStyle, kWindowClass, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  size.cx, size.cy, nullptr, menu, GetModuleHandleW(nullptr), this);
}

HMENU Window::buildMenus() {
  if (table_->menus.empty()) return nullptr;
  HMENU bar = CreateMenu();
  int id = kFirstMenuItemId;
  for (const forms::Menu& design : table_->menus) {
    HMENU menu = CreatePopupMenu();
    for (const forms::MenuItem& item : design.items) {
      AppendMenuW(menu, MF_STRING, id, wide(item.caption).c_str());
      commands_[id++] = item.event;
    }
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                wide(design.caption).c_str());
  }
  return bar;
}

void Window::build(const forms::FormTable& table, const Twips& tw, Fonts& fonts, RunProcedure run) {
  table_ = &table;
  twips_ = tw;
  run_ = std::move(run);
  bool dialog = table.border == forms::Border::kFixedDialog;
  DWORD style = dialog ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
  create(wide(table.caption), style, dialog ? WS_EX_DLGMODALFRAME : 0, tw.px(table.width),
         tw.px(table.height), buildMenus());

  int id = kFirstControlId;
  for (const ControlDesign& design : table.controls) {
    forms::Rect place = table.pixelRect(design, tw.perPixel());
    RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
    // The height of a combo box includes its open list.
    if (design.kind == Kind::kDriveList) rect.bottom += 160;
    ControlClass cls = controlClass(design);
    DWORD style =
        cls.style | (design.visible ? WS_VISIBLE : 0) | (design.enabled ? 0 : WS_DISABLED);
    int controlId = design.defaultButton ? IDOK : id++;
    HFONT font = design.kind == Kind::kPicture
                     ? nullptr
                     : fonts.get(wide(design.font.family), design.font.points, design.font.bold);
    HWND control = addControl(hwnd_, cls.name, wide(design.caption), style, controlId, rect, font,
                              cls.exStyle);
    controls_[design.name] = {control, controlId};
    if (design.kind == Kind::kDriveList) {
      listProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
          control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&dropDownListProcedure)));
    }
    if (design.click) commands_[controlId] = design.click;
    if (design.blackText) blackText_.insert(control);
    if (design.picture != forms::Picture::kNone) {
      HBITMAP bitmap =
          design.picture == forms::Picture::kInstaller ? installerPicture() : makerPicture();
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
      pictures_.emplace_back(control, bitmap);
    }
  }
  // A field's name, out of sight where the label that names it is.
  std::vector<HWND> chain;
  focus_ = table.tabOrder().empty() ? nullptr : control(table.tabOrder().front()->name);
  for (const ControlDesign* design : table.tabOrder()) {
    if (design->kind != Kind::kButton) {
      forms::Rect place = table.pixelRect(
          design->namedBy.empty() ? *design : table.control(design->namedBy), tw.perPixel());
      RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
      HWND name = addControl(hwnd_, L"STATIC", wide(forms::accessibleName(table, *design)),
                             SS_LEFT | SS_NOPREFIX, -1, rect, nullptr);
      names_[design->name] = name;
      chain.push_back(name);
    }
    chain.push_back(control(design->name));
  }
  chainTabOrder(hwnd_, chain);
}

void Window::nameRow(const std::string& field, const std::string& rowFolder) {
  SetWindowTextW(names_.at(field),
                 wide(forms::accessibleName(*table_, table_->control(field), rowFolder)).c_str());
}

void Window::paintLines() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  for (const forms::LineSpec& line : table_->lines) {
    int y = twips_.px(line.y);
    RECT band{twips_.px(line.x1), y, twips_.px(line.x2), y + line.thickness};
    HBRUSH brush = CreateSolidBrush(
        RGB((line.colour >> 16) & 0xFF, (line.colour >> 8) & 0xFF, line.colour & 0xFF));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
  EndPaint(hwnd_, &paint);
}

LRESULT Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<Window*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_COMMAND && HIWORD(wParam) == 0 && window->table_) {
    // A button clicked (or pressed by Enter), a menu item chosen.
    auto found = window->commands_.find(LOWORD(wParam));
    if (found != window->commands_.end()) {
      window->run_(found->second);
      return 0;
    }
  }
  if (message == DM_GETDEFID) {
    // Enter presses the focused button, as in a dialog; elsewhere it
    // presses nothing but a default button of the design (IDOK).
    HWND focus = GetFocus();
    if (focus && GetParent(focus) == hwnd &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
      return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    return 0;
  }
  if (message == WM_CTLCOLORSTATIC && window->blackText_.count(reinterpret_cast<HWND>(lParam))) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  if (message == WM_PAINT && window->table_ && !window->table_->lines.empty()) {
    window->paintLines();
    return 0;
  }
  if (message == WM_ACTIVATE) {
    // A window that is not a dialog keeps its focused control itself.
    if (LOWORD(wParam) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (focus && IsChild(hwnd, focus)) window->focus_ = focus;
    } else if (window->focus_ && IsWindowEnabled(window->focus_) &&
               IsWindowVisible(window->focus_)) {
      SetFocus(window->focus_);
    } else {
      HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
      if (first) SetFocus(first);
    }
    return 0;
  }
  return window->handle(message, wParam, lParam);
}

}  // namespace zepo::win32
