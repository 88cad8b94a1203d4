#include "app/qt/qt_ui.h"

#include <QApplication>
#include <QScreen>
#include <QThread>

#include "app/qt/frm_about.h"
#include "app/qt/frm_main.h"
#include "app/qt/frm_report.h"
#include "app/qt/frm_ver.h"
#include "app/qt/message_box.h"
#include "platform/errors.h"

namespace zepo::qt {

QtUi::QtUi(Twips twips) : twips_(twips) {}

QtUi::~QtUi() {
  for (Form form : {Form::kMain, Form::kAbout, Form::kVer, Form::kReport}) delete window(form);
}

QWidget* QtUi::dialogParent() const {
  QWidget* active = QApplication::activeWindow();
  if (active) return active;
  QWidget* main = window(Form::kMain);
  if (main && main->isVisible()) return main;
  return nullptr;
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

// Every window of this front end is a widget.
static QWidget& widget(forms::FormWindow& window) {
  return *dynamic_cast<QWidget*>(&window);
}

QWidget* QtUi::window(Form form) const {
  forms::FormWindow* window = formWindow(form);
  return window ? &widget(*window) : nullptr;
}

FrmMainWindow* QtUi::mainWindow() const {
  return dynamic_cast<FrmMainWindow*>(formWindow(Form::kMain));
}

forms::FormWindow* QtUi::makeWindow(Form form) {
  return forms::newFormWindow<FrmMainWindow, FrmAboutWindow, FrmVerWindow, FrmReportWindow>(form,
                                                                                            *this);
}

bool QtUi::isShown(const forms::FormWindow& window) const {
  return dynamic_cast<const QWidget&>(window).isVisible();
}

void QtUi::apply(Step step, forms::FormWindow& window) {
  QWidget& w = widget(window);
  switch (step) {
    case Step::kPresent:
      w.show();
      w.raise();
      w.activateWindow();
      break;
    case Step::kConceal:
      w.hide();
      break;
    case Step::kRepaintNow:
      w.repaint();
      break;
    case Step::kDiscard:
      w.hide();
      w.deleteLater();
      break;
  }
}

double QtUi::screenWidthTwips() {
  QScreen* screen = QGuiApplication::primaryScreen();
  double pixels = screen ? screen->geometry().width() * screen->devicePixelRatio() : 0;
  return pixels * twips_.perPixel();
}

double QtUi::twipsPerPixelX() {
  return twips_.perPixel();
}

void QtUi::quit(int exitCode) {
  // Leaves every running event loop. Outside any loop (start-up, before the
  // main loop) main() reads ended() instead: exit() would also make every
  // later loop, a message box's included, return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(exitCode);
}

}  // namespace zepo::qt
