// What the conformance tests of both front ends expect of a window built
// from its table, worked out from the table on its own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/forms/form_table.h"

namespace zepo::forms::test {

// The controls that Tab visits, from the first: those in tab order that
// are visible and enabled.
inline std::vector<std::string> expectedTabChain(const FormTable& table) {
  std::vector<const ControlDesign*> order = table.tabOrder();
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end(),
                             [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; }));
  std::vector<std::string> names;
  for (const ControlDesign* design : order)
    if (design->visible && design->enabled) names.push_back(design->name);
  return names;
}

// The menu bar's captions, then each menu's items' after its caption and
// a slash.
inline std::vector<std::string> expectedMenus(const FormTable& table) {
  std::vector<std::string> captions;
  for (const Menu& menu : table.menus) captions.push_back(menu.caption);
  for (const Menu& menu : table.menus)
    for (const MenuItem& item : menu.items) captions.push_back(menu.caption + "/" + item.caption);
  return captions;
}

// A pixel on the bottom row of each line, in the middle, and the colour it
// must have there: that of the last line drawn over it.
struct LinePixel {
  std::string name;
  int x, y;
  std::uint32_t colour;
};
inline std::vector<LinePixel> expectedLinePixels(const FormTable& table, double perPixel) {
  std::vector<LinePixel> pixelsOfLines;
  for (const LineSpec& line : table.lines) {
    LinePixel probe{line.name, (pixels(line.x1, perPixel) + pixels(line.x2, perPixel)) / 2,
                    pixels(line.y, perPixel) + line.thickness - 1, line.colour};
    for (const LineSpec& over : table.lines)
      if (&over > &line && probe.y >= pixels(over.y, perPixel) &&
          probe.y < pixels(over.y, perPixel) + over.thickness)
        probe.colour = over.colour;
    pixelsOfLines.push_back(probe);
  }
  return pixelsOfLines;
}

}  // namespace zepo::forms::test
