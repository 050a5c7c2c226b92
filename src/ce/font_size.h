#pragma once
// Point sizes and font heights of the handheld font page. Both directions use
// one rounding of a x b / c: the truncated quotient, plus one when the
// remainder is at least c / 2, so that a size chosen from the list comes back
// as the same size. Plain functions; any thread.

namespace dossel::ce {

// a x b / c with the rounding above (c > 0).
int MulDivRounded(int a, int b, int c);
// The character height (negative, in pixels) of a point size.
int HeightFromPoints(int points, int pixelsPerInch);
// The point size shown for a height.
int PointsFromHeight(int height, int pixelsPerInch);
// The decimal value a typed size stands for: its leading digits, 0 for none.
int PointsFromText(const wchar_t* text);

}  // namespace dossel::ce
