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

#include "app/controls.h"

namespace zepo::qt::testing {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
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

// A key press and release sent where the keyboard focus of `window` is.
inline void pressKey(QWidget* window, int key, const QString& text = {}) {
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

inline void typeText(QWidget* window, const QString& text) {
  for (QChar c : text) pressKey(window, 0, QString(c));
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

}  // namespace zepo::qt::testing
