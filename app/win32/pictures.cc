#include "app/win32/pictures.h"

#include <cstdint>
#include <vector>

#include "app/forms/icon_shapes.h"
#include "app/forms/picture_shapes.h"
#include "app/win32/controls.h"

namespace zepo::win32 {

namespace {

// Colours of the standard sixteen-colour palette that the icon uses.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Marks the transparent pixels while the icon is drawn; not a palette colour.
constexpr COLORREF kClear = RGB(0, 128, 255);

// A 32-bit top-down bitmap that GDI draws into and whose pixels can be read.
struct Canvas {
  Canvas(int width, int height) : width(width), height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    bitmap =
        CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
  }
  // Gives the bitmap to the caller.
  HBITMAP release() {
    GdiFlush();
    SelectObject(dc, old);
    old = nullptr;
    HBITMAP result = bitmap;
    bitmap = nullptr;
    return result;
  }
  COLORREF pixel(int x, int y) const {
    std::uint32_t value = bits[y * width + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
  }
  void fill(const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }

  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  std::uint32_t* bits = nullptr;
};

// A box filled with a colour and outlined in black inside its bounds.
void drawBox(Canvas& canvas, RECT box, COLORREF fill) {
  canvas.fill(box, fill);
  HBRUSH black = CreateSolidBrush(kBlack);
  FrameRect(canvas.dc, &box, black);
  DeleteObject(black);
}

// A line that includes both its end points.
void drawLine(Canvas& canvas, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(canvas.dc, pen);
  MoveToEx(canvas.dc, x1, y1, nullptr);
  LineTo(canvas.dc, x2, y2);
  SetPixel(canvas.dc, x2, y2, colour);
  SelectObject(canvas.dc, old);
  DeleteObject(pen);
}

void drawPolygon(HDC dc, const std::vector<POINT>& points, COLORREF outline, COLORREF fill,
                 bool outlined = true) {
  HPEN pen = outlined ? CreatePen(PS_SOLID, 1, outline) : CreatePen(PS_NULL, 0, 0);
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Polygon(dc, points.data(), static_cast<int>(points.size()));
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

RECT rect(const forms::Box& box) {
  return RECT{box.left, box.top, box.left + box.width, box.top + box.height};
}

HICON makeIcon(int size) {
  Canvas canvas(size, size);
  canvas.fill(RECT{0, 0, size, size}, kClear);
  forms::IconShapes shapes = forms::iconShapes(size);
  drawBox(canvas, rect(shapes.monitor), kSilver);
  drawBox(canvas, rect(shapes.screen), kNavy);
  canvas.fill(rect(shapes.stand), kGrey);
  drawBox(canvas, rect(shapes.base), kSilver);
  for (const forms::Segment& line : shapes.zed)
    drawLine(canvas, line.from.x, line.from.y, line.to.x, line.to.y, kWhite);
  std::vector<POINT> arrow;
  for (const forms::Point& point : shapes.arrow) arrow.push_back({point.x, point.y});
  drawPolygon(canvas.dc, arrow, kBlack, kYellow);
  GdiFlush();

  // The mask: 1 where the icon is transparent; there the colour image is
  // black, so that the screen shows through.
  int stride = ((size + 15) / 16) * 2;
  std::vector<BYTE> mask(stride * size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (canvas.pixel(x, y) == kClear) {
        mask[y * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        canvas.bits[y * size + x] = 0;
      }
    }
  }
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  HBITMAP colour = canvas.release();
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = maskBitmap;
  info.hbmColor = colour;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(maskBitmap);
  DeleteObject(colour);
  return icon;
}

HFONT pixelFont(int pixels, bool bold) {
  return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, L"Arial");
}

void drawText(HDC dc, const wchar_t* text, RECT band, COLORREF colour) {
  SetTextColor(dc, colour);
  DrawTextW(dc, text, -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void drawShape(HDC dc, COLORREF outline, COLORREF fill, bool ellipse, int left, int top, int right,
               int bottom) {
  HPEN pen = CreatePen(PS_SOLID, 1, outline);
  HBRUSH brush = CreateSolidBrush(fill);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  if (ellipse)
    Ellipse(dc, left, top, right, bottom);
  else
    Rectangle(dc, left, top, right, bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

HICON appIcon(int size) {
  static HICON big = makeIcon(32);
  static HICON small = makeIcon(16);
  return size >= 32 ? big : small;
}

namespace {

COLORREF colourRef(std::uint32_t colour) {
  return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

HBITMAP drawPicture(const forms::PictureShapes& picture) {
  Canvas canvas(picture.width, picture.height);
  HDC dc = canvas.dc;
  // The background, shading row by row from its top colour to its bottom one.
  for (int y = 0; y < picture.height; ++y) {
    double t = static_cast<double>(y) / (picture.height - 1);
    auto mix = [t](std::uint32_t top, std::uint32_t bottom, int shift) {
      int from = (top >> shift) & 0xFF, to = (bottom >> shift) & 0xFF;
      return static_cast<int>(from + (to - from) * t);
    };
    canvas.fill(RECT{0, y, picture.width, y + 1},
                RGB(mix(picture.top, picture.bottom, 16), mix(picture.top, picture.bottom, 8),
                    mix(picture.top, picture.bottom, 0)));
  }
  SetBkMode(dc, TRANSPARENT);
  for (const forms::Shape& shape : picture.shapes) {
    const forms::Box& b = shape.box;
    RECT box{b.left, b.top, b.left + b.width, b.top + b.height};
    COLORREF colour = colourRef(shape.colour);
    std::vector<POINT> points;
    for (const forms::Point& point : shape.points) points.push_back({point.x, point.y});
    switch (shape.kind) {
      case forms::Shape::kBox:
      case forms::Shape::kEllipse:
        drawShape(dc, kBlack, colour, shape.kind == forms::Shape::kEllipse, box.left, box.top,
                  box.right, box.bottom);
        break;
      case forms::Shape::kFill:
        canvas.fill(box, colour);
        break;
      case forms::Shape::kTile: {
        // Without a pen the shape covers one pixel less on each side.
        HPEN pen = CreatePen(PS_NULL, 0, 0);
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        RoundRect(dc, box.left, box.top, box.right + 1, box.bottom + 1, 2 * shape.size,
                  2 * shape.size);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
        break;
      }
      case forms::Shape::kPolygon:
        drawPolygon(dc, points, 0, colour, false);
        break;
      case forms::Shape::kDashedLine: {
        LOGBRUSH solid{BS_SOLID, colour, 0};
        DWORD dashes[] = {9, 3};
        HPEN link = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, shape.size, &solid,
                                 2, dashes);
        HGDIOBJ oldPen = SelectObject(dc, link);
        MoveToEx(dc, points[0].x, points[0].y, nullptr);
        LineTo(dc, points[1].x, points[1].y);
        SelectObject(dc, oldPen);
        DeleteObject(link);
        break;
      }
      case forms::Shape::kText: {
        HFONT font = pixelFont(shape.size, true);
        HGDIOBJ oldFont = SelectObject(dc, font);
        drawText(dc, wide(shape.text).c_str(), box, colour);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        break;
      }
    }
  }
  return canvas.release();
}

}  // namespace

HBITMAP installerPicture() {
  return drawPicture(forms::installerPictureShapes());
}

HBITMAP makerPicture() {
  return drawPicture(forms::makerPictureShapes());
}

}  // namespace zepo::win32
