// Runs the real front end from end to end as an operator would: mouse
// clicks on the windows' buttons, keys typed into their fields, and answers
// to the modal boxes that the installer opens meanwhile, on the demo
// workstation of scripts/make-demo-prefix.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <string>

#include "app/qt/message_box.h"
#include "app/qt/qt_ui.h"
#include "app/qt/test_app.h"
#include "shell/installer.h"
#include "shell/main_window.h"
#include "tests/demo_workstation.h"

namespace zepo::qt::e2e {

// A modal box as the operator saw it.
struct Box {
  QString title;
  QString text;  // a message box's text, the input box's prompt
};

// The answers to the modal boxes that an action opens, in the order in
// which they open:
//
//   ModalScript boxes;
//   boxes.type("ZEPOSRV");                          // the input box
//   boxes.click("OK", "Installazione completata."); // a message box
//   boxes.run([&] { click(cmdInstalla); });
//
// A box that the script does not expect, or that shows another text than
// expected, fails the test and is answered with Esc; so is a box that stays
// open for five seconds. A scripted box that never opened fails the test.
class ModalScript {
 public:
  // The next box is a message box: clicks its button captioned `button`.
  // A non-empty `text` is what the box must say; `whileOpen` looks at the
  // windows while the box waits.
  ModalScript& click(const QString& button, const QString& text = {},
                     std::function<void()> whileOpen = {}) {
    steps_.push_back({false, button, {}, text, std::move(whileOpen)});
    return *this;
  }
  // The next box is the input box: types `typed` into its field and clicks
  // "OK". A non-empty `prompt` is what the box must ask.
  ModalScript& type(const QString& typed, const QString& prompt = {}) {
    steps_.push_back({true, "OK", typed, prompt, {}});
    return *this;
  }

  void run(const std::function<void()>& action) {
    // A box closed is gone at once (boxes live on the asker's stack), so a
    // new box is never mistaken for the last one.
    uitest::whileModal([this](QWidget* box) { answer(box); }, action);
    for (const Step& step : steps_)
      ADD_FAILURE() << "an expected box did not open: " << step.text.toStdString();
    steps_.clear();
  }

  const QList<Box>& seen() const { return seen_; }

 private:
  struct Step {
    bool input;
    QString button;
    QString typed;
    QString text;
    std::function<void()> whileOpen;
  };

  void answer(QWidget* widget) {
    auto* message = qobject_cast<QMessageBox*>(widget);
    auto* input = dynamic_cast<InputBox*>(widget);
    QString text;
    if (message) text = message->text();
    if (input) text = input->findChild<QLabel*>("prompt")->text();
    seen_.push_back({widget->windowTitle(), text});
    if (steps_.isEmpty()) {
      ADD_FAILURE() << "unexpected box: " << text.toStdString();
      QTest::keyClick(widget, Qt::Key_Escape);
      return;
    }
    Step step = steps_.takeFirst();
    if (step.input ? !input : !message) {
      ADD_FAILURE() << (step.input ? "not the input box: " : "not a message box: ")
                    << text.toStdString();
      QTest::keyClick(widget, Qt::Key_Escape);
      return;
    }
    if (!step.text.isEmpty()) {
      EXPECT_EQ(text, step.text);
    }
    if (step.whileOpen) step.whileOpen();
    if (input) QTest::keyClicks(input->field(), step.typed);
    for (QPushButton* button : widget->findChildren<QPushButton*>()) {
      if (button->text() == step.button) {
        QTest::mouseClick(button, Qt::LeftButton);
        return;
      }
    }
    ADD_FAILURE() << "no button " << step.button.toStdString() << " in " << text.toStdString();
    QTest::keyClick(widget, Qt::Key_Escape);
  }

  QList<Step> steps_;
  QList<Box> seen_;
};

// A left click in the middle of a button, as the operator makes it.
inline void click(QWidget* button) {
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
  QTest::mouseClick(button, Qt::LeftButton);
}

// The installer with the Qt front end on a fresh demo workstation.
class EndToEndTest : public ::testing::Test {
 protected:
  static constexpr const char* kServer = "ZEPOSRV";
  static constexpr const char* kInstallTitle = "Installazione Client ZEPO";

  EndToEndTest() {
    uitest::application();
    ui.attach(app);
  }
  ~EndToEndTest() override { uitest::deleteUnloadedWindows(); }

  template <typename Widget = QWidget>
  Widget* control(Form form, const char* name) {
    return uitest::control<Widget>(ui, form, name);
  }

  // Start-up as main() makes it: the main window's load procedure, whose
  // input box gets the server's name, then the main window.
  void startUp() {
    ModalScript boxes;
    boxes.type(kServer, "Inserire il nome del server");
    bool running = true;
    boxes.run([&] { running = ui.runEvent(frmMain::Form_Load); });
    ASSERT_TRUE(running);
    EXPECT_EQ(boxes.seen().value(0).title, "Client ZEPO");
    ui.show(Form::kMain);
    QCoreApplication::processEvents();
  }

  // Types the workstation number into txtPosto and clicks "Installa",
  // answering OK to the confirmation, to the copy question and to the final
  // message. The boxes seen.
  QList<Box> install(const QString& posto) {
    auto* txtPosto = control<QLineEdit>(Form::kMain, "txtPosto");
    txtPosto->setFocus();
    QTest::keyClicks(txtPosto, posto);
    ModalScript boxes;
    boxes.click("OK", QString("Sorgente dati   %1\\zepo\\dati\nCreo il client su d:").arg(kServer))
        .click("OK", "Aggiornamento file di sistema completato.\nProcedo con la copia dei file?")
        .click("OK", "Installazione completata.");
    boxes.run([&] { click(control(Form::kMain, "cmdInstalla")); });
    return boxes.seen();
  }

  DemoWorkstation demo;
  QtUi ui{Twips::ofScreen()};
  Installer app{demo.platform(), ui};
};

}  // namespace zepo::qt::e2e
