#include "app/qt/qt_ui.h"

#include <QApplication>
#include <QScreen>
#include <QThread>

#include "app/qt/frm_about.h"
#include "app/qt/frm_main.h"
#include "app/qt/frm_report.h"
#include "app/qt/frm_ver.h"
#include "app/qt/message_box.h"
#include "check/check_window.h"
#include "platform/errors.h"
#include "shell/event.h"

namespace zepo::qt {

QtUi::QtUi(Twips twips) : twips_(twips) {}

QtUi::~QtUi() {
  delete main_;
  delete about_;
  delete ver_;
  delete report_;
}

QWidget* QtUi::dialogParent() const {
  QWidget* active = QApplication::activeWindow();
  if (active) return active;
  if (main_ && main_->isVisible()) return main_;
  return nullptr;
}

// A box waits over the windows as their records are now: the logic may have
// filled a shown window since it was last shown (a check run shows its
// window first and fills it afterwards).
void QtUi::showShownRecords() {
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport})
    if (QWidget* shown = window(form); shown && shown->isVisible()) showRecord(form);
}

int QtUi::msgBox(const std::string& prompt, int buttons, const std::string& title) {
  showShownRecords();
  MessageBox box(prompt, buttons, title, dialogParent());
  return box.ask();
}

std::string QtUi::inputBox(const std::string& prompt, const std::string& title) {
  showShownRecords();
  InputBox box(prompt, title, dialogParent());
  return box.ask();
}

QWidget* QtUi::window(Form form) const {
  switch (form) {
    case Form::kMain:
      return main_;
    case Form::kAbout:
      return about_;
    case Form::kVer:
      return ver_;
    case Form::kReport:
      return report_;
  }
  return nullptr;
}

QWidget* QtUi::windowFor(Form form) {
  switch (form) {
    case Form::kMain:
      if (!main_) main_ = new FrmMainWindow(*this);
      return main_;
    case Form::kAbout:
      if (!about_) about_ = new FrmAboutWindow(*this);
      return about_;
    case Form::kVer:
      if (!ver_) ver_ = new FrmVerWindow(*this);
      return ver_;
    case Form::kReport:
      if (!report_) report_ = new FrmReportWindow(*this);
      return report_;
  }
  return nullptr;
}

void QtUi::showRecord(Form form) {
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

void QtUi::show(Form form) {
  QWidget* window = windowFor(form);
  showRecord(form);
  window->show();
  window->raise();
  window->activateWindow();
}

void QtUi::hide(Form form) {
  if (QWidget* window = this->window(form)) window->hide();
}

void QtUi::unload(Form form) {
  QWidget* window = this->window(form);
  if (!window) return;
  window->hide();
  // The window may be unloading itself from one of its own handlers.
  window->deleteLater();
  switch (form) {
    case Form::kMain:
      main_ = nullptr;
      break;
    case Form::kAbout:
      about_ = nullptr;
      break;
    case Form::kVer:
      ver_ = nullptr;
      break;
    case Form::kReport:
      report_ = nullptr;
      break;
  }
}

void QtUi::refresh(Form form) {
  QWidget* window = windowFor(form);
  showRecord(form);
  // The logic may keep the thread busy after this: paint now, not when the
  // event loop gets round to it.
  window->repaint();
}

double QtUi::screenWidthTwips() {
  QScreen* screen = QGuiApplication::primaryScreen();
  double pixels = screen ? screen->geometry().width() * screen->devicePixelRatio() : 0;
  return pixels * twips_.perPixel();
}

double QtUi::twipsPerPixelX() {
  return twips_.perPixel();
}

bool QtUi::runEvent(const std::function<void(Installer&)>& procedure) {
  if (ended_) return false;
  if (std::optional<int> exitCode = runEventProcedure(app(), procedure)) {
    end(*exitCode);
    return false;
  }
  return !ended_;
}

void QtUi::end(int exitCode) {
  ended_ = true;
  exitCode_ = exitCode;
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport}) hide(form);
  // Leaves every running event loop. Outside any loop (start-up, before the
  // main loop) main() reads ended() instead: exit() would also make every
  // later loop, a message box's included, return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(exitCode);
}

void QtUi::checkWindowClosed() {
  if (ver_) {
    ver_->deleteLater();
    ver_ = nullptr;
  }
  runEvent(frmVer::Form_Unload);
}

}  // namespace zepo::qt
