#include "app/pictures.h"

#include <QSet>

#include "app/test_app.h"

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

}  // namespace
}  // namespace zepo::qt
