#include "app/qt/controls.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>

namespace zepo::qt {

namespace {

// The face designed for captions that must stand out; its one style is
// heavier than bold.
constexpr char kHeavyFamily[] = "Arial Black";

// The heaviest upright style of `family`; of equal weights the plainest
// ("Bold", not "Condensed Bold").
QString heaviestStyle(const QString& family) {
  QString heaviest;
  int weight = -1;
  for (const QString& style : QFontDatabase::styles(family)) {
    if (QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal) continue;
    const int styleWeight = QFontDatabase::weight(family, style);
    if (styleWeight > weight || (styleWeight == weight && style.size() < heaviest.size())) {
      weight = styleWeight;
      heaviest = style;
    }
  }
  return heaviest;
}

}  // namespace

QFont designFont(const QString& family, double points, bool bold) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  if (family == kHeavyFamily && !QFontDatabase::hasFamily(family)) {
    // Without it, the sans face that stands in for it in its heaviest
    // style, not its regular one: the caption stays heavy. The style is
    // asked by name, so the font keeps the design's weight.
    QFont standIn(family);
    standIn.setStyleHint(QFont::SansSerif);
    const QString face = QFontInfo(standIn).family();
    font.setFamilies({family, face});
    font.setStyleName(heaviestStyle(face));
  }
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
