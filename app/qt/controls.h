// Building blocks of the windows: the design fonts, the drawn lines and the
// conversion of the logic's texts.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <string>

namespace zepo::qt {

// A font as designed: family, size in points, weight. The family is kept as
// given; fonts that Linux lacks fall back through fontconfig, Arial Black to
// the heaviest style of its stand-in.
QFont designFont(const QString& family, double points, bool bold = false);
// The windows' default font: MS Sans Serif 8.25 pt.
QFont windowFont();
// Maps the Windows system font onto a sans-serif face of similar width, so
// that design-sized labels keep their text on Linux. The design family name
// stays what the fonts say.
void installFontSubstitutes();

// A text of the logic (UTF-8, lines broken by CR LF or a lone CR) as Qt shows
// it.
QString displayText(const std::string& text);

// A line drawn on a window: a band of one colour filling its bounds.
class LineControl : public QWidget {
 public:
  LineControl(QWidget* parent, const char* name, const QColor& colour, const QRect& bounds);
  QColor colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
};

}  // namespace zepo::qt
