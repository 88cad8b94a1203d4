// Tests of the Windows front end, run under Wine with a display: the windows'
// layouts, texts, fonts, tab order and menus, the records going in and out,
// the message and input boxes and the event handler.
#include "app/win32/ui.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/win32/input_box.h"
#include "platform/errors.h"
#include "shell/drive_list.h"
#include "shell/main_window.h"
#include "tests/test_workstation.h"

namespace zepo::win32 {
namespace {

// 96 dots per inch, whatever the display has.
constexpr double kTwipsPerPixel = 15.0;

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

// Runs `answer` on the next modal box once it shows: a thread timer, which
// the box's own message loop runs.
std::function<void(HWND)> pendingAnswer;
void CALLBACK answerTick(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = shownBox();
  if (!box || !pendingAnswer) return;
  KillTimer(nullptr, id);
  auto answer = std::move(pendingAnswer);
  pendingAnswer = nullptr;
  answer(box);
}
void answerNextBox(std::function<void(HWND)> answer) {
  pendingAnswer = std::move(answer);
  SetTimer(nullptr, 0, 20, answerTick);
}

std::string itemText(HWND box, int id) {
  return windowText(GetDlgItem(box, id));
}

// A control's rectangle in its window's client coordinates.
RECT placeOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void expectPlace(HWND control, int left, int top, int width, int height) {
  RECT rect = placeOf(control);
  EXPECT_EQ(rect.left, left) << windowText(control);
  EXPECT_EQ(rect.top, top) << windowText(control);
  EXPECT_EQ(rect.right - rect.left, width) << windowText(control);
  EXPECT_EQ(rect.bottom - rect.top, height) << windowText(control);
}

LOGFONTW fontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

std::vector<int> tabOrder(HWND window, int count) {
  std::vector<int> ids;
  HWND control = GetNextDlgTabItem(window, nullptr, FALSE);
  for (int i = 0; i < count && control; ++i) {
    ids.push_back(GetDlgCtrlID(control));
    control = GetNextDlgTabItem(window, control, FALSE);
  }
  return ids;
}

struct Fixture {
  TestWorkstation ws;
  Win32Ui ui{Twips(kTwipsPerPixel)};
  Installer app{ws.platform(), ui};
  Fixture() { ui.attach(app); }
};

TEST(Win32UiTest, MainWindowLayoutMenusAndTabOrder) {
  Fixture f;
  f.app.frmMain.drive = driveListEntries(f.ws.platform()).front();
  f.ui.show(Form::kMain);
  HWND main = f.ui.window(Form::kMain);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(windowText(main), "MORVICAN - Installazione Client ZEPO");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 381);   // 5715 twips
  EXPECT_EQ(client.bottom, 209);  // 3135 twips, below the menu bar
  EXPECT_NE(GetWindowLongW(main, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
  // The icon with its two image sizes.
  for (auto [index, size] : {std::pair{GCLP_HICON, 32}, std::pair{GCLP_HICONSM, 16}}) {
    ICONINFO icon{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(main, index)), &icon));
    BITMAP colour{};
    GetObjectW(icon.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
  }

  FrmMainWindow& w = *f.ui.mainWindow();
  // Inside the frame at (120, 120) twips, 8 pixels.
  expectPlace(w.control(kTxtServer), 16, 48, 105, 19);
  expectPlace(w.control(kTxtIP), 128, 48, 97, 19);
  expectPlace(w.control(kTxtPosto), 184, 96, 25, 19);
  expectPlace(w.control(kFrame1), 8, 8, 233, 121);
  expectPlace(w.control(kCmdCheck), 272, 16, 81, 33);
  expectPlace(w.control(kLblAttendi), 168, 152, 185, 33);
  EXPECT_EQ(itemText(main, kFrame1), "Dati del Server");
  EXPECT_EQ(itemText(main, kLabel4), "Drive locale di destinazione");
  EXPECT_EQ(itemText(main, kTxtIP), "255.255.255.255");
  EXPECT_FALSE(IsWindowVisible(w.control(kLblAttendi)));

  LOGFONTW button = fontOf(w.control(kCmdInstalla));
  EXPECT_STREQ(button.lfFaceName, L"Arial");
  EXPECT_EQ(button.lfWeight, FW_BOLD);
  EXPECT_EQ(button.lfHeight, -16);  // 12 pt at 96 dpi
  LOGFONTW frame = fontOf(w.control(kFrame1));
  EXPECT_STREQ(frame.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(frame.lfWeight, FW_BOLD);
  EXPECT_EQ(fontOf(w.control(kTxtServer)).lfWeight, FW_NORMAL);

  EXPECT_EQ(tabOrder(main, 9),
            (std::vector<int>{kDlbDrive, kCmdInstalla, kCmdEsci, kTxtServer, kTxtIP, kTxtPath,
                              kCmdCheck, kTxtPosto, kDlbDrive}));

  HMENU bar = GetMenu(main);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  auto caption = [](HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return narrow(text);
  };
  EXPECT_EQ(caption(bar, 0), "File");
  EXPECT_EQ(caption(bar, 1), "Esegui");
  EXPECT_EQ(caption(bar, 2), "?");
  EXPECT_EQ(caption(GetSubMenu(bar, 0), 0), "Nome Server");
  EXPECT_EQ(caption(GetSubMenu(bar, 0), 1), "Esci");
  EXPECT_EQ(caption(GetSubMenu(bar, 1), 0), "Installa Client");
  EXPECT_EQ(caption(GetSubMenu(bar, 1), 1), "Verifica installazione");
  EXPECT_EQ(caption(GetSubMenu(bar, 2), 0), "Sommario");
  EXPECT_EQ(caption(GetSubMenu(bar, 2), 1), "Informazioni");
}

TEST(Win32UiTest, MainWindowRecordGoesInAndComesBack) {
  Fixture f;
  std::vector<std::string> drives = driveListEntries(f.ws.platform());
  ASSERT_GE(drives.size(), 2u);
  f.app.frmMain.txtServer = "ZEPOSRV";
  f.app.frmMain.txtPath = "dati città";
  f.app.frmMain.drive = drives[0];
  f.app.frmMain.lblAttendiCaption = "Attendere...";
  f.app.frmMain.lblAttendiVisible = true;
  f.ui.show(Form::kMain);
  HWND main = f.ui.window(Form::kMain);
  FrmMainWindow& w = *f.ui.mainWindow();
  EXPECT_EQ(itemText(main, kTxtServer), "ZEPOSRV");
  EXPECT_EQ(itemText(main, kTxtPath), "dati città");
  EXPECT_EQ(itemText(main, kLblAttendi), "Attendere...");
  EXPECT_TRUE(IsWindowVisible(w.control(kLblAttendi)));
  HWND combo = w.control(kDlbDrive);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(drives.size()));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);

  // What the operator types is in the record at once.
  SetWindowTextW(w.control(kTxtPosto), L"7");
  SetWindowTextW(w.control(kTxtIP), L"10.0.0.1");
  EXPECT_EQ(f.app.frmMain.txtPosto, "7");
  EXPECT_EQ(f.app.frmMain.txtIP, "10.0.0.1");
  // Choosing a drive sets it through the logic.
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  SendMessageW(main, WM_COMMAND, MAKEWPARAM(kDlbDrive, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(f.app.frmMain.drive, drives[1]);

  f.app.frmMain.lblAttendiVisible = false;
  f.ui.refresh(Form::kMain);
  EXPECT_FALSE(IsWindowVisible(w.control(kLblAttendi)));
}

TEST(Win32UiTest, MessageAndInputBoxes) {
  Fixture f;
  std::string text, title;
  bool hasCancel = true;
  answerNextBox([&](HWND box) {
    title = windowText(box);
    text = itemText(box, 0xFFFF);
    hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(f.ui.msgBox("Se non si specifica il nome del server\ril programma non può essere "
                        "eseguito.",
                        kMbInformation, "Client ZEPO"),
            kIdOk);
  EXPECT_EQ(title, "Client ZEPO");
  EXPECT_EQ(text,
            "Se non si specifica il nome del server\r\nil programma non può essere eseguito.");
  EXPECT_FALSE(hasCancel);

  answerNextBox([](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(f.ui.msgBox("Procedo?", kMbOkCancelQuestion, "Installazione Client ZEPO"), kIdCancel);

  std::string field = "not empty";
  std::string ok, cancel;
  answerNextBox([&](HWND box) {
    title = windowText(box);
    text = itemText(box, kInputPrompt);
    field = itemText(box, kInputField);
    ok = itemText(box, IDOK);
    cancel = itemText(box, IDCANCEL);
    EXPECT_EQ(GetFocus(), GetDlgItem(box, kInputField));
    SetDlgItemTextW(box, kInputField, L"ZEPOSRV");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(f.ui.inputBox("Inserire il nome del server", "Client ZEPO"), "ZEPOSRV");
  EXPECT_EQ(title, "Client ZEPO");
  EXPECT_EQ(text, "Inserire il nome del server");
  EXPECT_EQ(field, "");
  EXPECT_EQ(ok, "OK");
  EXPECT_EQ(cancel, "Annulla");

  answerNextBox([](HWND box) {
    SetDlgItemTextW(box, kInputField, L"typed, then cancelled");
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(f.ui.inputBox("Inserire il nome del server", "Client ZEPO"), "");
}

TEST(Win32UiTest, EventHandlerEndsOnEndAndOnRuntimeErrors) {
  {
    Fixture f;
    EXPECT_TRUE(f.ui.runEvent([](Installer&) {}));
    EXPECT_FALSE(f.ui.runEvent([](Installer&) { endInstaller(); }));
    EXPECT_TRUE(f.ui.ended());
    EXPECT_EQ(f.ui.exitCode(), 0);
    bool ran = false;
    EXPECT_FALSE(f.ui.runEvent([&](Installer&) { ran = true; }));
    EXPECT_FALSE(ran);
  }
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  Fixture f;
  std::string text, title;
  answerNextBox([&](HWND box) {
    title = windowText(box);
    text = itemText(box, 0xFFFF);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(f.ui.runEvent([](Installer&) { throw RuntimeError(53); }));
  EXPECT_EQ(title, "clientZEPO");
  EXPECT_EQ(text, narrow(displayText(runtimeErrorPrompt(RuntimeError(53)))));
  EXPECT_EQ(f.ui.exitCode(), 1);
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

// A check run shows its window, then fills the record; a box that comes
// meanwhile shows over the window as the record is then, not as it was
// shown (Text1, Text2).
TEST(Win32UiTest, BoxShowsOverTheWindowsAsTheirRecordsAreNow) {
  Fixture f;
  f.ui.show(Form::kVer);
  HWND ver = f.ui.window(Form::kVer);
  ASSERT_NE(ver, nullptr);
  f.app.esito.txtDir[0] = "D:\\ZEPO";
  f.app.esito.txtCheck[0] = StateBox{"OK", false};
  std::string folder, state;
  answerNextBox([&](HWND box) {
    folder = itemText(ver, kTxtDir0);
    state = itemText(ver, kTxtCheck0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  f.ui.msgBox("Errore durante l'agg. dei file di sistema", kMbCritical, "");
  EXPECT_EQ(folder, "D:\\ZEPO");
  EXPECT_EQ(state, "OK");
}

TEST(Win32UiTest, CheckWindowStatesAndOneInstancePerKind) {
  Fixture f;
  f.app.esito.txtCheck[2] = StateBox{"ERR", true};
  f.app.esito.txtSistema = StateBox{"ERR", true};
  f.app.esito.cmdReportEnabled = false;
  f.ui.show(Form::kVer);
  HWND ver = f.ui.window(Form::kVer);
  ASSERT_NE(ver, nullptr);
  EXPECT_EQ(windowText(ver), "Verifica");
  RECT client;
  GetClientRect(ver, &client);
  EXPECT_EQ(client.right, 336);
  EXPECT_EQ(client.bottom, 361);
  HWND check2 = GetDlgItem(ver, kTxtCheck0 + 2);
  HWND sistema = GetDlgItem(ver, kTxtSistema);
  // The state boxes stand level with their folders.
  EXPECT_EQ(placeOf(check2).top, placeOf(GetDlgItem(ver, kTxtDir0 + 2)).top);
  EXPECT_EQ(itemText(ver, kTxtCheck0 + 2), "ERR");
  EXPECT_EQ(fontOf(check2).lfWeight, FW_BOLD);
  EXPECT_EQ(fontOf(GetDlgItem(ver, kTxtCheck0)).lfWeight, FW_NORMAL);
  EXPECT_TRUE(isEmphasised(sistema));
  EXPECT_FALSE(IsWindowEnabled(sistema));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(ver, kCmdRipara)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(ver, kCmdReport)));
  EXPECT_EQ(itemText(ver, kVerLabel2), "}");
  EXPECT_EQ(fontOf(GetDlgItem(ver, kVerLabel2)).lfHeight, -80);  // 60 pt
  // The red of an emphasised state box.
  HDC dc = GetDC(check2);
  SendMessageW(ver, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(check2));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  ReleaseDC(check2, dc);
  EXPECT_EQ(tabOrder(ver, 3), (std::vector<int>{kCmdTorna, kTxtDir0, kTxtDir0 + 1}));

  f.app.esito.cmdRiparaVisible = true;
  f.ui.show(Form::kVer);
  EXPECT_EQ(f.ui.window(Form::kVer), ver);  // the same window
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(ver, kCmdRipara)));
  f.ui.hide(Form::kVer);
  EXPECT_FALSE(IsWindowVisible(ver));
  f.ui.unload(Form::kVer);
  EXPECT_EQ(f.ui.window(Form::kVer), nullptr);
  EXPECT_FALSE(IsWindow(ver));

  f.app.esito.txtReport = "riga 1\r\nriga 2";
  f.ui.show(Form::kReport);
  HWND report = f.ui.window(Form::kReport);
  EXPECT_EQ(windowText(report), "Report Errori");
  HWND txtReport = GetDlgItem(report, kTxtReport);
  EXPECT_EQ(windowText(txtReport), "riga 1\r\nriga 2");
  LONG style = GetWindowLongW(txtReport, GWL_STYLE);
  EXPECT_NE(style & ES_MULTILINE, 0);
  EXPECT_NE(style & ES_READONLY, 0);
  EXPECT_NE(style & WS_VSCROLL, 0);
  // Its close box only hides it.
  SendMessageW(report, WM_CLOSE, 0, 0);
  EXPECT_EQ(f.ui.window(Form::kReport), report);
  EXPECT_FALSE(IsWindowVisible(report));
}

// Explorer shows the icon and the version of the file's resources; the
// about window shows the program's version: one version, from the build.
TEST(Win32UiTest, ResourcesCarryTheIconAndTheProgramsVersion) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon) DestroyIcon(icon);
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  DWORD size = GetFileVersionInfoSizeW(self, nullptr);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(self, 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), kProgramVersion.major);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), kProgramVersion.minor);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), kProgramVersion.revision);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\041004E4\\ProductVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_EQ(std::wstring(text), std::to_wstring(kProgramVersion.major) + L"." +
                                    std::to_wstring(kProgramVersion.minor) + L"." +
                                    std::to_wstring(kProgramVersion.revision));
}

TEST(Win32UiTest, AboutWindowClosesWithEnterOrEsc) {
  Fixture f;
  frmMain::mnuInfo_Click(f.app);
  HWND about = f.ui.window(Form::kAbout);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(windowText(about), "Informazioni su clientZEPO");
  EXPECT_EQ(itemText(about, kLblVersion), "Versione 3.0.0");
  EXPECT_EQ(itemText(about, kLblTitle), "clientZEPO");
  EXPECT_EQ(GetWindowLongW(about, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
            0);
  EXPECT_NE(GetWindowLongW(GetDlgItem(about, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
  frmMain::mnuInfo_Click(f.app);
  EXPECT_EQ(f.ui.window(Form::kAbout), about);  // not a second one
  // Esc comes to the window as the cancel command.
  SendMessageW(about, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(f.ui.window(Form::kAbout), nullptr);
  f.ui.deleteUnloadedWindows();
  frmMain::mnuInfo_Click(f.app);
  about = f.ui.window(Form::kAbout);
  ASSERT_NE(about, nullptr);
  SendMessageW(about, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(f.ui.window(Form::kAbout), nullptr);
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
