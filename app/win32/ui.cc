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

Win32Ui::~Win32Ui() = default;

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

// A box waits over the windows as their records are now: the logic may have
// filled a shown window since it was last shown (a check run shows its
// window first and fills it afterwards).
void Win32Ui::showShownRecords() {
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport})
    if (HWND shown = window(form); shown && IsWindowVisible(shown)) showRecord(form);
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

Window* Win32Ui::windowOf(Form form) const {
  switch (form) {
    case Form::kMain:
      return main_.get();
    case Form::kAbout:
      return about_.get();
    case Form::kVer:
      return ver_.get();
    case Form::kReport:
      return report_.get();
  }
  return nullptr;
}

HWND Win32Ui::window(Form form) const {
  Window* window = windowOf(form);
  return window ? window->hwnd() : nullptr;
}

void Win32Ui::createWindow(Form form) {
  switch (form) {
    case Form::kMain:
      if (!main_) main_ = std::make_unique<FrmMainWindow>(*this);
      break;
    case Form::kAbout:
      if (!about_) about_ = std::make_unique<FrmAboutWindow>(*this);
      break;
    case Form::kVer:
      if (!ver_) ver_ = std::make_unique<FrmVerWindow>(*this);
      break;
    case Form::kReport:
      if (!report_) report_ = std::make_unique<FrmReportWindow>(*this);
      break;
  }
}

void Win32Ui::showRecord(Form form) {
  switch (form) {
    case Form::kMain:
      main_->showRecord();
      break;
    case Form::kAbout:
      about_->showRecord();
      break;
    case Form::kVer:
      ver_->showRecord();
      break;
    case Form::kReport:
      report_->showRecord();
      break;
  }
}

void Win32Ui::show(Form form) {
  createWindow(form);
  showRecord(form);
  HWND hwnd = window(form);
  ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
}

void Win32Ui::hide(Form form) {
  if (HWND hwnd = window(form)) ShowWindow(hwnd, SW_HIDE);
}

void Win32Ui::unload(Form form) {
  // The window may be unloading itself from one of its own handlers: its
  // object lives on until the message loop gets back.
  std::unique_ptr<Window> gone;
  switch (form) {
    case Form::kMain:
      gone = std::move(main_);
      break;
    case Form::kAbout:
      gone = std::move(about_);
      break;
    case Form::kVer:
      gone = std::move(ver_);
      break;
    case Form::kReport:
      gone = std::move(report_);
      break;
  }
  if (!gone) return;
  if (gone->hwnd()) {
    ShowWindow(gone->hwnd(), SW_HIDE);
    DestroyWindow(gone->hwnd());
  }
  unloaded_.push_back(std::move(gone));
}

void Win32Ui::refresh(Form form) {
  createWindow(form);
  showRecord(form);
  // The logic may keep the thread busy after this: paint now, not when the
  // message loop gets round to it.
  RedrawWindow(window(form), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

double Win32Ui::screenWidthTwips() {
  // Device pixels: the program declares itself aware of the dots per inch,
  // so Windows does not give it a scaled-down screen.
  return GetSystemMetrics(SM_CXSCREEN) * twips_.perPixel();
}

double Win32Ui::twipsPerPixelX() {
  return twips_.perPixel();
}

bool Win32Ui::runEvent(const std::function<void(Installer&)>& procedure) {
  if (ended_) return false;
  if (std::optional<int> exitCode = runEventProcedure(app(), procedure)) {
    end(*exitCode);
    return false;
  }
  return !ended_;
}

void Win32Ui::end(int exitCode) {
  ended_ = true;
  exitCode_ = exitCode;
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport}) hide(form);
  PostQuitMessage(exitCode);
}

void Win32Ui::checkWindowClosed() {
  unload(Form::kVer);
  runEvent(frmVer::Form_Unload);
}

int Win32Ui::run() {
  MSG message;
  while (!ended_) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!root || !IsDialogMessageW(root, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    deleteUnloadedWindows();
  }
  return exitCode_;
}

}  // namespace zepo::win32
