#include "app/controls.h"

#include <QPainter>

namespace zepo::qt {

QFont designFont(const QString& family, double points, bool bold) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QFont windowFont() {
  return designFont("MS Sans Serif", 8.25);
}

void installFontSubstitutes() {
  QFont::insertSubstitutions("MS Sans Serif", {"Arial", "Liberation Sans", "Nimbus Sans"});
}

QString displayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                 const QFont& font) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setGeometry(rect);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  // A label breaks its caption at blanks to fit its width and cuts what does
  // not fit; it never grows.
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                       const QFont& font) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(rect);
  button->setFont(font);
  button->setAutoDefault(false);
  return button;
}

QLineEdit* addTextBox(QWidget* parent, const char* name, const QString& text, const QRect& rect,
                      const QFont& font) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  box->setGeometry(rect);
  box->setFont(font);
  return box;
}

void chainTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

LineControl::LineControl(QWidget* parent, const char* name, const QColor& colour,
                         const QRect& bounds)
    : QWidget(parent), colour_(colour) {
  setObjectName(name);
  setGeometry(bounds);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), colour_);
}

}  // namespace zepo::qt
