#include "app/qt/message_box.h"

#include <QMessageBox>
#include <QWindow>

#include "app/qt/test_app.h"
#include "shell/ui.h"

namespace zepo::qt {
namespace {

using uitest::application;
using uitest::pressKey;
using uitest::typeText;
using uitest::whileModal;

QStringList captions(QMessageBox& box) {
  QStringList out;
  for (QAbstractButton* button : box.buttons()) out << button->text();
  out.sort();
  return out;
}

TEST(MessageBox, ButtonsIconCaptionAndPrompt) {
  application();
  MessageBox critical("Il file ZEPOINST.INI non esiste", kMbCritical, "Installazione Client ZEPO");
  EXPECT_EQ(critical.windowTitle(), "Installazione Client ZEPO");
  EXPECT_EQ(critical.icon(), QMessageBox::Critical);
  EXPECT_EQ(captions(critical), QStringList({"OK"}));
  EXPECT_EQ(critical.defaultButton(), critical.okButton());
  EXPECT_EQ(critical.escapeButton(), critical.okButton());

  // Two-line prompts break at a lone CR or at CR LF.
  MessageBox question("E' stata rilevata una installazione precedente.\rContinuo ?",
                      kMbOkCancelQuestion, "Installazione Client ZEPO");
  EXPECT_EQ(question.icon(), QMessageBox::Question);
  EXPECT_EQ(captions(question), QStringList({"Annulla", "OK"}));
  EXPECT_EQ(question.defaultButton(), question.okButton());
  EXPECT_EQ(question.escapeButton(), question.cancelButton());
  EXPECT_EQ(question.text(), "E' stata rilevata una installazione precedente.\nContinuo ?");
  EXPECT_EQ(question.textFormat(), Qt::PlainText);

  MessageBox information("Procedo con la copia dei file?\r\nOK", kMbInformation, "");
  EXPECT_EQ(information.icon(), QMessageBox::Information);
  EXPECT_EQ(information.text(), "Procedo con la copia dei file?\nOK");
  EXPECT_EQ(information.windowTitle(), "");
}

// A short prompt does not make a box too narrow for its title, and an empty
// title stays empty on screen (Qt would show the application's name).
TEST(MessageBox, TitleShownWholeOrEmpty) {
  application();
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

TEST(MessageBox, EnterAnswersOkEscAndCloseBoxAnswerCancel) {
  application();
  auto ask = [](int buttons, const std::function<void(QWidget*)>& answer) {
    MessageBox box("Domanda", buttons, "Titolo");
    return whileModal(answer, [&] { return box.ask(); });
  };
  auto press = [](int key) { return [key](QWidget* box) { pressKey(box, key); }; };
  auto closeBox = [](QWidget* box) { box->close(); };

  EXPECT_EQ(ask(kMbOkCancelQuestion, press(Qt::Key_Return)), kIdOk);
  EXPECT_EQ(ask(kMbOkCancelQuestion, press(Qt::Key_Escape)), kIdCancel);
  EXPECT_EQ(ask(kMbOkCancelQuestion, closeBox), kIdCancel);
  // With OK alone, every way of closing the box answers OK.
  EXPECT_EQ(ask(kMbInformation, press(Qt::Key_Escape)), kIdOk);
  EXPECT_EQ(ask(kMbCritical, closeBox), kIdOk);
}

TEST(InputBox, EmptyFieldTypedTextOnOkNothingOnCancel) {
  application();
  InputBox box("Inserire il nome del server", "Client ZEPO");
  EXPECT_EQ(box.windowTitle(), "Client ZEPO");
  EXPECT_EQ(box.okButton()->text(), "OK");
  EXPECT_EQ(box.cancelButton()->text(), "Annulla");
  EXPECT_TRUE(box.okButton()->isDefault());
  EXPECT_EQ(box.findChild<QLabel*>("prompt")->text(), "Inserire il nome del server");

  auto answer = [](const QString& text, int key) {
    return [=](QWidget* dialog) {
      auto* input = static_cast<InputBox*>(dialog);
      EXPECT_EQ(input->field()->text(), "");  // no default text, also the second time
      typeText(dialog, text);
      pressKey(dialog, key);
    };
  };
  EXPECT_EQ(whileModal(answer("ZEPOSRV", Qt::Key_Return), [&] { return box.ask(); }), "ZEPOSRV");
  InputBox again("Inserire il nome del server", "Client ZEPO");
  EXPECT_EQ(whileModal(answer("ZEPOSRV", Qt::Key_Escape), [&] { return again.ask(); }), "");
  InputBox closed("Inserire il nome del server", "Client ZEPO");
  EXPECT_EQ(whileModal([](QWidget* dialog) { dialog->close(); }, [&] { return closed.ask(); }), "");
}

}  // namespace
}  // namespace zepo::qt
