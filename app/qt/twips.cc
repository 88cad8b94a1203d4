#include "app/qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace zepo::qt {

Twips Twips::ofScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  return Twips(1440.0 / dpi);
}

void Twips::useDevicePixels() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

int Twips::px(int twips) const {
  return static_cast<int>(std::lround(twips / perPixel_));
}

QRect Twips::rect(int left, int top, int width, int height) const {
  return QRect(px(left), px(top), px(width), px(height));
}

QSize Twips::size(int width, int height) const {
  return QSize(px(width), px(height));
}

}  // namespace zepo::qt
