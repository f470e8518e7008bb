#include "ui/print_fit.h"

#include <algorithm>
#include <cstdint>

namespace ui {
namespace {

// a × b / c to the nearest integer, halves away from zero, for non-negative a and b and a
// positive c. The product is taken wide: a side in dots may already be the product of two ints.
int64_t MulDiv(int64_t a, int64_t b, int64_t c) {
  __extension__ using Wide = __int128;
  return static_cast<int64_t>((static_cast<Wide>(a) * b + c / 2) / c);
}

// Printer dots for `pixels` screen pixels.
int64_t ToDots(int pixels, int screenDpi, int printerDpi) {
  const int64_t p = std::max(pixels, 0);
  if (screenDpi <= 0 || printerDpi <= 0) return p;
  return MulDiv(p, printerDpi, screenDpi);
}

}  // namespace

PrintExtent FitPrintedPicture(PrintExtent picture, PrintResolution screen, PrintResolution printer,
                              PrintExtent printable) {
  if (printable.width <= 0 || printable.height <= 0) return {};
  int64_t w = ToDots(picture.width, screen.x, printer.x);
  int64_t h = ToDots(picture.height, screen.y, printer.y);
  if (h > printable.height) {
    w = MulDiv(w, printable.height, h);
    h = printable.height;
  }
  if (w > printable.width) {
    h = MulDiv(h, printable.width, w);
    w = printable.width;
  }
  // Both sides are now within the page, so they fit an int.
  return {static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace ui
