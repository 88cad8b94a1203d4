// draw-icons: writes the installer's window icon as the files that the
// packages ship, so that a menu entry and Explorer show the same picture as
// the window:
//   FOLDER/16.png, 32.png, 48.png   the icon theme's images of the Debian
//                                   package;
//   FOLDER/clientzepo.ico           the Windows program's icon resource.
// The 16 and 32 pixel images are the window's own; the 48 pixel one, which
// desktops ask for most, is the 32 pixel drawing enlarged by nearest
// neighbour (every second row and column doubled), which keeps its sixteen
// colours and its hard edges.
//
// Usage: draw-icons FOLDER
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QtEndian>
#include <cstdio>

#include "app/qt/pictures.h"

namespace {

void append16(QByteArray& out, quint16 value) {
  value = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void append32(QByteArray& out, quint32 value) {
  value = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// One icon image as an ICO file holds it: a bitmap header of twice the
// height, the colour bitmap as 32-bit BGRA (the alpha channel, which Windows
// has drawn since XP), then the 1-bit mask that older drawing code uses (a
// set bit is transparent). Both bitmaps run from the bottom row up, each row
// padded to four bytes.
QByteArray icoImage(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int width = image.width(), height = image.height();
  const int maskStride = (width + 31) / 32 * 4;
  QByteArray out;
  append32(out, 40);  // the size of BITMAPINFOHEADER
  append32(out, width);
  append32(out, 2 * height);
  append16(out, 1);   // planes
  append16(out, 32);  // bits a pixel
  append32(out, 0);   // BI_RGB
  append32(out, (width * 4 + maskStride) * height);
  for (int field = 0; field < 4; ++field) append32(out, 0);  // resolution and colours
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = image.pixel(x, y);
      out.append(char(qBlue(pixel))).append(char(qGreen(pixel)));
      out.append(char(qRed(pixel))).append(char(qAlpha(pixel)));
    }
  }
  for (int y = height - 1; y >= 0; --y) {
    QByteArray row(maskStride, '\0');
    for (int x = 0; x < width; ++x) {
      if (qAlpha(image.pixel(x, y)) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    }
    out.append(row);
  }
  return out;
}

// An ICO file: the directory of its images, then the images.
QByteArray icoFile(const QList<QImage>& images) {
  QByteArray out;
  append16(out, 0);
  append16(out, 1);  // an icon, not a cursor
  append16(out, quint16(images.size()));
  const int directorySize = 6 + 16 * int(images.size());
  QByteArray data;
  for (const QImage& image : images) {
    const QByteArray bytes = icoImage(image);
    out.append(char(image.width())).append(char(image.height()));
    out.append(char(0)).append(char(0));  // no palette; reserved
    append16(out, 1);                     // planes
    append16(out, 32);                    // bits a pixel
    append32(out, quint32(bytes.size()));
    append32(out, quint32(directorySize + data.size()));
    data.append(bytes);
  }
  return out + data;
}

bool write(const QString& file, const QByteArray& bytes) {
  QFile out(file);
  return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw-icons FOLDER\n");
    return 2;
  }
  // No screen is needed to draw into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int appArgc = 1;
  QGuiApplication application(appArgc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]) + "/";
  const QImage small = zepo::qt::iconImage(16);
  const QImage large = zepo::qt::iconImage(32);
  const struct {
    QString name;
    QImage image;
  } pngs[] = {
      {"16.png", small},
      {"32.png", large},
      {"48.png", large.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::FastTransformation)},
  };
  for (const auto& [name, image] : pngs) {
    if (!image.save(folder + name, "PNG")) {
      std::fprintf(stderr, "draw-icons: cannot write %s\n",
                   (folder + name).toLocal8Bit().constData());
      return 1;
    }
  }
  const QString ico = folder + "clientzepo.ico";
  if (!write(ico, icoFile({small, large}))) {
    std::fprintf(stderr, "draw-icons: cannot write %s\n", ico.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
