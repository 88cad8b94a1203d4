// Tests of the Windows front end, run under Wine with a display: the windows
// as built against their design tables, the cases both front ends share
// (the boxes, the main window's record, the ends), what closing each window
// does, the check window's states and what the program reads of the screen.
#include "app/win32/ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/forms/form_test_support.h"
#include "app/win32/input_box.h"
#include "shell/main_window.h"
#include "tests/test_workstation.h"

namespace zepo::win32 {
namespace {

using forms::test::BoxSeen;
using forms::test::Close;

BOOL CALLBACK findShownBox(HWND hwnd, LPARAM result) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(result) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The modal box of this thread that is showing, or null.
HWND shownBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findShownBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs `open` and hands the modal box that it shows, if any, to `answer`
// once it is there: a thread timer, which the box's own message loop runs.
std::function<void(HWND)> pendingAnswer;
void CALLBACK answerTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = shownBox();
  if (!box || !pendingAnswer) return;
  auto answer = std::move(pendingAnswer);
  pendingAnswer = nullptr;
  answer(box);
}
void whileModal(std::function<void(HWND)> answer, const std::function<void()>& open) {
  pendingAnswer = std::move(answer);
  UINT_PTR timer = SetTimer(nullptr, 0, 20, answerTick);
  open();
  KillTimer(nullptr, timer);
  pendingAnswer = nullptr;
}

// What a control shows, its line ends as "\n".
std::string shownText(HWND control) {
  std::string text = windowText(control);
  std::erase(text, '\r');
  return text;
}

LOGFONTW fontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// A window of each table as its class builds it, not yet showing its
// record.
std::unique_ptr<Window> build(const forms::FormTable& table, Win32Ui& ui) {
  if (table.name == "frmMain") return std::make_unique<FrmMainWindow>(ui);
  if (table.name == "frmVer") return std::make_unique<FrmVerWindow>(ui);
  if (table.name == "frmReport") return std::make_unique<FrmReportWindow>(ui);
  return std::make_unique<FrmAboutWindow>(ui);
}

bool hasClass(HWND control, const wchar_t* expected) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  return lstrcmpiW(name, expected) == 0;
}

// What a control of that kind is: its window class and the style bits that
// make it one.
bool isKind(HWND control, const forms::ControlDesign& design) {
  LONG style = GetWindowLongW(control, GWL_STYLE);
  switch (design.kind) {
    case forms::Kind::kLabel:
      return hasClass(control, L"Static") &&
             (style & SS_TYPEMASK) == (design.centred ? SS_CENTER : SS_LEFT);
    case forms::Kind::kPicture:
      return hasClass(control, L"Static") && (style & SS_TYPEMASK) == SS_BITMAP &&
             SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
    case forms::Kind::kTextBox:
      return hasClass(control, L"Edit") && !(style & ES_MULTILINE);
    case forms::Kind::kMultiLineText:
      return hasClass(control, L"Edit") && (style & ES_MULTILINE) && (style & ES_READONLY) &&
             (style & WS_VSCROLL);
    case forms::Kind::kButton:
      return hasClass(control, L"Button") &&
             (style & BS_TYPEMASK) == (design.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case forms::Kind::kFrame:
      return hasClass(control, L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX;
    case forms::Kind::kDriveList:
      return hasClass(control, L"ComboBox") && (style & 3) == CBS_DROPDOWNLIST;
  }
  return false;
}

std::string menuCaption(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return narrow(text);
}

// What the Win32 windows show of their tables.
struct Win32Probe {
  TestWorkstation ws;
  std::unique_ptr<Win32Ui> ui = {};
  std::unique_ptr<Installer> app = {};
  std::unique_ptr<Window> window = {};
  const forms::FormTable* table = nullptr;
  int dpi = 0;

  void open(const forms::FormTable& shown, double perPixel) {
    window.reset();
    if (!ui || ui->twipsPerPixelX() != perPixel) {
      app.reset();
      ui = std::make_unique<Win32Ui>(Twips(perPixel));
      app = std::make_unique<Installer>(ws.platform(), *ui);
      ui->attach(*app);
    }
    table = &shown;
    window = build(shown, *ui);
    ShowWindow(window->hwnd(), SW_SHOWNA);
    UpdateWindow(window->hwnd());
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  std::string caption() { return windowText(window->hwnd()); }
  std::pair<int, int> clientSize() {
    RECT client;
    GetClientRect(window->hwnd(), &client);
    return {client.right, client.bottom};
  }
  double fontSize(double points) { return -std::lround(points * dpi / 72.0); }

  std::optional<forms::test::ControlSeen> seen(const forms::ControlDesign& design) {
    HWND control = window->control(design.name);
    if (!control) return std::nullopt;
    RECT at;
    GetWindowRect(control, &at);
    MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&at), 2);
    const LOGFONTW font = fontOf(control);
    forms::test::ControlSeen seen(isKind(control, design) && GetParent(control) == window->hwnd(),
                                  at.left, at.top, at.right - at.left, at.bottom - at.top,
                                  (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0,
                                  IsWindowEnabled(control) != FALSE, windowText(control),
                                  double(font.lfHeight), narrow(font.lfFaceName),
                                  font.lfWeight == FW_BOLD);
    // A picture's box takes the size of its picture; a drop-down list is as
    // high as its font makes it; Arial Black may be stood in for
    // (accessibility_test).
    if (design.kind == forms::Kind::kPicture) seen.width = seen.height = std::nullopt;
    if (design.kind == forms::Kind::kDriveList) seen.height = std::nullopt;
    if (std::string(design.font.family) == "Arial Black") seen.face = std::nullopt;
    return seen;
  }
  std::vector<std::string> tabChain() {
    SendMessageW(window->hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    std::vector<std::string> names;
    for (HWND at = GetFocus(); at && names.size() < 50;) {
      for (const forms::ControlDesign& design : table->controls)
        if (window->control(design.name) == at) names.push_back(design.name);
      at = GetNextDlgTabItem(window->hwnd(), at, FALSE);
      if (at == GetFocus()) break;
    }
    return names;
  }
  std::vector<std::string> menus() {
    HMENU bar = GetMenu(window->hwnd());
    std::vector<std::string> captions;
    for (int m = 0; bar && m < GetMenuItemCount(bar); ++m) captions.push_back(menuCaption(bar, m));
    for (int m = 0; bar && m < GetMenuItemCount(bar); ++m)
      for (int i = 0; i < GetMenuItemCount(GetSubMenu(bar, m)); ++i)
        captions.push_back(captions[m] + "/" + menuCaption(GetSubMenu(bar, m), i));
    return captions;
  }
  std::uint32_t pixel(int x, int y) {
    HDC dc = GetDC(window->hwnd());
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window->hwnd(), dc);
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
  }
};

TEST(Win32UiTest, EveryWindowMatchesItsTable) {
  Win32Probe probe;
  forms::test::expectWindowsMatchTheirTables(probe);
}

// A window built from a table on a recording runner.
class RecordingWindow : public Window {
 public:
  RecordingWindow(const forms::FormTable& table, Fonts& fonts) {
    build(table, Twips(15), fonts, [this](forms::Procedure p) { ran.push_back(p); });
  }
  std::vector<forms::Procedure> ran;
};

// Each button and menu item runs its procedure.
TEST(Win32UiTest, ButtonsAndMenuItemsRunTheirProcedures) {
  Fonts fonts;
  for (const forms::FormTable* table : forms::allForms()) {
    RecordingWindow window(*table, fonts);
    auto command = [&](WPARAM wParam, LPARAM lParam) {
      window.ran.clear();
      SendMessageW(window.hwnd(), WM_COMMAND, wParam, lParam);
      return window.ran;
    };
    forms::test::expectWiring(
        *table,
        [&](const forms::ControlDesign& design) {
          return command(MAKEWPARAM(window.controlId(design.name), BN_CLICKED),
                         reinterpret_cast<LPARAM>(window.control(design.name)));
        },
        [&](std::size_t m, std::size_t i) {
          return command(GetMenuItemID(GetSubMenu(GetMenu(window.hwnd()), int(m)), int(i)), 0);
        });
  }
}

// The shared cases' driver: the operator's keys and clicks on the Win32
// windows and boxes.
struct Win32Driver {
  Win32Ui& ui;
  Installer& app;

  HWND widget(Form form, const std::string& name) {
    return name.empty() ? ui.window(form) : ui.windowOf(form)->control(name);
  }
  std::string text(Form form, const std::string& name) { return shownText(widget(form, name)); }
  bool shown(Form form, const std::string& name) { return IsWindowVisible(widget(form, name)); }
  void type(Form form, const std::string& name, const std::string& text) {
    HWND box = widget(form, name);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    for (wchar_t c : wide(text)) SendMessageW(box, WM_CHAR, c, 0);
  }
  void pickDrive(int index) {
    HWND list = widget(Form::kMain, "dlbDrive");
    for (int i = 0; i < 10 && SendMessageW(list, CB_GETCURSEL, 0, 0) != index; ++i) {
      bool up = SendMessageW(list, CB_GETCURSEL, 0, 0) > index;
      SendMessageW(list, WM_KEYDOWN, up ? VK_UP : VK_DOWN, 0);
    }
  }
  const void* handle(Form form) { return ui.window(form); }
  bool close(Form form, Close how) {
    // Enter and Esc come as the commands that the message loop makes of them.
    HWND window = ui.window(form);
    if (how == Close::kCloseBox)
      SendMessageW(window, WM_CLOSE, 0, 0);
    else
      SendMessageW(window, WM_COMMAND, how == Close::kEnter ? IDOK : IDCANCEL, 0);
    ui.deleteUnloadedWindows();
    return !IsWindow(window);
  }
  BoxSeen ask(const std::function<void()>& open, Close close, const std::string& typed) {
    BoxSeen seen;
    whileModal(
        [&](HWND box) {
          seen.title = windowText(box);
          seen.text = shownText(GetDlgItem(box, GetDlgItem(box, 0xFFFF) ? 0xFFFF : kInputPrompt));
          for (HWND child = GetWindow(box, GW_CHILD); child;
               child = GetWindow(child, GW_HWNDNEXT)) {
            int id = GetDlgCtrlID(child);
            if (hasClass(child, L"Button") && IsWindowVisible(child))
              seen.buttons.push_back(id == IDOK ? "OK" : id == IDCANCEL ? "Annulla" : "?");
            LONG style = GetWindowLongW(child, GWL_STYLE);
            if (hasClass(child, L"Static") && (style & SS_TYPEMASK) == SS_ICON) {
              auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
              for (auto [kind, name] : {std::pair{16, 32513}, {32, 32514}, {64, 32516}})
                if (icon == LoadIconW(nullptr, MAKEINTRESOURCEW(name))) seen.icon = kind;
            }
          }
          std::sort(seen.buttons.begin(), seen.buttons.end());
          // Keys go where the focus is, through the box's own message loop.
          HWND focus = GetFocus() ? GetFocus() : box;
          for (wchar_t c : wide(typed)) PostMessageW(focus, WM_CHAR, c, 0);
          if (close == Close::kEnter || close == Close::kEsc)
            PostMessageW(focus, WM_KEYDOWN, close == Close::kEnter ? VK_RETURN : VK_ESCAPE, 0);
          else if (close == Close::kCloseBox)
            PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
          else
            PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
        },
        open);
    return seen;
  }
};

struct Fixture {
  TestWorkstation ws;
  Win32Ui ui{Twips(15)};  // 96 dots per inch, whatever the display has
  Installer app{ws.platform(), ui};
  Win32Driver driver{ui, app};
  Fixture() { ui.attach(app); }
  ~Fixture() {  // the end of the installer posted the message loop's quit
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
};

TEST(Win32UiTest, BoxesAndTheirAnswers) {
  Fixture f;
  forms::test::expectBoxes(f.driver);
}

TEST(Win32UiTest, MainWindowRecordBothWays) {
  Fixture f;
  forms::test::expectMainWindowRecord(f.driver);
}

TEST(Win32UiTest, EndsAndRuntimeErrors) {
  for (const forms::test::EndCase& end : forms::test::kEndCases) {
    Fixture f;
    forms::test::expectEnd(f.driver, end);
  }
}

TEST(Win32UiTest, WhatClosingEachWindowDoes) {
  Fixture f;
  forms::test::expectClosing(f.driver);
}

// A state in error is bold and red, also in the disabled txtSistema, which
// draws its own text; "Ripara" shown takes its place in the focus chain.
TEST(Win32UiTest, CheckWindowStates) {
  Fixture f;
  f.app.esito.txtCheck[2] = StateBox{"ERR", true};
  f.app.esito.txtSistema = StateBox{"ERR", true};
  f.app.esito.cmdReportEnabled = false;
  f.app.esito.cmdRiparaVisible = true;
  f.ui.show(Form::kVer);
  HWND ver = f.ui.window(Form::kVer);
  Window& w = *f.ui.windowOf(Form::kVer);
  HWND check2 = w.control("txtCheck_2");
  EXPECT_EQ(windowText(check2), "ERR");
  EXPECT_EQ(fontOf(check2).lfWeight, FW_BOLD);
  EXPECT_EQ(fontOf(w.control("txtCheck_0")).lfWeight, FW_NORMAL);
  EXPECT_TRUE(isEmphasised(w.control("txtSistema")));
  EXPECT_FALSE(IsWindowEnabled(w.control("cmdReport")));
  HDC dc = GetDC(check2);
  SendMessageW(ver, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(check2));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  ReleaseDC(check2, dc);
  EXPECT_EQ(GetNextDlgTabItem(ver, w.control("cmdTorna"), FALSE), w.control("cmdRipara"));
}

// Explorer shows the icon and the version of the file's resources; the
// about window shows the program's version: one version, from the build.
TEST(Win32UiTest, ResourcesCarryTheIconAndTheProgramsVersion) {
  for (int size : {16, 32}) {
    HANDLE icon =
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0);
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::vector<BYTE> info(GetFileVersionInfoSizeW(self, nullptr));
  ASSERT_TRUE(GetFileVersionInfoW(self, 0, DWORD(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD(kProgramVersion.major << 16 | kProgramVersion.minor));
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), kProgramVersion.revision);
}

// What the Windows front end reads of the screen at the usual scalings
// (100 %, 104 %, 125 %, 150 %, 200 %): its width in device pixels and
// 1440 / dots per inch twips to a pixel, a fraction at 100 and 144 dpi.
// A program's dots per inch are fixed when it starts: each reading is a
// child process started after the user's setting was changed.
TEST(Win32ScreenFacts, DevicePixelsAndUnroundedTwipsAtEveryScaling) {
  HKEY desktop = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &desktop, nullptr),
            ERROR_SUCCESS);
  DWORD before = 0, size = sizeof before;
  const bool had = RegQueryValueExW(desktop, L"LogPixels", nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&before), &size) == ERROR_SUCCESS;
  const int pixels = GetSystemMetrics(SM_CXSCREEN);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring command =
      L"\"\"" + std::wstring(self) + L"\" --gtest_filter=Win32ScreenFactsChild.*\"";
  SetEnvironmentVariableW(L"ZEPO_SCREEN_FACTS", L"1");
  for (DWORD dpi : {96, 100, 120, 144, 192}) {
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
    std::string out;
    if (FILE* child = _wpopen(command.c_str(), L"r")) {
      char buffer[256];
      while (std::fgets(buffer, sizeof buffer, child)) out += buffer;
      _pclose(child);
    }
    double width = 0, perPixel = 0;
    const std::size_t at = out.find("facts ");
    ASSERT_NE(at, std::string::npos) << out;
    ASSERT_EQ(std::sscanf(out.c_str() + at, "facts %lf %lf", &width, &perPixel), 2);
    EXPECT_DOUBLE_EQ(perPixel, 1440.0 / dpi) << dpi;
    EXPECT_EQ(std::nearbyint(width / perPixel), pixels) << dpi;
  }
  SetEnvironmentVariableW(L"ZEPO_SCREEN_FACTS", nullptr);
  if (had) {
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before),
                   sizeof before);
  } else {
    RegDeleteValueW(desktop, L"LogPixels");
  }
  RegCloseKey(desktop);
}

TEST(Win32ScreenFactsChild, PrintsWhatTheFrontEndReads) {
  if (!std::getenv("ZEPO_SCREEN_FACTS")) GTEST_SKIP() << "started by Win32ScreenFacts";
  Win32Ui ui(Twips::ofScreen());
  std::printf("facts %.17g %.17g\n", ui.screenWidthTwips(), ui.twipsPerPixelX());
  std::fflush(stdout);
}

}  // namespace
}  // namespace zepo::win32
