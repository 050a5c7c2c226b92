#include "ce/font_size.h"

#include <cstdint>

namespace dossel::ce {

int MulDivRounded(int a, int b, int c) {
  const int64_t product = static_cast<int64_t>(a) * b;
  int64_t quotient = product / c;
  if (product % c >= c / 2) ++quotient;
  return static_cast<int>(quotient);
}

int HeightFromPoints(int points, int pixelsPerInch) { return -MulDivRounded(points, pixelsPerInch, 72); }

int PointsFromHeight(int height, int pixelsPerInch) { return MulDivRounded(-72, height, pixelsPerInch); }

int PointsFromText(const wchar_t* text) {
  while (*text == L' ' || *text == L'\t') ++text;
  int value = 0;
  for (; *text >= L'0' && *text <= L'9'; ++text) {
    if (value > 100000) break;  // sizes beyond any font stop growing here
    value = value * 10 + (*text - L'0');
  }
  return value;
}

}  // namespace dossel::ce
