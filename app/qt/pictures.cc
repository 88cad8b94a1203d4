#include "app/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include "app/forms/icon_shapes.h"

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

QRect qtRect(const forms::Box& box) {
  return QRect(box.left, box.top, box.width, box.height);
}

void drawBox(QPainter& painter, const forms::Box& shape, Colour fill) {
  QRect box = qtRect(shape);
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
  // Every shape is drawn on whole pixels without smoothing, so that only
  // palette colours appear.
  forms::IconShapes shapes = forms::iconShapes(size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  drawBox(painter, shapes.monitor, kSilver);
  drawBox(painter, shapes.screen, kNavy);
  painter.fillRect(qtRect(shapes.stand), palette(kGrey));
  drawBox(painter, shapes.base, kSilver);
  painter.setPen(palette(kWhite));
  for (const forms::Segment& line : shapes.zed)
    painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
  painter.setPen(palette(kBlack));
  painter.setBrush(palette(kYellow));
  QPolygon arrow;
  for (const forms::Point& point : shapes.arrow) arrow << QPoint(point.x, point.y);
  painter.drawPolygon(arrow);
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
