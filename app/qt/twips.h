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

  // Called before the application is made: turns Qt's own scaling off, so
  // that the windows are laid out in twips at the screen's real dots per
  // inch, as the forms runtime does, and the screen's width is its number
  // of device pixels (Qt's scaled width, 640 for 800 pixels at 125 %,
  // cannot give it back exactly).
  static void useDevicePixels();

  double perPixel() const { return perPixel_; }
  int px(int twips) const;
  QRect rect(int left, int top, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  double perPixel_;
};

}  // namespace zepo::qt
