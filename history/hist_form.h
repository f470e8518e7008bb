#pragma once
// THistForm: the window that shows one history file, as a chart (one line per value column
// and recording run, with a read-out of the values under the mouse) and as a table. The
// caller puts it into the MDI area once OpenFile has succeeded.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "ui/child_windows.h"
#include "history/history_data.h"

class QAction;
class QCheckBox;
class QCPGraph;
class QCPItemLine;
class QCPLayer;
class QCustomPlot;
class QFrame;
class QLabel;
class QMenu;
class QMouseEvent;
class QTabWidget;
class QTableView;

namespace ui {
class UserInteraction;
}

namespace history {

class CellTexts;
class HistTableModel;

class THistForm : public QWidget, public ui::HistoryViewerCommands {
  Q_OBJECT

 public:
  // Message texts, replaceable by the language file.
  enum Message { kMsgInstant = 0, kMsgTooManyColumns = 1, kMessageCount };

  explicit THistForm(ui::UserInteraction& ui, QWidget* parent = nullptr);
  ~THistForm() override;

  // Reads the whole file into the table and the chart, with the wait cursor. False when the
  // file can't be opened or read, holds no value column, or memory runs out. Lines that
  // were damaged are left out and reported once; the rest is shown.
  bool OpenFile(const QString& fileName) override;

  // Export, pen dialog and printing arrive with their dialogs; until then they do nothing.
  bool ExportTable(const QString& fileName, bool withoutMilliseconds, bool millisecondsInOwnColumn,
                   QChar millisecondSeparator) override;
  void PrintHistory() override;
  void ConfigurePens() override;

  // What is loaded, for the export, the pen dialog and printing.
  const HistoryData& Data() const { return data_; }
  // Cell of the whole table (header rows 0..2 included) as shown.
  QString CellText(size_t tableRow, size_t column) const;
  size_t RunCount() const { return data_.Runs().size(); }
  size_t SeriesPerRun() const { return data_.ValueColumnCount(); }
  // Value columns × runs, run by run, each run's in column order.
  const std::vector<QCPGraph*>& Series() const { return series_; }
  QCPGraph* SeriesOf(size_t run, size_t valueColumn) const { return series_[run * SeriesPerRun() + valueColumn]; }
  QString SeriesTitle(size_t valueColumn) const { return seriesTitles_.value(static_cast<qsizetype>(valueColumn)); }
  const QStringList& Messages() const { return messages_; }

  // The read-out for the chart position x (a chart key): the time in DateTimeLabel and each
  // value column's value at that time in the legend.
  void ShowReadout(double chartKey);
  // The cross-hair through a point of the chart in pixels (shown while "Cruz" is checked).
  void MoveCrossHair(const QPoint& pixel);

  QSize sizeHint() const override { return QSize(760, 540); }

  QCustomPlot* Chart() const { return chart_; }
  QTableView* Grid() const { return grid_; }
  QLabel* DateTimeLabel() const { return dateTimeLabel_; }
  QCheckBox* CrossCheckBox() const { return crossCheckBox_; }
  QMenu* PopupMenu() const { return popupMenu_; }
  QTabWidget* PageControl() const { return pageControl_; }

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

  // hist_form_chart.cpp
  void SetUpChart();
  void ClearChart();
  void BuildChart();
  void ScaleAxes();
  void RefreshReadoutLayers();
  void FitLegendColumns();
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SizeGridColumns();

  ui::UserInteraction& ui_;
  QStringList messages_;
  HistoryData data_;
  std::unique_ptr<CellTexts> texts_;
  std::unique_ptr<HistTableModel> model_;
  std::vector<QCPGraph*> series_;
  // Earliest and latest chart key of each run (its lines need not be in time order).
  std::vector<std::pair<double, double>> runSpans_;
  QStringList seriesTitles_;

  QTabWidget* pageControl_ = nullptr;
  QWidget* chartTabSheet_ = nullptr;
  QWidget* tableTabSheet_ = nullptr;
  QCustomPlot* chart_ = nullptr;
  QFrame* infoPanel_ = nullptr;
  QLabel* dateTimeLabel_ = nullptr;
  QCheckBox* crossCheckBox_ = nullptr;
  QTableView* grid_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QAction* configurarGrafico_ = nullptr;
  QAction* imprimir_ = nullptr;
  QAction* exportar_ = nullptr;
  QAction* fechar_ = nullptr;

  QCPLayer* readoutLayer_ = nullptr;
  QCPItemLine* crossVertical_ = nullptr;
  QCPItemLine* crossHorizontal_ = nullptr;
  int widestLegendItem_ = 0;
};

}  // namespace history
