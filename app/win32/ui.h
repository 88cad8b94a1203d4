// The installer's user interface on Win32: message and input boxes, the four
// windows (one instance of each, created on first use, never modal), and the
// handler that runs the logic's event procedures.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/controls.h"
#include "app/win32/form_windows.h"
#include "shell/installer.h"
#include "shell/ui.h"

namespace zepo::win32 {

class Win32Ui : public Ui {
 public:
  explicit Win32Ui(Twips twips);
  ~Win32Ui() override;

  // The installer whose records the windows show and whose procedures they
  // run. Set once, before any window is used.
  void attach(Installer& app) { app_ = &app; }
  Installer& app() const { return *app_; }
  const Twips& twips() const { return twips_; }
  Fonts& fonts() { return fonts_; }

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;
  void show(Form form) override;
  void hide(Form form) override;
  void unload(Form form) override;
  void refresh(Form form) override;
  double screenWidthTwips() override;
  double twipsPerPixelX() override;

  // Runs one event procedure of the logic. When the procedure ends the
  // installer, the message loop is told to quit; when it fails with a
  // runtime error that no procedure trapped, the runtime's error box shows
  // it and then the message loop is told to quit. Returns false once the
  // installer has ended (then no procedure runs any more).
  bool runEvent(const std::function<void(Installer&)>& procedure);
  bool ended() const { return ended_; }
  // 0 after an end of the installer, 1 after a runtime error.
  int exitCode() const { return exitCode_; }

  // The window of a kind, or null while it does not exist.
  HWND window(Form form) const;
  FrmMainWindow* mainWindow() const { return main_.get(); }
  // The object of the window of a kind, or null while it does not exist.
  Window* windowOf(Form form) const;

  // The close box of the check window destroyed it.
  void checkWindowClosed();
  // Deletes the windows that were unloaded from their own handlers; the
  // message loop calls it between messages.
  void deleteUnloadedWindows() { unloaded_.clear(); }

  // Runs the message loop until the installer ends; Tab and the default and
  // cancel buttons work in every window. Returns the exit code.
  int run();

 private:
  void createWindow(Form form);
  void showRecord(Form form);
  void showShownRecords();
  void end(int exitCode);
  HWND dialogOwner() const;

  Installer* app_ = nullptr;
  Twips twips_;
  Fonts fonts_;
  std::unique_ptr<FrmMainWindow> main_;
  std::unique_ptr<FrmAboutWindow> about_;
  std::unique_ptr<FrmVerWindow> ver_;
  std::unique_ptr<FrmReportWindow> report_;
  std::vector<std::unique_ptr<Window>> unloaded_;
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace zepo::win32
