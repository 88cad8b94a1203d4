#include "app/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include "app/forms/icon_shapes.h"
#include "app/forms/picture_shapes.h"

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

namespace {

QColor rgb(std::uint32_t colour) {
  return QColor::fromRgb(QRgb(colour));
}

QImage drawPicture(const forms::PictureShapes& picture) {
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient background(0, 0, 0, picture.height);
  background.setColorAt(0, rgb(picture.top));
  background.setColorAt(1, rgb(picture.bottom));
  painter.fillRect(image.rect(), background);
  for (const forms::Shape& shape : picture.shapes) {
    const forms::Box& b = shape.box;
    // QPainter's outlined shapes cover one pixel more than their size.
    QRect outlined(b.left, b.top, b.width - 1, b.height - 1);
    QPolygon points;
    for (const forms::Point& point : shape.points) points << QPoint(point.x, point.y);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(rgb(shape.colour));
    switch (shape.kind) {
      case forms::Shape::kBox:
        painter.drawRect(outlined);
        break;
      case forms::Shape::kEllipse:
        painter.drawEllipse(outlined);
        break;
      case forms::Shape::kFill:
        painter.fillRect(b.left, b.top, b.width, b.height, rgb(shape.colour));
        break;
      case forms::Shape::kTile:
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(b.left, b.top, b.width, b.height), shape.size, shape.size);
        break;
      case forms::Shape::kPolygon:
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(points);
        break;
      case forms::Shape::kDashedLine:
        painter.setPen(QPen(rgb(shape.colour), shape.size, Qt::DashLine));
        painter.drawLine(points[0], points[1]);
        break;
      case forms::Shape::kText: {
        QFont font("Arial");
        font.setPixelSize(shape.size);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(rgb(shape.colour));
        painter.drawText(QRect(b.left, b.top, b.width, b.height), Qt::AlignCenter,
                         QString::fromStdString(shape.text));
        break;
      }
    }
  }
  return image;
}

}  // namespace

QImage installerPicture() {
  return drawPicture(forms::installerPictureShapes());
}

QImage makerPicture() {
  return drawPicture(forms::makerPictureShapes());
}

}  // namespace zepo::qt
