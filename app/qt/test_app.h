// Support of the window tests: the application on Qt's offscreen platform,
// keys sent as the operator would press them, and modal boxes answered
// while the code under test waits for them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>

#include "app/qt/controls.h"
#include "app/qt/qt_ui.h"
#include "shell/installer.h"
#include "tests/test_workstation.h"

namespace zepo::qt::uitest {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Twips::useDevicePixels();
    auto* created = new QApplication(argc, argv);
    QApplication::setApplicationName("clientZEPO");
    QApplication::setQuitOnLastWindowClosed(false);
    installFontSubstitutes();
    return created;
  }();
  return *app;
}

// Deletes the windows that were unloaded (their deletion waits for the
// event loop).
inline void deleteUnloadedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A key press and release sent to `target`.
inline void sendKey(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

// A key press and release sent where the keyboard focus of `window` is.
inline void pressKey(QWidget* window, int key, const QString& text = {}) {
  sendKey(window->focusWidget() ? window->focusWidget() : window, key, text);
}

inline void typeText(QWidget* window, const QString& text) {
  for (QChar c : text) pressKey(window, 0, QString(c));
}

// The names of the widgets that Tab visits now, in order, starting from
// `first`.
inline QStringList tabChain(QWidget* first) {
  QStringList names;
  QWidget* widget = first;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
        widget->isVisibleTo(widget->window()))
      names << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != first && names.size() < 100);
  return names;
}

// Runs `open`, which shows modal boxes, and hands each box that opens
// meanwhile to `answer`, which must close it. A box left open for five
// seconds fails the test and is closed.
template <typename Open>
auto whileModal(const std::function<void(QWidget*)>& answer, Open open) {
  QTimer timer;
  QElapsedTimer waited;
  QWidget* current = nullptr;
  timer.setInterval(2);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    if (box != current) {
      current = box;
      waited.start();
      answer(box);
    } else if (waited.elapsed() > 5000) {
      ADD_FAILURE() << "a modal box stayed open";
      box->close();
    }
  });
  timer.start();
  return open();
}

// A control of the window of `form` by name; fails the test when the window
// or the control is missing.
template <typename Widget = QWidget>
Widget* control(const QtUi& ui, Form form, const char* name) {
  QWidget* window = ui.window(form);
  EXPECT_NE(window, nullptr) << name;
  Widget* widget = window ? window->findChild<Widget*>(name) : nullptr;
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The Qt user interface at 15 twips per pixel on a fresh workstation that
// has drive D: labelled DATI.
class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    application();
    ws.addDrive('d', "DATI");
    ui.attach(app);
  }
  ~UiTest() override { deleteUnloadedWindows(); }

  template <typename Widget = QWidget>
  Widget* control(Form form, const char* name) {
    return uitest::control<Widget>(ui, form, name);
  }

  TestWorkstation ws;
  QtUi ui{Twips(15)};
  Installer app{ws.platform(), ui};
};

}  // namespace zepo::qt::uitest
