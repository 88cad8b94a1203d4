#include "app/message_box.h"

#include <QGridLayout>

#include "app/controls.h"
#include "shell/ui.h"

namespace zepo::qt {

namespace {

QMessageBox::Icon iconOf(int buttons) {
  switch (buttons & 0x70) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

MessageBox::MessageBox(const std::string& prompt, int buttons, const std::string& title,
                       QWidget* parent)
    : QMessageBox(parent) {
  setObjectName("MsgBox");
  setWindowTitle(QString::fromStdString(title));
  setTextFormat(Qt::PlainText);
  setText(displayText(prompt));
  setIcon(iconOf(buttons));
  setWindowModality(Qt::ApplicationModal);
  ok_ = addButton("OK", QMessageBox::AcceptRole);
  ok_->setObjectName("OK");
  if ((buttons & 0x7) == 1) {
    cancel_ = addButton("Annulla", QMessageBox::RejectRole);
    cancel_->setObjectName("Annulla");
  }
  setDefaultButton(ok_);
  setEscapeButton(cancel_ ? cancel_ : ok_);
}

int MessageBox::ask() {
  exec();
  return cancel_ && clickedButton() == cancel_ ? kIdCancel : kIdOk;
}

InputBox::InputBox(const std::string& prompt, const std::string& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("InputBox");
  setWindowTitle(QString::fromStdString(title));
  setWindowModality(Qt::ApplicationModal);

  prompt_ = new QLabel(displayText(prompt), this);
  prompt_->setObjectName("prompt");
  prompt_->setTextFormat(Qt::PlainText);
  prompt_->setWordWrap(true);
  prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("OK");
  cancel_ = new QPushButton("Annulla", this);
  cancel_->setObjectName("Annulla");
  field_ = new QLineEdit(this);
  field_->setObjectName("field");

  auto* layout = new QGridLayout(this);
  layout->addWidget(prompt_, 0, 0, 3, 1);
  layout->addWidget(ok_, 0, 1);
  layout->addWidget(cancel_, 1, 1);
  layout->setRowStretch(2, 1);
  layout->addWidget(field_, 3, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setColumnMinimumWidth(0, 260);
  layout->setRowMinimumHeight(2, 24);

  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  setTabOrder(field_, ok_);
  setTabOrder(ok_, cancel_);
  field_->setFocus();
  setFixedSize(sizeHint());
}

std::string InputBox::ask() {
  if (exec() != QDialog::Accepted) return "";
  return field_->text().toStdString();
}

}  // namespace zepo::qt
