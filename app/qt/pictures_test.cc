#include "app/qt/pictures.h"

#include <QImageReader>
#include <QMap>
#include <QSet>

#include "app/qt/test_app.h"

namespace zepo::qt {
namespace {

TEST(Pictures, IconImagesUseOnlyTheSixteenColours) {
  uitest::application();
  QSet<QRgb> palette(sixteenColours().begin(), sixteenColours().end());
  ASSERT_EQ(palette.size(), 16);
  for (int size : {32, 16}) {
    QImage image = iconImage(size);
    EXPECT_EQ(image.size(), QSize(size, size));
    QSet<QRgb> used;
    int transparent = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        QRgb pixel = image.pixel(x, y);
        if (qAlpha(pixel) == 0) {
          ++transparent;
          continue;
        }
        EXPECT_EQ(qAlpha(pixel), 255) << size << " at " << x << "," << y;
        used.insert(pixel | 0xff000000);
      }
    }
    EXPECT_TRUE(used.subtract(palette).isEmpty()) << size;
    EXPECT_GT(transparent, 0) << size;
  }
}

// The Windows program's icon file, written from this drawing by draw-icons
// and kept in the sources: read back by Qt's own ICO reader, it holds the
// window's 16 and 32 pixel images pixel for pixel, transparency included.
TEST(Pictures, WindowsIconFileHoldsTheWindowIcon) {
  uitest::application();
  QImageReader reader(ZEPO_SOURCE_DIR "/packaging/windows/clientzepo.ico", "ico");
  QMap<int, QImage> images;
  for (int i = 0; i < reader.imageCount(); ++i) {
    ASSERT_TRUE(reader.jumpToImage(i));
    QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    images.insert(image.width(), image);
  }
  ASSERT_EQ(images.keys(), QList<int>({16, 32}));
  for (auto [size, image] : images.asKeyValueRange()) {
    EXPECT_EQ(image, iconImage(size)) << size;
  }
}

}  // namespace
}  // namespace zepo::qt
