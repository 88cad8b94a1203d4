#include "app/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace zepo::qt {

namespace {

// Indexes into the sixteen colours.
enum Colour {
  kBlack = 0,
  kNavy = 4,
  kSilver = 7,
  kGrey = 8,
  kYellow = 11,
  kWhite = 15,
};

QColor palette(Colour colour) {
  return QColor::fromRgb(sixteenColours()[colour]);
}

// One image size of the icon; every shape is drawn on whole pixels without
// smoothing, so that only palette colours appear.
struct IconShapes {
  QRect monitor, screen, stand, base;
  QList<QLine> zed;
  QPolygon arrow;
};

IconShapes iconShapes(int size) {
  if (size >= 32) {
    return {QRect(1, 4, 24, 19),
            QRect(4, 7, 18, 13),
            QRect(10, 23, 6, 2),
            QRect(6, 25, 14, 3),
            {QLine(8, 9, 17, 9), QLine(8, 10, 17, 10), QLine(17, 10, 8, 16), QLine(16, 10, 7, 16),
             QLine(8, 16, 17, 16), QLine(8, 17, 17, 17)},
            QPolygon({QPoint(24, 0), QPoint(28, 0), QPoint(28, 7), QPoint(31, 7), QPoint(26, 12),
                      QPoint(21, 7), QPoint(24, 7)})};
  }
  return {QRect(0, 3, 12, 9),
          QRect(2, 5, 8, 5),
          QRect(5, 12, 2, 1),
          QRect(3, 13, 6, 2),
          {QLine(3, 6, 8, 6), QLine(8, 6, 3, 8), QLine(3, 8, 8, 8)},
          QPolygon({QPoint(11, 0), QPoint(13, 0), QPoint(13, 3), QPoint(15, 3), QPoint(12, 6),
                    QPoint(9, 3), QPoint(11, 3)})};
}

void drawBox(QPainter& painter, const QRect& box, Colour fill) {
  painter.fillRect(box, palette(fill));
  painter.setPen(palette(kBlack));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box.adjusted(0, 0, -1, -1));
}

}  // namespace

const QList<QRgb>& sixteenColours() {
  static const QList<QRgb> colours = {
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
  };
  return colours;
}

QImage iconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  IconShapes shapes = iconShapes(size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  drawBox(painter, shapes.monitor, kSilver);
  drawBox(painter, shapes.screen, kNavy);
  painter.fillRect(shapes.stand, palette(kGrey));
  drawBox(painter, shapes.base, kSilver);
  painter.setPen(palette(kWhite));
  painter.drawLines(shapes.zed);
  painter.setPen(palette(kBlack));
  painter.setBrush(palette(kYellow));
  painter.drawPolygon(shapes.arrow);
  return image;
}

QIcon appIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(iconImage(32)));
  icon.addPixmap(QPixmap::fromImage(iconImage(16)));
  return icon;
}

QImage installerPicture() {
  QImage image(195, 113, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 113);
  sky.setColorAt(0, QColor(0, 51, 128));
  sky.setColorAt(1, QColor(60, 130, 200));
  painter.fillRect(image.rect(), sky);

  // The server: a tower with drive bays and a lamp.
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(QColor(200, 200, 200));
  painter.drawRect(14, 12, 38, 62);
  painter.setBrush(QColor(150, 150, 150));
  for (int bay = 0; bay < 3; ++bay) painter.drawRect(19, 18 + 10 * bay, 28, 6);
  painter.setBrush(QColor(0, 220, 0));
  painter.drawEllipse(QPoint(22, 64), 3, 3);

  // The workstation: a monitor with the client window and a keyboard.
  painter.setBrush(QColor(200, 200, 200));
  painter.drawRect(130, 14, 52, 42);
  painter.setBrush(QColor(0, 0, 128));
  painter.drawRect(135, 19, 42, 30);
  painter.setBrush(QColor(192, 192, 192));
  painter.drawRect(140, 24, 32, 20);
  painter.fillRect(141, 25, 31, 4, QColor(0, 0, 160));
  painter.setBrush(QColor(160, 160, 160));
  painter.drawRect(150, 56, 12, 6);
  painter.drawRect(126, 64, 60, 10);

  // The copy from the share to the client.
  QPen link(QColor(255, 220, 0), 3, Qt::DashLine);
  painter.setPen(link);
  painter.drawLine(58, 42, 112, 42);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 220, 0));
  painter.drawPolygon(QPolygon({QPoint(110, 34), QPoint(124, 42), QPoint(110, 50)}));

  // The product name with a shadow.
  QFont font("Arial");
  font.setPixelSize(22);
  font.setBold(true);
  painter.setFont(font);
  QRect band(0, 78, 195, 32);
  painter.setPen(QColor(0, 0, 40));
  painter.drawText(band.translated(2, 2), Qt::AlignCenter, "clientZEPO");
  painter.setPen(Qt::white);
  painter.drawText(band, Qt::AlignCenter, "clientZEPO");
  return image;
}

QImage makerPicture() {
  QImage image(120, 102, QImage::Format_RGB32);
  image.fill(QColor(192, 192, 192));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // A red tile with a white M cut into it.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(128, 0, 0));
  painter.drawRoundedRect(QRectF(33, 7, 58, 58), 8, 8);
  painter.setBrush(QColor(200, 16, 32));
  painter.drawRoundedRect(QRectF(30, 4, 58, 58), 8, 8);
  painter.setBrush(Qt::white);
  painter.drawPolygon(QPolygon({QPoint(38, 52), QPoint(38, 14), QPoint(47, 14), QPoint(59, 34),
                                QPoint(71, 14), QPoint(80, 14), QPoint(80, 52), QPoint(72, 52),
                                QPoint(72, 29), QPoint(59, 48), QPoint(46, 29), QPoint(46, 52)}));

  QFont font("Arial");
  font.setPixelSize(14);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(128, 0, 0));
  painter.drawText(QRect(0, 70, 120, 26), Qt::AlignCenter, "MORVICAN");
  return image;
}

}  // namespace zepo::qt
