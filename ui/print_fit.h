#pragma once
// The size at which a window's picture is printed: as large on paper as it is on the screen,
// then made smaller, keeping its proportions, until it fits the printable part of the page.
// Pure arithmetic, shared by every command that prints a window's picture.

namespace ui {

// A size in pixels (screen) or printer dots.
struct PrintExtent {
  int width = 0;
  int height = 0;
  friend bool operator==(const PrintExtent&, const PrintExtent&) = default;
};

// Dots per inch, across and down.
struct PrintResolution {
  int x = 0;
  int y = 0;
};

// The picture's size in printer dots: each side times the printer's resolution over the
// screen's, to the nearest dot. When that is taller than the printable height it is fitted to
// the height; when it is then still wider than the printable width, to the width as well.
// A resolution that is not positive counts as equal to the other device's (no scaling), and
// an empty page gives an empty size.
PrintExtent FitPrintedPicture(PrintExtent picture, PrintResolution screen, PrintResolution printer,
                              PrintExtent printable);

}  // namespace ui
