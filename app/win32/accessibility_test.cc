// The Windows front end through a screen reader and from the keyboard, run
// under Wine with a display: the name a screen reader gives every control,
// Enter on the focused button, the menu bar from the drive list, and the
// heavy face of the captions designed in Arial Black.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/forms/form_test_support.h"
#include "app/win32/input_box.h"
#include "app/win32/ui.h"
#include "tests/test_workstation.h"

namespace zepo::win32 {
namespace {

// What a screen reader says a control is: a button or a static text says
// its own text; any other control says the text of the static text before
// it in the z-order, looking back no further than a control that takes the
// focus or starts a group.
std::string spokenName(HWND control) {
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_STATIC))
    return windowText(control);
  for (HWND before = GetWindow(control, GW_HWNDPREV); before;
       before = GetWindow(before, GW_HWNDPREV)) {
    if (SendMessageW(before, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) return windowText(before);
    if (GetWindowLongW(before, GWL_STYLE) & (WS_TABSTOP | WS_GROUP)) break;
  }
  return {};
}

// The name of the input box's field, read while the box shows; the box is
// then cancelled.
std::string inputFieldName;
void CALLBACK readInputBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Client ZEPO");
  if (!box) return;
  KillTimer(nullptr, timer);
  inputFieldName = spokenName(GetDlgItem(box, kInputField));
  PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

// The screen reader's view of the Win32 windows.
struct Reader {
  Win32Ui& ui;
  HWND widget(Form form, const std::string& name) { return ui.windowOf(form)->control(name); }
  std::string name(Form form, const forms::ControlDesign& design) {
    return spokenName(widget(form, design.name));
  }
  std::string text(Form form, const std::string& name) { return windowText(widget(form, name)); }
  bool shown(Form form, const std::string& name) { return IsWindowVisible(widget(form, name)); }
};

// Each control says its name, a check row's also the folder it shows; the
// input box's field says its prompt.
TEST(Win32AccessibilityTest, EveryControlSaysItsName) {
  TestWorkstation ws;
  Win32Ui ui{Twips(15)};
  Installer app{ws.platform(), ui};
  ui.attach(app);
  for (int i = 0; i < EsitoVerifica::kRows; ++i)
    app.esito.txtDir[i] = "D:\\ZEPO\\R" + std::to_string(i);
  Reader reader{ui};
  forms::test::expectAccessibleNames(reader);

  SetTimer(nullptr, 0, 20, readInputBox);
  ui.inputBox("Inserire il nome del server", "Client ZEPO");
  EXPECT_EQ(inputFieldName, "Inserire il nome del server");
}

// A window built from a table on a recording runner, that notes when its
// menu bar opens.
class KeyboardWindow : public Window {
 public:
  KeyboardWindow(const forms::FormTable& table, Fonts& fonts) {
    build(table, Twips(15), fonts, [this](forms::Procedure p) { ran.push_back(p); });
  }
  std::vector<forms::Procedure> ran;
  bool menuOpened = false;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ENTERMENULOOP) menuOpened = true;
    return Window::handle(message, wParam, lParam);
  }
};

// Closes a menu that a broken case left open.
void CALLBACK closeMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

// Keys pressed and released on the focused control; Alt (VK_MENU) and F10
// are system keys.
void press(const std::vector<UINT>& keys) {
  for (UINT key : keys) {
    const bool system = key == VK_MENU || key == VK_F10;
    LPARAM data = 1 | LPARAM(MapVirtualKeyW(key, 0)) << 16 | (key == VK_MENU ? 1 << 29 : 0);
    PostMessageW(GetFocus(), system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, data);
    PostMessageW(GetFocus(), system ? WM_SYSKEYUP : WM_KEYUP, key, data | 0xC0000000);
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(message);
}

// Enter presses the focused button, also the one focused from the start;
// Enter in a field presses nothing, as no button is the default one; F10
// and Alt open the menu bar from the drive list, and the arrow keys that
// follow go to the menu, not to the list (which Down alone moves).
TEST(Win32AccessibilityTest, KeysPressTheFocusedButtonAndOpenTheMenus) {
  const struct {
    const forms::FormTable& table;
    const char* focus;  // null: where the focus starts
    std::vector<UINT> keys;
    const char* pressed;  // null: none
    bool menuOpens, driveMoves;
  } kCases[] = {
      {forms::checkForm(), nullptr, {VK_RETURN}, "cmdTorna", false, false},
      {forms::mainForm(), "cmdCheck", {VK_RETURN}, "cmdCheck", false, false},
      {forms::mainForm(), "txtPosto", {VK_RETURN}, nullptr, false, false},
      {forms::mainForm(), nullptr, {VK_DOWN}, nullptr, false, true},
      {forms::mainForm(), nullptr, {VK_F10, VK_DOWN, VK_ESCAPE, VK_ESCAPE}, nullptr, true, false},
      {forms::mainForm(), nullptr, {VK_MENU, VK_DOWN, VK_ESCAPE, VK_ESCAPE}, nullptr, true, false},
  };
  Fonts fonts;
  for (const auto& row : kCases) {
    SCOPED_TRACE(row.table.name + " " + (row.focus ? row.focus : "start") + " key " +
                 std::to_string(row.keys.front()));
    KeyboardWindow window(row.table, fonts);
    HWND drives = window.control("dlbDrive");
    for (const wchar_t* drive : {L"c:", L"d:"})
      SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive));
    SendMessageW(drives, CB_SETCURSEL, 0, 0);
    ShowWindow(window.hwnd(), SW_SHOW);
    SetForegroundWindow(window.hwnd());
    SetActiveWindow(window.hwnd());
    if (row.focus) SetFocus(window.control(row.focus));
    SetTimer(nullptr, 0, 3000, closeMenu);
    press(row.keys);

    std::vector<forms::Procedure> pressed;
    if (row.pressed) pressed.push_back(row.table.control(row.pressed).click);
    EXPECT_EQ(window.ran, pressed);
    EXPECT_EQ(window.menuOpened, row.menuOpens);
    EXPECT_EQ(SendMessageW(drives, CB_GETCURSEL, 0, 0), drives && row.driveMoves ? 1 : 0);
  }
}

// "Ripara", designed in Arial Black, shows in a heavy sans face whether the
// system has Arial Black or not.
TEST(Win32AccessibilityTest, ArialBlackShowsHeavy) {
  Fonts fonts;
  HDC dc = GetDC(nullptr);
  HGDIOBJ before = SelectObject(dc, fonts.get(L"Arial Black", 9.75));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  EXPECT_GE(metrics.tmWeight, FW_BOLD);
  EXPECT_EQ(metrics.tmPitchAndFamily & 0xF0, FF_SWISS);
  SelectObject(dc, before);
  ReleaseDC(nullptr, dc);
}

}  // namespace
}  // namespace zepo::win32
