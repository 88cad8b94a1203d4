// Building blocks of the windows: the design fonts, controls placed at their
// designed position and size, and the conversion of the logic's texts.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <string>

namespace zepo::qt {

// A font as designed: family, size in points, weight. The family is kept as
// given; fonts that Linux lacks fall back through fontconfig.
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

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                 const QFont& font);
QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                       const QFont& font);
QLineEdit* addTextBox(QWidget* parent, const char* name, const QString& text, const QRect& rect,
                      const QFont& font);
// Chains the keyboard focus through the widgets in the given order.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

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
