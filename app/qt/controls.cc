#include "app/qt/controls.h"

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
