#pragma once
// Printing a window's picture: the print dialog (no printing to a file), then the window as
// it shows on screen, at the printer's resolution and kept within the printable page.
class QWidget;

namespace ui {
class UserInteraction;
}

// `ui` runs the dialog when given (so tests never block); null runs it directly.
void PrintWindowPicture(QWidget* window, ui::UserInteraction* ui);
