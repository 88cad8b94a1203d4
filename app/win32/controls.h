// Building blocks of the Windows windows: text conversion, twips, the design
// fonts, controls placed at their designed position and size, and the window
// class that routes messages to a C++ object.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <tuple>

namespace zepo::win32 {

// The program's texts are UTF-8; the windows are Unicode windows (the "W"
// functions), so that every character shows whatever the ANSI code page of
// the system is.
std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& text);
// A text of the logic (lines broken by CR LF or a lone CR) as a control shows
// it: every line break becomes CR LF.
std::wstring displayText(const std::string& text);
// The text of a window or control, as UTF-8.
std::string windowText(HWND hwnd);

// Window measures are designed in twips (1440 to the inch); on screen they
// become pixels through the screen's twips per pixel (1440 / LOGPIXELSX, 15
// at 96 dots per inch).
class Twips {
 public:
  explicit Twips(double perPixel) : perPixel_(perPixel) {}
  static Twips ofScreen();
  double perPixel() const { return perPixel_; }
  int px(int twips) const;
  RECT rect(int left, int top, int width, int height) const;

 private:
  double perPixel_;
};

// The design fonts, made once each and kept until the program ends.
class Fonts {
 public:
  Fonts() = default;
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;
  ~Fonts();
  // Family, size in points (at the screen's LOGPIXELSY), weight.
  HFONT get(const std::wstring& family, double points, bool bold = false);
  // The windows' default font: MS Sans Serif 8.25 pt.
  HFONT window() { return get(L"MS Sans Serif", 8.25); }

 private:
  std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
};

// A child control at `rect` (pixels, relative to `parent`) with its font.
HWND addControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                int id, const RECT& rect, HFONT font, DWORD exStyle = 0);
HWND addLabel(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font);
HWND addButton(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font);
HWND addTextBox(HWND parent, int id, const std::wstring& text, const RECT& rect, HFONT font);
HWND addFrame(HWND parent, int id, const std::wstring& caption, const RECT& rect, HFONT font);
// Orders the controls so that Tab moves through them in the given order; the
// controls not named (labels, frames) go behind them, so that a frame never
// paints over what it holds.
void chainTabOrder(std::initializer_list<HWND> controls);

// The size of a window whose client area is `width` by `height` pixels.
SIZE windowSizeFor(int width, int height, DWORD style, DWORD exStyle, bool hasMenu);

// A top-level window owned by a C++ object: the window class routes every
// message to handle().
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  HWND control(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  // Creates the window of the program's window class with the given client
  // size in pixels.
  void create(const std::wstring& caption, DWORD style, DWORD exStyle, int clientWidth,
              int clientHeight, HMENU menu = nullptr);
  virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  // The control that has the keyboard focus when the window is activated
  // for the first time; afterwards the window keeps the one that had it last.
  void setInitialFocus(HWND control) { focus_ = control; }

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;
};

}  // namespace zepo::win32
