// The two pictures of the about window, without any toolkit: the shapes
// each is drawn with, in order, on a background. Both front ends draw them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/forms/icon_shapes.h"

namespace zepo::forms {

struct Shape {
  enum Kind {
    kBox,         // filled, outlined in black one pixel inside its bounds
    kEllipse,     // the same, round
    kFill,        // filled, no outline
    kTile,        // filled rounded box, no outline; `size` is its corners' radius
    kPolygon,     // `points` filled, no outline
    kDashedLine,  // from points[0] to points[1], `size` pixels wide
    kText,        // `text` centred in `box`, bold Arial of `size` pixels
  };
  Kind kind;
  Box box;
  std::uint32_t colour;  // 0xRRGGBB of the fill, the line or the text
  std::vector<Point> points = {};
  int size = 0;
  std::string text = {};
};

struct PictureShapes {
  int width, height;
  std::uint32_t top, bottom;  // the background, shading from top to bottom
  std::vector<Shape> shapes;
};

// A server and a workstation joined by the copy arrow, with the product
// name: 195 by 113 pixels.
const PictureShapes& installerPictureShapes();
// The maker's mark: 120 by 102 pixels.
const PictureShapes& makerPictureShapes();

}  // namespace zepo::forms
