#pragma once
// Printing a window's picture on one page: the print dialog, then the window as it shows on
// the screen, as large on paper as on the screen and made smaller, in proportion, until it
// fits the printable part of the page, drawn at the page's top left corner.
class QWidget;

namespace ui {

class PrintService;

void PrintWindowPicture(QWidget* window, PrintService& printService);

}  // namespace ui
