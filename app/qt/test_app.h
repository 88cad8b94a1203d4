// Support of the window tests: the application on Qt's offscreen platform,
// keys sent as the operator would press them, modal boxes answered while
// the code under test waits for them, and the driver of the cases that both
// front ends share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "app/forms/form_test_support.h"
#include "app/qt/controls.h"
#include "app/qt/message_box.h"
#include "app/qt/qt_ui.h"
#include "shell/installer.h"
#include "tests/test_workstation.h"

namespace zepo::qt::uitest {

using forms::test::BoxSeen;
using forms::test::Close;

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

// The answers to the boxes that `open` shows, in order: each box must say
// its `text` (when given); `typed` is typed into it, `whileOpen` runs, and
// it is closed as told. Returns what the boxes showed; an unexpected box
// fails the test, and so does one expected that did not open, unless
// `mayNotOpen`.
struct Answer {
  QString text = {};
  Close close = Close::kEnter;
  QString typed = {};
  std::function<void()> whileOpen = {};
};
inline QList<BoxSeen> answerBoxes(QList<Answer> answers, const std::function<void()>& open,
                                  bool mayNotOpen = false) {
  QList<BoxSeen> boxes;
  // Each box that opens is answered; one left open for five seconds fails
  // the test and is closed.
  QTimer timer;
  QElapsedTimer waited;
  QWidget* current = nullptr;
  timer.setInterval(2);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    if (box == current) {
      if (waited.elapsed() > 5000) {
        ADD_FAILURE() << "a modal box stayed open";
        box->close();
      }
      return;
    }
    current = box;
    waited.start();
    auto* message = qobject_cast<QMessageBox*>(box);
    BoxSeen& seen = boxes.emplaceBack();
    seen.title = box->windowTitle().toStdString();
    auto* prompt = box->findChild<QLabel*>("prompt");  // the input box's
    seen.text = (message ? message->text() : prompt ? prompt->text() : "").toStdString();
    for (QPushButton* button : box->findChildren<QPushButton*>())
      seen.buttons.push_back(button->text().toStdString());
    std::sort(seen.buttons.begin(), seen.buttons.end());
    const std::map<QMessageBox::Icon, int> icons = {
        {QMessageBox::Critical, 16}, {QMessageBox::Question, 32}, {QMessageBox::Information, 64}};
    if (message && icons.count(message->icon())) seen.icon = icons.at(message->icon());
    // The title shown whole, an empty one empty: X11 gets it from the
    // native window, where Qt makes an empty title the program's name.
    EXPECT_GE(box->width(), titleBarWidth(*box, box->windowTitle()));
    EXPECT_EQ(box->windowHandle()->title(),
              box->windowTitle().isEmpty() ? " " : box->windowTitle());
    if (answers.isEmpty()) ADD_FAILURE() << "unexpected box: " << seen.text;
    Answer answer = answers.isEmpty() ? Answer{} : answers.takeFirst();
    if (!answer.text.isNull()) {
      EXPECT_EQ(seen.text, answer.text.toStdString());
    }
    if (answer.whileOpen) answer.whileOpen();
    typeText(box, answer.typed);
    if (answer.close == Close::kEnter || answer.close == Close::kEsc)
      pressKey(box, answer.close == Close::kEnter ? Qt::Key_Return : Qt::Key_Escape);
    else if (answer.close == Close::kCloseBox)
      box->close();
    else if (auto* cancel = box->findChild<QPushButton*>("Annulla"))
      cancel->click();
    else
      box->close();  // the box's buttons were already found wrong
  });
  timer.start();
  open();
  EXPECT_TRUE(answers.isEmpty() || mayNotOpen) << "an expected box did not open";
  return boxes;
}

// A control of the window of `form` by name (the window itself when the
// name is empty); fails the test when the window or the control is missing.
template <typename Widget = QWidget>
Widget* control(const QtUi& ui, Form form, const std::string& name) {
  QWidget* window = ui.window(form);
  EXPECT_NE(window, nullptr) << name;
  if (name.empty() || !window) return qobject_cast<Widget*>(window);
  auto* widget = window->findChild<Widget*>(QString::fromStdString(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The shared cases' driver: the operator's keys and clicks on the Qt
// windows and boxes.
struct Driver {
  QtUi& ui;
  Installer& app;

  std::string text(Form form, const std::string& name) {
    QWidget* shown = control(ui, form, name);
    if (auto* list = qobject_cast<QComboBox*>(shown)) return list->currentText().toStdString();
    if (auto* text = qobject_cast<QPlainTextEdit*>(shown)) return text->toPlainText().toStdString();
    return (name.empty() ? shown->windowTitle() : shown->property("text").toString()).toStdString();
  }
  bool shown(Form form, const std::string& name) { return control(ui, form, name)->isVisible(); }
  void type(Form form, const std::string& name, const std::string& text) {
    auto* box = control<QLineEdit>(ui, form, name);
    box->setFocus();
    box->selectAll();
    typeText(box->window(), QString::fromStdString(text));
  }
  void pickDrive(int index) {
    auto* list = control<QComboBox>(ui, Form::kMain, "dlbDrive");
    for (int i = 0; i < 10 && list->currentIndex() != index; ++i)
      pressKey(list, list->currentIndex() > index ? Qt::Key_Up : Qt::Key_Down);
  }
  const void* handle(Form form) { return ui.window(form); }
  bool close(Form form, Close how) {
    QPointer<QWidget> window = ui.window(form);
    window->activateWindow();
    if (how == Close::kCloseBox)
      window->close();
    else
      pressKey(window, how == Close::kEnter ? Qt::Key_Return : Qt::Key_Escape);
    deleteUnloadedWindows();
    return window.isNull();
  }
  BoxSeen ask(const std::function<void()>& open, Close close, const std::string& typed) {
    return answerBoxes({{{}, close, QString::fromStdString(typed)}}, open, true).value(0);
  }
};

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

  TestWorkstation ws;
  QtUi ui{Twips(15)};
  Installer app{ws.platform(), ui};
  Driver driver{ui, app};
};

}  // namespace zepo::qt::uitest
