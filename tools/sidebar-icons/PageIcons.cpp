#include "PageIcons.h"

#include <initializer_list>

namespace tq {
namespace {

constexpr COLORREF Grey = RGB(128, 128, 128), White = RGB(255, 255, 255), Black = RGB(0, 0, 0),
                   Dark = RGB(40, 40, 40), Blue = RGB(40, 90, 200), Sky = RGB(120, 170, 240),
                   Yellow = RGB(250, 205, 70), Ochre = RGB(190, 140, 30), Green = RGB(40, 160, 60),
                   Lime = RGB(120, 230, 100), Red = RGB(210, 50, 50), Orange = RGB(240, 140, 40),
                   Purple = RGB(140, 70, 180), Brown = RGB(150, 95, 45), Tan = RGB(215, 170, 110),
                   Steel = RGB(190, 195, 205), Paper = RGB(250, 250, 245);

// A drawing scope: pen and brush of one colour each.
class Pen {
 public:
  Pen(HDC dc, COLORREF line, int width, COLORREF fill)
      : FDC(dc), FPen(CreatePen(PS_SOLID, width, line)), FBrush(CreateSolidBrush(fill)),
        FOldPen(SelectObject(dc, FPen)), FOldBrush(SelectObject(dc, FBrush)) {}
  Pen(const Pen&) = delete;
  Pen& operator=(const Pen&) = delete;
  ~Pen() {
    SelectObject(FDC, FOldPen);
    SelectObject(FDC, FOldBrush);
    DeleteObject(FPen);
    DeleteObject(FBrush);
  }

 private:
  HDC FDC;
  HPEN FPen;
  HBRUSH FBrush;
  HGDIOBJ FOldPen, FOldBrush;
};

void Box(HDC dc, int l, int t, int r, int b, COLORREF line, COLORREF fill, int width = 1) {
  Pen p(dc, line, width, fill);
  Rectangle(dc, l, t, r, b);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width) {
  Pen p(dc, colour, width, colour);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void Shape(HDC dc, std::initializer_list<POINT> points, COLORREF line, COLORREF fill) {
  Pen p(dc, line, 1, fill);
  Polygon(dc, points.begin(), static_cast<int>(points.size()));
}

void Disc(HDC dc, int l, int t, int r, int b, COLORREF line, COLORREF fill, int width = 1) {
  Pen p(dc, line, width, fill);
  Ellipse(dc, l, t, r, b);
}

// A sheet of paper with a folded corner.
void Sheet(HDC dc, int l, int t, int r, int b) {
  Shape(dc, {{l, t}, {r - 6, t}, {r, t + 6}, {r, b}, {l, b}}, Dark, Paper);
  Shape(dc, {{r - 6, t}, {r - 6, t + 6}, {r, t + 6}}, Dark, Steel);
}

void Info(HDC dc) {
  Disc(dc, 2, 2, 30, 30, White, Blue, 2);
  Disc(dc, 14, 7, 19, 12, White, White);
  Box(dc, 14, 14, 19, 25, White, White);
}

void Directories(HDC dc) {
  Shape(dc, {{3, 8}, {12, 8}, {15, 11}, {29, 11}, {29, 27}, {3, 27}}, Ochre, Ochre);
  Shape(dc, {{3, 14}, {29, 14}, {29, 27}, {3, 27}}, Ochre, Yellow);
}

void Choices(HDC dc) {
  Sheet(dc, 5, 2, 27, 30);
  for (int row = 0; row < 3; ++row) {
    const int y = 7 + row * 8;
    Box(dc, 8, y, 14, y + 6, Dark, White);
    if (row != 1) {
      Line(dc, 9, y + 3, 11, y + 5, Green, 2);
      Line(dc, 11, y + 5, 15, y - 1, Green, 2);
    }
    Line(dc, 17, y + 3, 24, y + 3, Steel, 2);
  }
}

// A small cube: front face, top and side in lighter and darker shades.
void Cube(HDC dc, int x, int y, COLORREF face, COLORREF top, COLORREF side) {
  Shape(dc, {{x, y + 4}, {x + 4, y}, {x + 14, y}, {x + 10, y + 4}}, Dark, top);
  Shape(dc, {{x + 10, y + 4}, {x + 14, y}, {x + 14, y + 10}, {x + 10, y + 14}}, Dark, side);
  Box(dc, x, y + 4, x + 11, y + 15, Dark, face);
}

void Registry(HDC dc) {
  Cube(dc, 2, 15, Blue, Sky, RGB(20, 50, 130));
  Cube(dc, 15, 15, Red, RGB(240, 130, 130), RGB(130, 30, 30));
  Cube(dc, 8, 2, Green, Lime, RGB(20, 90, 30));
}

void Shortcuts(HDC dc) {
  Sheet(dc, 7, 2, 27, 28);
  Box(dc, 3, 16, 17, 30, Dark, White);
  Shape(dc, {{6, 27}, {6, 22}, {10, 22}, {8, 19}, {14, 19}, {14, 25}, {12, 23}, {9, 27}}, Blue, Blue);
}

void Environment(HDC dc) {
  Box(dc, 2, 4, 30, 28, Dark, Black);
  Box(dc, 2, 4, 30, 9, Dark, Sky);
  Line(dc, 5, 13, 9, 13, Lime, 2);
  Line(dc, 11, 13, 18, 13, Lime, 2);
  Line(dc, 5, 18, 12, 18, Lime, 2);
  Line(dc, 14, 18, 25, 18, Lime, 2);
  Line(dc, 5, 23, 8, 23, Lime, 2);
}

void Associations(HDC dc) {
  Sheet(dc, 4, 2, 22, 26);
  Line(dc, 7, 8, 17, 8, Steel, 2);
  Line(dc, 7, 12, 15, 12, Steel, 2);
  Disc(dc, 12, 16, 23, 27, Orange, Grey, 3);
  Disc(dc, 19, 19, 30, 30, Orange, Grey, 3);
  Line(dc, 18, 22, 24, 24, Orange, 3);
}

void Modules(HDC dc) {
  // A puzzle piece: a square with a knob on the right and a notch at the top.
  Box(dc, 4, 8, 24, 28, Dark, Purple);
  Disc(dc, 21, 13, 29, 22, Dark, Purple);
  Box(dc, 20, 14, 24, 21, Purple, Purple);
  Disc(dc, 10, 4, 18, 12, Dark, Grey);
  Box(dc, 9, 9, 19, 9 + 1, Grey, Grey);
  Box(dc, 5, 9, 10, 10, Purple, Purple);
  Box(dc, 18, 9, 23, 10, Purple, Purple);
}

void Gui(HDC dc) {
  Box(dc, 2, 4, 30, 28, Dark, White);
  Box(dc, 2, 4, 30, 10, Dark, Blue);
  Box(dc, 25, 6, 28, 9, White, White);
  Box(dc, 5, 13, 15, 17, Dark, Steel);
  Box(dc, 5, 19, 27, 21, Steel, Steel);
  Box(dc, 17, 22, 27, 26, Dark, Steel);
}

void Msi(HDC dc) {
  // A carton with an arrow going in.
  Shape(dc, {{3, 14}, {16, 18}, {16, 30}, {3, 26}}, Dark, Tan);
  Shape(dc, {{16, 18}, {29, 14}, {29, 26}, {16, 30}}, Dark, Brown);
  Shape(dc, {{3, 14}, {16, 10}, {29, 14}, {16, 18}}, Dark, RGB(235, 200, 150));
  Shape(dc, {{13, 1}, {19, 1}, {19, 8}, {23, 8}, {16, 15}, {9, 8}, {13, 8}}, RGB(20, 100, 30), Green);
}

void Build(HDC dc) {
  // A hammer.
  Line(dc, 9, 28, 21, 12, Brown, 5);
  Shape(dc, {{12, 6}, {20, 2}, {29, 13}, {22, 18}}, Dark, Steel);
  Shape(dc, {{12, 6}, {8, 8}, {12, 13}, {16, 11}}, Dark, RGB(120, 125, 135));
}

void Updates(HDC dc) {
  // Two arrows chasing each other round a circle.
  {
    Pen p(dc, Lime, 4, Lime);
    Arc(dc, 5, 5, 27, 27, 27, 10, 5, 22);
    Arc(dc, 5, 5, 27, 27, 5, 22, 27, 10);
  }
  Shape(dc, {{21, 4}, {30, 6}, {26, 14}}, RGB(20, 120, 30), Lime);
  Shape(dc, {{11, 28}, {2, 26}, {6, 18}}, RGB(20, 120, 30), Lime);
}

using TDraw = void (*)(HDC);
constexpr TDraw Drawings[PageIconCount] = {Info,         Directories, Choices, Registry, Shortcuts, Environment,
                                           Associations, Modules,     Gui,     Msi,      Build,     Updates};

}  // namespace

HBITMAP DrawPageIcon(int index) {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 32, 32);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 32, 32};
  HBRUSH back = CreateSolidBrush(Grey);
  FillRect(dc, &all, back);
  DeleteObject(back);
  if (index >= 0 && index < PageIconCount) Drawings[index](dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

}  // namespace tq
