// The installer's user interface on Qt: message and input boxes, the four
// windows (one instance of each, created on first use, never modal), and the
// event loop's handler that runs the logic's event procedures.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "app/qt/frm_about.h"
#include "app/qt/frm_main.h"
#include "app/qt/frm_report.h"
#include "app/qt/frm_ver.h"
#include "app/qt/twips.h"
#include "shell/installer.h"
#include "shell/ui.h"

namespace zepo::qt {

class QtUi : public Ui {
 public:
  explicit QtUi(Twips twips);
  ~QtUi() override;

  // The installer whose records the windows show and whose procedures they
  // run. Set once, before any window is used.
  void attach(Installer& app) { app_ = &app; }
  Installer& app() const { return *app_; }
  const Twips& twips() const { return twips_; }

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::string inputBox(const std::string& prompt, const std::string& title) override;
  void show(Form form) override;
  void hide(Form form) override;
  void unload(Form form) override;
  void refresh(Form form) override;
  double screenWidthTwips() override;
  double twipsPerPixelX() override;

  // The event loop's handler: runs one event procedure of the logic. When
  // the procedure ends the installer, the application quits at once; when
  // it fails with a runtime error that no procedure trapped, the runtime's
  // error box shows it and then the application quits. Returns false once
  // the installer has ended (then no procedure runs any more).
  bool runEvent(const std::function<void(Installer&)>& procedure);
  bool ended() const { return ended_; }
  // 0 after an end of the installer, 1 after a runtime error.
  int exitCode() const { return exitCode_; }

  // The window of a kind, or null while it does not exist.
  QWidget* window(Form form) const;
  FrmMainWindow* mainWindow() const { return main_; }

  // The close box of the check window destroyed it.
  void checkWindowClosed();

 private:
  QWidget* windowFor(Form form);  // creates the window on first use
  void showRecord(Form form);
  void showShownRecords();
  void end(int exitCode);
  QWidget* dialogParent() const;

  Installer* app_ = nullptr;
  Twips twips_;
  QPointer<FrmMainWindow> main_;
  QPointer<FrmAboutWindow> about_;
  QPointer<FrmVerWindow> ver_;
  QPointer<FrmReportWindow> report_;
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace zepo::qt
