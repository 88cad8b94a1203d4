// Support of the window tests: the application on Qt's offscreen platform,
// keys sent as the operator would press them, and modal boxes answered
// while the code under test waits for them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>

#include "app/qt/controls.h"
#include "app/qt/message_box.h"
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

// A key press and release sent where the keyboard focus of `window` is.
inline void pressKey(QWidget* window, int key, const QString& text = {}) {
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &event);
  }
}

inline void typeText(QWidget* window, const QString& text) {
  for (QChar c : text) pressKey(window, 0, QString(c));
}

// The names of the widgets that Tab visits now, in order, from `first`.
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

// What a modal box says: a message box's text, the input box's prompt.
inline QString boxText(QWidget* box) {
  if (auto* message = qobject_cast<QMessageBox*>(box)) return message->text();
  auto* prompt = box->findChild<QLabel*>("prompt");
  return prompt ? prompt->text() : QString();
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

// The answers to the boxes that `open` shows, in order: each box must say
// its `text`; the input box gets `typed`; then the button captioned
// `button` is clicked (Esc when there is none). Each box's title and text
// are appended to `seen`; an unexpected box fails the test.
struct Answer {
  QString text, button = "OK", typed = {};
  std::function<void()> whileOpen = {};
};
template <typename Open>
auto answerBoxes(QList<Answer> answers, Open open, QStringList* seen = nullptr) {
  auto result = whileModal(
      [&](QWidget* box) {
        if (seen) *seen << box->windowTitle() << boxText(box);
        if (answers.isEmpty()) ADD_FAILURE() << "unexpected box: " << boxText(box).toStdString();
        Answer answer = answers.isEmpty() ? Answer{{}, {}} : answers.takeFirst();
        EXPECT_EQ(boxText(box), answer.text);
        if (answer.whileOpen) answer.whileOpen();
        if (auto* input = dynamic_cast<InputBox*>(box)) input->field()->setText(answer.typed);
        for (QPushButton* button : box->findChildren<QPushButton*>())
          if (button->text() == answer.button) return button->click();
        pressKey(box, Qt::Key_Escape);
      },
      open);
  EXPECT_TRUE(answers.isEmpty()) << "an expected box did not open";
  return result;
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
