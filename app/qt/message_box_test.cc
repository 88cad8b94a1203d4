#include "app/qt/message_box.h"

#include <QWindow>

#include "app/qt/test_app.h"
#include "shell/ui.h"

namespace zepo::qt {
namespace {

using uitest::pressKey;
using uitest::whileModal;

// Each kind of box: its icon, its buttons, and the answer that Enter, Esc
// and the close box give. Two-line prompts break at a lone CR or at CR LF.
TEST(MessageBox, IconButtonsTextAndAnswers) {
  uitest::application();
  struct Case {
    int buttons;
    QMessageBox::Icon icon;
    QStringList captions;
    int onEnter, onEsc, onClose;
  } cases[] = {
      {kMbCritical, QMessageBox::Critical, {"OK"}, kIdOk, kIdOk, kIdOk},
      {kMbInformation, QMessageBox::Information, {"OK"}, kIdOk, kIdOk, kIdOk},
      {kMbOkCancelQuestion, QMessageBox::Question, {"OK", "Annulla"}, kIdOk, kIdCancel, kIdCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buttons);
    auto ask = [&](const std::function<void(QWidget*)>& answer) {
      MessageBox box("Procedo?\rCon la copia\r\nOK", c.buttons, "Installazione Client ZEPO");
      EXPECT_EQ(box.windowTitle(), "Installazione Client ZEPO");
      EXPECT_EQ(box.icon(), c.icon);
      EXPECT_EQ(box.text(), "Procedo?\nCon la copia\nOK");
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      QStringList captions;
      for (QAbstractButton* button : box.buttons()) captions << button->text();
      EXPECT_EQ(captions.size(), c.captions.size());
      for (const QString& caption : c.captions) EXPECT_TRUE(captions.contains(caption));
      EXPECT_EQ(box.defaultButton(), box.okButton());
      return whileModal(answer, [&] { return box.ask(); });
    };
    EXPECT_EQ(ask([](QWidget* box) { pressKey(box, Qt::Key_Return); }), c.onEnter);
    EXPECT_EQ(ask([](QWidget* box) { pressKey(box, Qt::Key_Escape); }), c.onEsc);
    EXPECT_EQ(ask([](QWidget* box) { box->close(); }), c.onClose);
  }
}

// A short prompt does not make a box too narrow for its title, and an empty
// title stays empty on screen (Qt would show the application's name).
TEST(MessageBox, TitleShownWholeOrEmpty) {
  uitest::application();
  auto look = [](QWidget* box) {
    EXPECT_GE(box->width(), titleBarWidth(*box, box->windowTitle()))
        << box->windowTitle().toStdString();
    // X11 gets the title through the native window, where Qt turns an empty
    // one into the application's name.
    EXPECT_FALSE(box->windowHandle()->title().isEmpty());
    EXPECT_EQ(box->windowHandle()->title().trimmed(), box->windowTitle());
    pressKey(box, Qt::Key_Return);
  };
  for (const char* title : {"Installazione Client ZEPO", ""}) {
    MessageBox box("OK", kMbInformation, title);
    whileModal(look, [&] { return box.ask(); });
    InputBox input("N.", title);
    whileModal(look, [&] { return input.ask(); });
  }
}

// The input box opens empty each time, gives what was typed on OK (or
// Enter) and nothing on Annulla, Esc or its close box.
TEST(InputBox, EmptyFieldTypedTextOnOkNothingOnCancel) {
  uitest::application();
  auto ask = [](const std::function<void(QWidget*)>& close) {
    InputBox box("Inserire il nome del server", "Client ZEPO");
    EXPECT_EQ(box.windowTitle(), "Client ZEPO");
    EXPECT_EQ(uitest::boxText(&box), "Inserire il nome del server");
    EXPECT_EQ(box.okButton()->text(), "OK");
    EXPECT_TRUE(box.okButton()->isDefault());
    return whileModal(
        [&](QWidget* dialog) {
          EXPECT_EQ(box.field()->text(), "");
          uitest::typeText(dialog, "ZEPOSRV");
          close(dialog);
        },
        [&] { return box.ask(); });
  };
  auto key = [](int k) { return [k](QWidget* box) { pressKey(box, k); }; };
  EXPECT_EQ(ask(key(Qt::Key_Return)), "ZEPOSRV");
  EXPECT_EQ(uitest::answerBoxes({{"N.", "OK", "typed"}}, [] { return InputBox("N.", "").ask(); }),
            "typed");
  EXPECT_EQ(
      uitest::answerBoxes({{"N.", "Annulla", "typed"}}, [] { return InputBox("N.", "").ask(); }),
      "");
  EXPECT_EQ(ask(key(Qt::Key_Escape)), "");
  EXPECT_EQ(ask([](QWidget* box) { box->close(); }), "");
}

}  // namespace
}  // namespace zepo::qt
