#include "ui/window_picture_print.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>
#include <cmath>

#include "ui/print_fit.h"
#include "ui/print_service.h"

namespace ui {

void PrintWindowPicture(QWidget* window, PrintService& printService) {
  if (window == nullptr) return;
  const auto job = printService.Prepare(window, PrintDialogSetup{});
  if (!job || job->printer == nullptr) return;
  QPrinter& printer = *job->printer;

  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  window->repaint();
  const QPixmap grabbed = window->grab();
  // 24 bits a pixel: the picture as the screen shows it, with nothing for the printer to blend.
  // A picture that could not be made leaves the page empty.
  const QImage picture = grabbed.toImage().convertToFormat(QImage::Format_RGB888);
  QPainter painter;
  bool printed = false;
  if (painter.begin(&printer)) {
    if (!picture.isNull()) {
      // The grab has the screen's device pixels; the screen's resolution is counted in them too.
      const double ratio = grabbed.devicePixelRatio();
      const PrintResolution screen{static_cast<int>(std::lround(window->logicalDpiX() * ratio)),
                                   static_cast<int>(std::lround(window->logicalDpiY() * ratio))};
      const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
      const PrintExtent size = FitPrintedPicture({picture.width(), picture.height()}, screen,
                                                 {printer.logicalDpiX(), printer.logicalDpiY()},
                                                 {page.width(), page.height()});
      painter.drawImage(QRect(0, 0, size.width, size.height), picture);
    }
    printed = painter.end();
  }
  QApplication::restoreOverrideCursor();
  if (!printed) printService.TellNotPrinted(window, *job);
}

}  // namespace ui
