#include "app/win32/pictures.h"

#include <cstdint>
#include <vector>

#include "app/forms/icon_shapes.h"

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

HBITMAP installerPicture() {
  constexpr int kWidth = 195, kHeight = 113;
  Canvas canvas(kWidth, kHeight);
  HDC dc = canvas.dc;
  // The sky: dark blue at the top to light blue at the bottom.
  for (int y = 0; y < kHeight; ++y) {
    double t = static_cast<double>(y) / (kHeight - 1);
    canvas.fill(RECT{0, y, kWidth, y + 1},
                RGB(static_cast<int>(0 + 60 * t), static_cast<int>(51 + 79 * t),
                    static_cast<int>(128 + 72 * t)));
  }

  // The server: a tower with drive bays and a lamp.
  drawShape(dc, kBlack, RGB(200, 200, 200), false, 14, 12, 53, 75);
  for (int bay = 0; bay < 3; ++bay)
    drawShape(dc, kBlack, RGB(150, 150, 150), false, 19, 18 + 10 * bay, 48, 25 + 10 * bay);
  drawShape(dc, kBlack, RGB(0, 220, 0), true, 19, 61, 26, 68);

  // The workstation: a monitor with the client window and a keyboard.
  drawShape(dc, kBlack, RGB(200, 200, 200), false, 130, 14, 183, 57);
  drawShape(dc, kBlack, RGB(0, 0, 128), false, 135, 19, 178, 50);
  drawShape(dc, kBlack, RGB(192, 192, 192), false, 140, 24, 173, 45);
  canvas.fill(RECT{141, 25, 172, 29}, RGB(0, 0, 160));
  drawShape(dc, kBlack, RGB(160, 160, 160), false, 150, 56, 163, 63);
  drawShape(dc, kBlack, RGB(160, 160, 160), false, 126, 64, 187, 75);

  // The copy from the share to the client: a dashed band and its head.
  LOGBRUSH yellow{BS_SOLID, RGB(255, 220, 0), 0};
  DWORD dashes[] = {9, 3};
  HPEN link = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, &yellow, 2, dashes);
  HGDIOBJ oldPen = SelectObject(dc, link);
  MoveToEx(dc, 58, 42, nullptr);
  LineTo(dc, 112, 42);
  SelectObject(dc, oldPen);
  DeleteObject(link);
  drawPolygon(dc, {{110, 34}, {124, 42}, {110, 50}}, 0, RGB(255, 220, 0), false);

  // The product name with a shadow.
  HFONT font = pixelFont(22, true);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  drawText(dc, L"clientZEPO", RECT{2, 80, 197, 112}, RGB(0, 0, 40));
  drawText(dc, L"clientZEPO", RECT{0, 78, 195, 110}, kWhite);
  SelectObject(dc, oldFont);
  DeleteObject(font);
  return canvas.release();
}

HBITMAP makerPicture() {
  constexpr int kWidth = 120, kHeight = 102;
  Canvas canvas(kWidth, kHeight);
  HDC dc = canvas.dc;
  canvas.fill(RECT{0, 0, kWidth, kHeight}, kSilver);

  // A red tile with its shadow and a white M cut into it.
  auto tile = [dc](int left, int top, COLORREF colour) {
    HPEN pen = CreatePen(PS_NULL, 0, 0);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    RoundRect(dc, left, top, left + 59, top + 59, 16, 16);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
  };
  tile(33, 7, RGB(128, 0, 0));
  tile(30, 4, RGB(200, 16, 32));
  drawPolygon(dc,
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
               {46, 52}},
              0, kWhite, false);

  HFONT font = pixelFont(14, true);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  drawText(dc, L"MORVICAN", RECT{0, 70, 120, 96}, RGB(128, 0, 0));
  SelectObject(dc, oldFont);
  DeleteObject(font);
  return canvas.release();
}

}  // namespace zepo::win32
