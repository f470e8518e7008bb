#pragma once
// THistForm: the window that shows one history file, as a chart (one line per value column
// and recording run, with a read-out of the values under the mouse) and as a table. The
// caller puts it into the MDI area once OpenFile has succeeded.
#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "ui/child_windows.h"
#include "history/history_data.h"
#include "history/run_lanes.h"

class QAction;
class QCheckBox;
class QCPItemLine;
class QCPLayer;
class QCPTextElement;
class QCustomPlot;
class QPen;
class QPrinter;
class QFrame;
class QLabel;
class QMenu;
class QMouseEvent;
class QTabWidget;
class QTableView;

namespace ui {
class ChartLegendModel;
class ChartLegendView;
class PrintService;
class UserInteraction;
class WaitCursor;
}  // namespace ui

namespace history {

class CellTexts;
class ChartGestures;
class ColumnLines;
class HistTableModel;
class TExportForm;
class THistConfigForm;
class ValueRange;

class THistForm : public QWidget, public ui::HistoryViewerCommands {
  Q_OBJECT

 public:
  // Message texts, replaceable by the language file.
  enum Message { kMsgInstant = 0, kMsgTooManyColumns = 1, kMessageCount };

  explicit THistForm(ui::UserInteraction& ui, QWidget* parent = nullptr);
  ~THistForm() override;

  // Reads the whole file into the table and the chart, with the wait cursor. False when the
  // file can't be opened or read, holds no value column or no data line among its lines,
  // or memory runs out (OpenProblem says why). Lines that were damaged are left out and
  // reported once, with where; the rest is shown.
  bool OpenFile(const QString& fileName) override;
  QString OpenProblem() const override { return openProblem_; }

  // Exports the whole table to the file, the format by its extension (case ignored), with
  // the wait cursor; an empty separator counts as ".". False, after telling the user why,
  // for an extension no exporter takes or an export that failed (the file is then as it
  // was).
  bool ExportTable(const QString& fileName, bool withoutMilliseconds, bool millisecondsInOwnColumn,
                   QChar millisecondSeparator) override;
  // The program's export dialog; without one the viewer makes its own when first asked.
  void SetExportDialog(TExportForm* dialog);
  TExportForm* ExportDialog();

  // The pen dialog on this viewer's chart and columns, modal.
  void ConfigurePens() override;
  // The program's pen dialog; without one the viewer makes its own when first asked.
  void SetPenDialog(THistConfigForm* dialog);
  THistConfigForm* PenDialog();

  // Prints the page in front: the chart as the window shows it, on one page, or the table
  // (all of it, or the rows selected) as a listing, through the program's print dialog.
  void PrintHistory() override;
  // The program's printer and print dialog; without one the viewer uses the system's.
  void SetPrintService(ui::PrintService* service);

  // What is loaded, for the export, the pen dialog and printing.
  const HistoryData& Data() const { return data_; }
  // Cell of the whole table (header rows 0..2 included) as shown.
  QString CellText(size_t tableRow, size_t column) const;
  size_t RunCount() const { return data_.Runs().size(); }
  size_t SeriesPerRun() const { return data_.ValueColumnCount(); }
  QString SeriesTitle(size_t valueColumn) const { return seriesTitles_.value(static_cast<qsizetype>(valueColumn)); }
  const QStringList& Messages() const { return messages_; }

  // Every value column's line in every recording run, on one plottable of the chart.
  ColumnLines* Lines() const { return lines_; }
  // A column's colour and width, for all of its runs at once.
  QPen ColumnPen(size_t valueColumn) const;
  void SetColumnPen(size_t valueColumn, const QPen& pen);
  // The pens of the first columns, in column order, with one redraw.
  void SetColumnPens(const std::vector<QPen>& pens);
  // The chart's colour around the plot, and the plot's back colour.
  QColor ChartColor() const;
  void SetChartColor(const QColor& color);
  QColor ChartBackColor() const;
  void SetChartBackColor(const QColor& color);

  // The read-out for the chart position x (a chart key): the time in DateTimeLabel and each
  // value column's value at that time in the legend.
  void ShowReadout(double chartKey);
  QString LegendText(size_t valueColumn) const;
  // The cross-hair through a point of the chart in pixels (shown while "Cruz" is checked).
  void MoveCrossHair(const QPoint& pixel);
  // Both axes back to the whole file, after zooming or dragging.
  void ShowWholeFile();

  QSize sizeHint() const override { return QSize(760, 540); }

  QCustomPlot* Chart() const { return chart_; }
  QTableView* Grid() const { return grid_; }
  QLabel* DateTimeLabel() const { return dateTimeLabel_; }
  QCheckBox* CrossCheckBox() const { return crossCheckBox_; }
  QMenu* PopupMenu() const { return popupMenu_; }
  QTabWidget* PageControl() const { return pageControl_; }
  ui::ChartLegendView* Legend() const { return legend_; }

 private slots:
  void HistChartMouseMove(QMouseEvent* event);
  void HistChartDblClick();
  void ConfigurarGraficoClick();
  void ImprimirClick();
  void ExportarClick();
  void FecharClick();
  void CrossCheckBoxClick();

 private:
  void BuildWidgets();
  void ApplyLanguage();
  void CopyMainMenuCaptions();
  void ShowPopupMenu(const QPoint& globalPos);
  // An error message box, with the program's name as caption.
  void ShowError(const QString& text);

  // hist_print.cpp
  ui::PrintService& PrintServiceInUse();
  std::vector<size_t> RowsToPrint(bool selectionOnly) const;
  // False when the printer did not print (the user was told of anything else).
  bool PrintTable(QPrinter& printer, bool selectionOnly, ui::WaitCursor& wait);

  // hist_form_chart.cpp
  void SetUpChart();
  void ClearChart();
  void BuildChart();
  void ScaleAxes(const ValueRange& range);
  void FitLegendAndTitle();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SizeGridColumns();

  ui::UserInteraction& ui_;
  QStringList messages_;
  HistoryData data_;
  std::unique_ptr<CellTexts> texts_;
  std::unique_ptr<HistTableModel> model_;
  // Earliest and latest chart key of each run (its lines need not be in time order), and
  // the lane of the chart's lines that holds it.
  std::vector<RunSpan> runSpans_;
  RunLanes runLanes_;
  QStringList seriesTitles_;
  QString chartTitle_;
  QString openProblem_;
  // The chart's own colour (the chart keeps it only as a brush it does not give back).
  QColor chartColor_ = Qt::white;

  QTabWidget* pageControl_ = nullptr;
  QWidget* chartTabSheet_ = nullptr;
  QWidget* tableTabSheet_ = nullptr;
  QCustomPlot* chart_ = nullptr;
  ColumnLines* lines_ = nullptr;
  QCPTextElement* titleElement_ = nullptr;
  ChartGestures* gestures_ = nullptr;
  ui::ChartLegendView* legend_ = nullptr;
  ui::ChartLegendModel* legendModel_ = nullptr;
  QFrame* infoPanel_ = nullptr;
  QLabel* dateTimeLabel_ = nullptr;
  QCheckBox* crossCheckBox_ = nullptr;
  QTableView* grid_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QAction* configurarGrafico_ = nullptr;
  QAction* imprimir_ = nullptr;
  QAction* exportar_ = nullptr;
  QAction* fechar_ = nullptr;

  QPointer<TExportForm> exportForm_;
  QPointer<THistConfigForm> penForm_;
  ui::PrintService* printService_ = nullptr;
  std::unique_ptr<ui::PrintService> ownPrintService_;

  QCPLayer* readoutLayer_ = nullptr;
  QCPItemLine* crossVertical_ = nullptr;
  QCPItemLine* crossHorizontal_ = nullptr;
};

}  // namespace history
