// The forms runtime's message box and input box.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <memory>
#include <string>

namespace zepo::qt {

// The width in pixels that the title bar of `box` needs to show `title` whole.
int titleBarWidth(const QWidget& box, const QString& title);
// A box given an empty title shows an empty title bar (call once shown).
void showTitleAsGiven(QWidget& box);

// A message box as the buttons value asks for it: the low bits choose the
// buttons (0 OK, 1 OK and "Annulla"), the next ones the icon (16 critical,
// 32 question, 48 warning, 64 information). OK is the default button; Esc
// and the close box answer "Annulla", or OK when OK is the only button.
class MessageBox : public QMessageBox {
 public:
  MessageBox(const std::string& prompt, int buttons, const std::string& title,
             QWidget* parent = nullptr);
  QPushButton* okButton() const { return ok_; }
  // Null when OK is the only button.
  QPushButton* cancelButton() const { return cancel_; }
  // Shows the box modally; kIdOk or kIdCancel.
  int ask();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QPushButton* ok_;
  QPushButton* cancel_ = nullptr;
};

// The input box: the prompt, OK (Enter) and "Annulla" (Esc), and an empty
// text field below.
class InputBox : public QDialog {
 public:
  InputBox(const std::string& prompt, const std::string& title, QWidget* parent = nullptr);
  QLineEdit* field() const { return field_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Shows the box modally; the typed text, "" when cancelled.
  std::string ask();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* prompt_;
  QLineEdit* field_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace zepo::qt
