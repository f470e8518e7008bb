#include "display/display_print.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <cmath>

#include "ui/user_interaction.h"

void PrintWindowPicture(QWidget* window, ui::UserInteraction* ui) {
  if (window == nullptr) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, window);
  dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  const int result = ui != nullptr ? ui->RunModal(&dialog) : dialog.exec();
  if (result != QDialog::Accepted) return;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QPixmap picture = window->grab();
  QPainter painter;
  if (painter.begin(&printer)) {
    // The size the window has on screen, in printer dots; shrunk to the page if needed.
    const double sx = double(printer.logicalDpiX()) / std::max(1, window->logicalDpiX());
    const double sy = double(printer.logicalDpiY()) / std::max(1, window->logicalDpiY());
    double w = picture.width() * sx;
    double h = picture.height() * sy;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    if (h > page.height()) {
      w = w * page.height() / h;
      h = page.height();
    }
    if (w > page.width()) {
      h = h * page.width() / w;
      w = page.width();
    }
    painter.drawPixmap(QRect(0, 0, int(std::lround(w)), int(std::lround(h))), picture);
    painter.end();
  }
  QApplication::restoreOverrideCursor();
}
