#include "app/win32/controls.h"

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

HFONT Fonts::get(const std::wstring& family, double points, bool bold) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  // A negative height asks for the character height, as a point size is.
  int height = -static_cast<int>(std::lround(points * dpi / 72.0));
  auto key = std::make_tuple(family, height, bold);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str());
  fonts_[key] = font;
  return font;
}

HWND addControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                int id, const RECT& rect, HFONT font, DWORD exStyle) {
  HWND control = CreateWindowExW(
      exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, rect.left, rect.top,
      rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND addLabel(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font) {
  // A label breaks its caption at blanks to fit its width and cuts what does
  // not fit; "&" is a character like any other.
  return addControl(parent, L"STATIC", caption, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, id, rect, font);
}

HWND addButton(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font) {
  return addControl(parent, L"BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, id, rect,
                    font);
}

HWND addTextBox(HWND parent, int id, const std::wstring& text, const RECT& rect, HFONT font) {
  return addControl(parent, L"EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, id, rect, font,
                    WS_EX_CLIENTEDGE);
}

HWND addFrame(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font) {
  return addControl(parent, L"BUTTON", caption, WS_VISIBLE | BS_GROUPBOX, id, rect, font);
}

void chainTabOrder(std::initializer_list<HWND> controls) {
  HWND previous = HWND_TOP;
  for (HWND control : controls) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
  // Whatever takes no focus goes behind the chain, in its own order.
  if (controls.size() == 0) return;
  HWND parent = GetParent(*controls.begin());
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

SIZE windowSizeFor(int width, int height, DWORD style, DWORD exStyle, bool hasMenu) {
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, style, hasMenu ? TRUE : FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

constexpr const wchar_t* kWindowClass = L"ClientZepoWindow";

}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
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
