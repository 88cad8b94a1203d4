#include "app/win32/ui.h"

#include <commctrl.h>

#include <cmath>

#include "app/win32/input_box.h"
#include "check/check_window.h"
#include "platform/errors.h"
#include "shell/event.h"

namespace zepo::win32 {

namespace {

// Keeps the installer's other windows disabled while a message or input box
// waits for its answer, as the forms runtime's boxes are modal to the whole
// application; the box's owner is disabled by the box itself.
class ApplicationModal {
 public:
  ApplicationModal(std::initializer_list<HWND> windows, HWND owner) {
    for (HWND window : windows) {
      if (window && window != owner && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabled_.push_back(window);
      }
    }
  }
  ~ApplicationModal() {
    for (HWND window : disabled_)
      if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  ApplicationModal(const ApplicationModal&) = delete;
  ApplicationModal& operator=(const ApplicationModal&) = delete;

 private:
  std::vector<HWND> disabled_;
};

}  // namespace

Win32Ui::Win32Ui(Twips twips) : twips_(twips) {
  // The manifest asks for the themed controls, which Windows XP makes
  // only for a program that has called this.
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

Win32Ui::~Win32Ui() {
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport}) delete windowOf(form);
}

HWND Win32Ui::dialogOwner() const {
  HWND active = GetActiveWindow();
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport}) {
    HWND window = this->window(form);
    if (window && window == active && IsWindowVisible(window)) return window;
  }
  HWND main = window(Form::kMain);
  if (main && IsWindowVisible(main)) return main;
  return nullptr;
}

int Win32Ui::msgBox(const std::string& prompt, int buttons, const std::string& title) {
  showShownRecords();
  HWND owner = dialogOwner();
  ApplicationModal modal(
      {window(Form::kMain), window(Form::kAbout), window(Form::kVer), window(Form::kReport)},
      owner);
  // The buttons value goes to Windows as the logic gives it: its bits are
  // Windows' own (16 MB_ICONHAND, 33 MB_OKCANCEL | MB_ICONQUESTION, 64
  // MB_ICONASTERISK).
  int answer = MessageBoxW(owner, displayText(prompt).c_str(), wide(title).c_str(),
                           static_cast<UINT>(buttons));
  // A box with OK alone answers OK however it is closed, as Windows has it
  // (Wine answers Cancel to Esc and the close box there).
  if ((buttons & MB_TYPEMASK) == MB_OK) return kIdOk;
  return answer == IDCANCEL ? kIdCancel : kIdOk;
}

std::string Win32Ui::inputBox(const std::string& prompt, const std::string& title) {
  showShownRecords();
  HWND owner = dialogOwner();
  ApplicationModal modal(
      {window(Form::kMain), window(Form::kAbout), window(Form::kVer), window(Form::kReport)},
      owner);
  return askInputBox(owner, prompt, title);
}

// Every window of this front end is a Window.
static Window& native(forms::FormWindow& window) {
  return *dynamic_cast<Window*>(&window);
}

Window* Win32Ui::windowOf(Form form) const {
  forms::FormWindow* window = formWindow(form);
  return window ? &native(*window) : nullptr;
}

HWND Win32Ui::window(Form form) const {
  Window* window = windowOf(form);
  return window ? window->hwnd() : nullptr;
}

FrmMainWindow* Win32Ui::mainWindow() const {
  return dynamic_cast<FrmMainWindow*>(formWindow(Form::kMain));
}

forms::FormWindow* Win32Ui::makeWindow(Form form) {
  return forms::newFormWindow<FrmMainWindow, FrmAboutWindow, FrmVerWindow, FrmReportWindow>(form,
                                                                                            *this);
}

bool Win32Ui::isShown(const forms::FormWindow& window) const {
  HWND hwnd = dynamic_cast<const Window&>(window).hwnd();
  return hwnd && IsWindowVisible(hwnd);
}

void Win32Ui::apply(Step step, forms::FormWindow& window) {
  HWND hwnd = native(window).hwnd();
  switch (step) {
    case Step::kPresent:
      ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
      SetForegroundWindow(hwnd);
      BringWindowToTop(hwnd);
      break;
    case Step::kConceal:
      if (hwnd) ShowWindow(hwnd, SW_HIDE);
      break;
    case Step::kRepaintNow:
      RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      break;
    case Step::kDiscard:
      if (hwnd) {
        ShowWindow(hwnd, SW_HIDE);
        DestroyWindow(hwnd);
      }
      // The object lives on until the message loop gets back.
      unloaded_.emplace_back(&native(window));
      break;
  }
}

double Win32Ui::screenWidthTwips() {
  // Device pixels: the program declares itself aware of the dots per inch,
  // so Windows does not give it a scaled-down screen.
  return GetSystemMetrics(SM_CXSCREEN) * twips_.perPixel();
}

double Win32Ui::twipsPerPixelX() {
  return twips_.perPixel();
}

void Win32Ui::quit(int exitCode) {
  PostQuitMessage(exitCode);
}

int Win32Ui::run() {
  MSG message;
  while (!ended()) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    dispatch(message);
    deleteUnloadedWindows();
  }
  return exitCode();
}

}  // namespace zepo::win32
