// Building blocks of the Windows windows: text conversion, twips, the design
// fonts, and the window that routes messages to a C++ object and builds
// itself from its design table (app/forms).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/forms/form_table.h"

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

// The face and weight that draw a design font. A face designed in Arial
// Black is a heavy one: Arial Black where the system has it, else the sans
// face of the heaviest weight the system has, asked for at FW_BLACK.
struct Face {
  std::wstring family;
  int weight;
};
Face faceFor(const std::wstring& family, bool bold);

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

// The size of a window whose client area is `width` by `height` pixels.
SIZE windowSizeFor(int width, int height, DWORD style, DWORD exStyle, bool hasMenu);

// Hands a message of the message loop to its window: the keys that move
// between and press controls (Tab, Enter, Esc, the arrows) first, through
// the dialog manager of the window it belongs to.
void dispatch(MSG& message);

// Runs an event procedure of the logic (Win32Ui::runEvent).
using RunProcedure = std::function<void(forms::Procedure)>;

// A top-level window owned by a C++ object: the window class routes every
// message to handle(). Its controls, menus and lines come from its design
// table; a button's or a menu item's command runs the procedure the table
// gives it. A screen reader names a field by the static text just before it
// in the z-order: each field has one there, out of sight, that says the
// field's accessible name (app/forms).
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  // A control by its design name; null when the window has none.
  HWND control(const std::string& name) const;
  // Its control identifier (WM_COMMAND's), 0 when there is none.
  int controlId(const std::string& name) const;

 protected:
  // Creates the window with the caption, border and client size of
  // `table`, its menus, controls and lines; the focus starts on the first
  // control in tab order.
  void build(const forms::FormTable& table, const Twips& tw, Fonts& fonts, RunProcedure run);
  virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Names a row's field after the folder its row now shows.
  void nameRow(const std::string& field, const std::string& rowFolder);

 private:
  static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void create(const std::wstring& caption, DWORD style, DWORD exStyle, int clientWidth,
              int clientHeight, HMENU menu);
  HMENU buildMenus();
  void paintLines();

  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;
  const forms::FormTable* table_ = nullptr;
  Twips twips_{15};
  RunProcedure run_;
  std::map<std::string, std::pair<HWND, int>> controls_;  // by name: the control and its id
  std::map<int, forms::Procedure> commands_;              // by control or menu item id
  std::map<std::string, HWND> names_;                     // by field: the static that names it
  std::set<HWND> blackText_;
  std::vector<std::pair<HWND, HBITMAP>> pictures_;
};

}  // namespace zepo::win32
