// The Windows front end through a screen reader and from the keyboard, run
// under Wine with a display: the name a screen reader gives every control,
// Enter and Space on the focused button, the menu bar from any control, and
// the heavy face of the captions designed in Arial Black.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/input_box.h"
#include "app/win32/ui.h"
#include "tests/test_workstation.h"

namespace zepo::win32 {
namespace {

std::string className(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  return narrow(name);
}

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

// Every control of every window says what the tables name it (a row says
// its folder as the window now shows it), in the main window as its literal
// table says, with the role of its class; the input box's field says its
// prompt.
TEST(Win32AccessibilityTest, EveryControlSaysItsName) {
  TestWorkstation ws;
  Win32Ui ui{Twips(15)};
  Installer app{ws.platform(), ui};
  ui.attach(app);
  for (int i = 0; i < EsitoVerifica::kRows; ++i)
    app.esito.txtDir[i] = "D:\\ZEPO\\R" + std::to_string(i);
  app.esito.cmdRiparaVisible = true;
  const std::pair<Form, const forms::FormTable*> windows[] = {{Form::kMain, &forms::mainForm()},
                                                              {Form::kVer, &forms::checkForm()},
                                                              {Form::kReport, &forms::reportForm()},
                                                              {Form::kAbout, &forms::aboutForm()}};
  for (auto [form, table] : windows) {
    ui.show(form);
    for (const forms::ControlDesign& design : table->controls) {
      std::string folder;
      if (forms::isRow(design)) folder = app.esito.txtDir[design.name.back() - '0'];
      EXPECT_EQ(spokenName(ui.windowOf(form)->control(design.name)),
                forms::accessibleName(*table, design, folder))
          << table->name << "." << design.name;
    }
  }

  const struct {
    Form form;
    const char* control;
    const char* role;
    const char* name;
  } kSpoken[] = {
      {Form::kMain, "dlbDrive", "ComboBox", "Drive locale di destinazione"},
      {Form::kMain, "cmdInstalla", "Button", "Installa"},
      {Form::kMain, "cmdEsci", "Button", "Esci"},
      {Form::kMain, "txtServer", "Edit", "Nome"},
      {Form::kMain, "txtIP", "Edit", "Indirizzo IP"},
      {Form::kMain, "txtPath", "Edit", "Cartella dati Client"},
      {Form::kMain, "cmdCheck", "Button", "Verifica"},
      {Form::kMain, "txtPosto", "Edit", "N. client"},
      {Form::kMain, "Frame1", "Button", "Dati del Server"},
      {Form::kVer, "txtDir_3", "Edit", "Cartella D:\\ZEPO\\R3"},
      {Form::kVer, "txtCheck_3", "Edit", "Stato D:\\ZEPO\\R3"},
      {Form::kVer, "txtSistema", "Edit", "Files .INI"},
      {Form::kReport, "txtReport", "Edit", "Report Errori"},
  };
  for (const auto& row : kSpoken) {
    HWND control = ui.windowOf(row.form)->control(row.control);
    EXPECT_EQ(className(control), row.role) << row.control;
    EXPECT_EQ(spokenName(control), row.name) << row.control;
  }

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

// A key pressed and released on the focused control; Alt (VK_MENU) and F10
// are system keys.
void press(UINT key) {
  const bool system = key == VK_MENU || key == VK_F10;
  LPARAM data = 1 | LPARAM(MapVirtualKeyW(key, 0)) << 16 | (key == VK_MENU ? 1 << 29 : 0);
  PostMessageW(GetFocus(), system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, data);
  PostMessageW(GetFocus(), system ? WM_SYSKEYUP : WM_KEYUP, key, data | 0xC0000000);
}

// Enter and Space press the focused button, also the one focused from the
// start; Enter in a field presses nothing, as no button is the default one
// but the about window's; F10 and Alt open the menu bar from the drive list,
// and the arrow keys that follow go to the menu, not to the list.
TEST(Win32AccessibilityTest, KeysPressTheFocusedButtonAndOpenTheMenus) {
  const struct {
    const forms::FormTable& table;
    const char* focus;  // null: where the focus starts
    std::vector<UINT> keys;
    const char* pressed;  // null: none
    bool menuOpens, driveMoves;
  } kCases[] = {
      {forms::checkForm(), nullptr, {VK_RETURN}, "cmdTorna", false, false},
      {forms::checkForm(), nullptr, {VK_SPACE}, "cmdTorna", false, false},
      {forms::mainForm(), "cmdCheck", {VK_RETURN}, "cmdCheck", false, false},
      {forms::mainForm(), "txtPosto", {VK_RETURN}, nullptr, false, false},
      {forms::aboutForm(), nullptr, {VK_RETURN}, "cmdOK", false, false},
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
    ASSERT_EQ(GetFocus(),
              window.control(row.focus ? row.focus : row.table.tabOrder().front()->name));

    SetTimer(nullptr, 0, 3000, closeMenu);
    for (UINT key : row.keys) press(key);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(message);

    std::vector<forms::Procedure> pressed;
    if (row.pressed) pressed.push_back(row.table.control(row.pressed).click);
    EXPECT_EQ(window.ran, pressed);
    EXPECT_EQ(window.menuOpened, row.menuOpens);
    if (drives) {
      EXPECT_EQ(SendMessageW(drives, CB_GETCURSEL, 0, 0), row.driveMoves ? 1 : 0);
    }
  }
}

// "Ripara", designed in Arial Black, shows in a heavy sans face whether the
// system has Arial Black or not; the other captions keep their faces.
TEST(Win32AccessibilityTest, ArialBlackShowsHeavy) {
  Fonts fonts;
  HDC dc = GetDC(nullptr);
  const std::pair<const wchar_t*, bool> kFaces[] = {{L"Arial Black", true}, {L"Arial", false}};
  for (auto [family, heavy] : kFaces) {
    HGDIOBJ before = SelectObject(dc, fonts.get(family, 9.75));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    EXPECT_EQ(metrics.tmWeight >= FW_BOLD, heavy) << narrow(family) << " " << metrics.tmWeight;
    EXPECT_EQ(metrics.tmPitchAndFamily & 0xF0, FF_SWISS) << narrow(family);
    SelectObject(dc, before);
  }
  ReleaseDC(nullptr, dc);
}

}  // namespace
}  // namespace zepo::win32
