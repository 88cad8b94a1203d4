// The window icon's drawing, without any toolkit: a monitor with a Z on its
// screen and a download arrow, in colours of the standard sixteen-colour
// palette. Both front ends draw it from these shapes, on whole pixels.
#pragma once

#include <vector>

namespace zepo::forms {

struct Point {
  int x, y;
};

// A box filled with a colour; outlined in black inside its bounds where the
// drawing says so.
struct Box {
  int left, top, width, height;
};

// A line that includes both its end points.
struct Segment {
  Point from, to;
};

struct IconShapes {
  Box monitor, screen, stand, base;  // silver, navy, grey (no outline), silver
  std::vector<Segment> zed;          // white
  std::vector<Point> arrow;          // yellow, outlined in black
};

// The shapes of the icon image of that size (32 or 16 pixels).
IconShapes iconShapes(int size);

}  // namespace zepo::forms
