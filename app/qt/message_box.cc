#include "app/qt/message_box.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QWindow>
#include <algorithm>

#include "app/qt/controls.h"
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

int titleBarWidth(const QWidget& box, const QString& title) {
  // The text in the bold face of title bars, then the window's icon, its
  // buttons and the margins, about five lines' height.
  QFont font = box.font();
  font.setBold(true);
  QFontMetrics metrics(font);
  return metrics.horizontalAdvance(title) + 5 * metrics.height();
}

void showTitleAsGiven(QWidget& box) {
  // On X11 Qt gives a window with an empty title the application's name.
  if (box.windowTitle().isEmpty() && box.windowHandle()) box.windowHandle()->setTitle(" ");
}

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
  // A short prompt would make the box too narrow for its title.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    grid->addItem(new QSpacerItem(titleBarWidth(*this, windowTitle()), 0), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
}

void MessageBox::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);
  showTitleAsGiven(*this);
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
  // The prompt names the field for a screen reader.
  field_->setAccessibleName(prompt_->text());
  prompt_->setBuddy(field_);

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
  QSize size = sizeHint();
  setFixedSize(std::max(size.width(), titleBarWidth(*this, windowTitle())), size.height());
}

void InputBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  showTitleAsGiven(*this);
}

std::string InputBox::ask() {
  if (exec() != QDialog::Accepted) return "";
  return field_->text().toStdString();
}

}  // namespace zepo::qt
