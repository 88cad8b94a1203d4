#include "app/forms/picture_shapes.h"

namespace zepo::forms {

const PictureShapes& installerPictureShapes() {
  static const PictureShapes picture = [] {
    PictureShapes p{195, 113, 0x003380, 0x3C82C8, {}};
    auto& s = p.shapes;
    // The server: a tower with drive bays and a lamp.
    s.push_back({Shape::kBox, {14, 12, 39, 63}, 0xC8C8C8});
    for (int bay = 0; bay < 3; ++bay)
      s.push_back({Shape::kBox, {19, 18 + 10 * bay, 29, 7}, 0x969696});
    s.push_back({Shape::kEllipse, {19, 61, 7, 7}, 0x00DC00});
    // The workstation: a monitor with the client window and a keyboard.
    s.push_back({Shape::kBox, {130, 14, 53, 43}, 0xC8C8C8});
    s.push_back({Shape::kBox, {135, 19, 43, 31}, 0x000080});
    s.push_back({Shape::kBox, {140, 24, 33, 21}, 0xC0C0C0});
    s.push_back({Shape::kFill, {141, 25, 31, 4}, 0x0000A0});
    s.push_back({Shape::kBox, {150, 56, 13, 7}, 0xA0A0A0});
    s.push_back({Shape::kBox, {126, 64, 61, 11}, 0xA0A0A0});
    // The copy from the share to the client: a dashed band and its head.
    s.push_back({Shape::kDashedLine, {}, 0xFFDC00, {{58, 42}, {112, 42}}, 3});
    s.push_back({Shape::kPolygon, {}, 0xFFDC00, {{110, 34}, {124, 42}, {110, 50}}});
    // The product name with a shadow.
    s.push_back({Shape::kText, {2, 80, 195, 32}, 0x000028, {}, 22, "clientZEPO"});
    s.push_back({Shape::kText, {0, 78, 195, 32}, 0xFFFFFF, {}, 22, "clientZEPO"});
    return p;
  }();
  return picture;
}

const PictureShapes& makerPictureShapes() {
  static const PictureShapes picture = [] {
    PictureShapes p{120, 102, 0xC0C0C0, 0xC0C0C0, {}};
    auto& s = p.shapes;
    // A red tile with its shadow and a white M cut into it.
    s.push_back({Shape::kTile, {33, 7, 58, 58}, 0x800000, {}, 8});
    s.push_back({Shape::kTile, {30, 4, 58, 58}, 0xC81020, {}, 8});
    s.push_back({Shape::kPolygon,
                 {},
                 0xFFFFFF,
                 {{38, 52},
                  {38, 14},
                  {47, 14},
                  {59, 34},
                  {71, 14},
                  {80, 14},
                  {80, 52},
                  {72, 52},
                  {72, 29},
                  {59, 48},
                  {46, 29},
                  {46, 52}}});
    s.push_back({Shape::kText, {0, 70, 120, 26}, 0x800000, {}, 14, "MORVICAN"});
    return p;
  }();
  return picture;
}

}  // namespace zepo::forms
