// Window measures are designed in twips (1440 to the inch); on screen they
// become pixels through the screen's twips per pixel (15 at 96 dots per
// inch).
#pragma once

#include <QRect>
#include <QSize>

namespace zepo::qt {

class Twips {
 public:
  explicit Twips(double perPixel) : perPixel_(perPixel) {}

  // 1440 / the logical dots per inch of the primary screen.
  static Twips ofScreen();

  double perPixel() const { return perPixel_; }
  int px(int twips) const;
  QRect rect(int left, int top, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  double perPixel_;
};

}  // namespace zepo::qt
