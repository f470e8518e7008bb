#include "history/hist_form.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "ui/chart_legend.h"
#include "ui/help_context.h"
#include "ui/language_qt.h"
#include "ui/main_window_services.h"
#include "ui/print_service.h"
#include "ui/program_constants.h"
#include "ui/user_interaction.h"
#include "history/cell_texts.h"
#include "history/damage_texts.h"
#include "history/export_form.h"
#include "history/hist_config_form.h"
#include "history/history_export.h"
#include "history/hist_table_model.h"
#include "history/hist_texts.h"
#include "history/history_file.h"
#include "history/series_titles.h"
#include "platform/qt_text.h"
#include "qcustomplot.h"

namespace history {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The wait cursor for the duration of a scope, also when it is left by an exception.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

constexpr int kDefaultColumnWidth = 70;
constexpr int kTimeColumnWidth = 80;
constexpr int kWidestColumn = 600;

}  // namespace

THistForm::THistForm(ui::UserInteraction& ui, QWidget* parent) : QWidget(parent), ui_(ui) {
  setObjectName(QStringLiteral("HistForm"));
  ui::SetHelpContext(this, ui::kHelpContextHistoryViewer);
  messages_ = {Text(kInstantText), Text(kTooManyColumnsText)};
  BuildWidgets();
  SetUpChart();
  ApplyLanguage();
  CopyMainMenuCaptions();
  crossCheckBox_->setChecked(false);
  resize(sizeHint());
}

THistForm::~THistForm() {
  // The view and the chart refer to the data; let go of them first.
  grid_->setModel(nullptr);
  ClearChart();
}

void THistForm::BuildWidgets() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName(QStringLiteral("PageControl"));
  pageControl_->setDocumentMode(true);
  QFont tabFont = pageControl_->tabBar()->font();
  tabFont.setBold(true);
  pageControl_->tabBar()->setFont(tabFont);
  layout->addWidget(pageControl_);

  chartTabSheet_ = new QWidget;
  chartTabSheet_->setObjectName(QStringLiteral("ChartTabSheet"));
  auto* chartLayout = new QVBoxLayout(chartTabSheet_);
  chartLayout->setContentsMargins(0, 0, 0, 0);
  chartLayout->setSpacing(0);
  chart_ = new QCustomPlot(chartTabSheet_);
  chart_->setObjectName(QStringLiteral("HistChart"));
  chart_->setMinimumSize(160, 80);
  chartLayout->addWidget(chart_, 1);
  legend_ = new ui::ChartLegendView(chartTabSheet_);
  legend_->setObjectName(QStringLiteral("HistLegend"));
  chartLayout->addWidget(legend_);
  chartTabSheet_->installEventFilter(this);

  infoPanel_ = new QFrame(chartTabSheet_);
  infoPanel_->setObjectName(QStringLiteral("InfoPanel"));
  infoPanel_->setFrameShape(QFrame::StyledPanel);
  auto* infoLayout = new QHBoxLayout(infoPanel_);
  infoLayout->setContentsMargins(6, 2, 6, 2);
  dateTimeLabel_ = new QLabel(Text(kDateLabelText), infoPanel_);
  dateTimeLabel_->setObjectName(QStringLiteral("DateTimeLabel"));
  crossCheckBox_ = new QCheckBox(Text(kCrossText), infoPanel_);
  crossCheckBox_->setObjectName(QStringLiteral("CrossCheckBox"));
  infoLayout->addWidget(dateTimeLabel_, 1);
  infoLayout->addWidget(crossCheckBox_);
  chartLayout->addWidget(infoPanel_);

  tableTabSheet_ = new QWidget;
  tableTabSheet_->setObjectName(QStringLiteral("TableTabSheet"));
  auto* tableLayout = new QVBoxLayout(tableTabSheet_);
  tableLayout->setContentsMargins(0, 0, 0, 0);
  grid_ = new QTableView(tableTabSheet_);
  grid_->setObjectName(QStringLiteral("DrawGrid"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->setWordWrap(false);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  grid_->verticalHeader()->hide();
  // Fixed row heights: the view then never measures rows, whatever the file's length.
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
  tableLayout->addWidget(grid_);

  pageControl_->addTab(chartTabSheet_, Text(kChartTabText));
  pageControl_->addTab(tableTabSheet_, Text(kTableTabText));
  pageControl_->setCurrentWidget(tableTabSheet_);

  popupMenu_ = new QMenu(this);
  popupMenu_->setObjectName(QStringLiteral("PopupMenu"));
  auto addItem = [this](const char* name, const char* text) {
    QAction* action = popupMenu_->addAction(Text(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  configurarGrafico_ = addItem("ConfigurarGrafico", kConfigurarGraficoText);
  imprimir_ = addItem("Imprimir", kImprimirText);
  exportar_ = addItem("Exportar", kExportarText);
  fechar_ = addItem("Fechar", kFecharText);

  connect(configurarGrafico_, &QAction::triggered, this, &THistForm::ConfigurarGraficoClick);
  connect(imprimir_, &QAction::triggered, this, &THistForm::ImprimirClick);
  connect(exportar_, &QAction::triggered, this, &THistForm::ExportarClick);
  connect(fechar_, &QAction::triggered, this, &THistForm::FecharClick);
  connect(crossCheckBox_, &QCheckBox::toggled, this, &THistForm::CrossCheckBoxClick);
  connect(chart_, &QCustomPlot::mouseMove, this, &THistForm::HistChartMouseMove);
  connect(chart_, &QCustomPlot::mouseDoubleClick, this, &THistForm::HistChartDblClick);
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { ShowPopupMenu(grid_->viewport()->mapToGlobal(pos)); });
}

void THistForm::ApplyLanguage() {
  ui::ApplyLanguageTexts(kViewerLanguageHeading,
                          {[this](const QString& t) { pageControl_->setTabText(0, t); },
                           [this](const QString& t) { pageControl_->setTabText(1, t); },
                           ui::TextOf(crossCheckBox_), ui::Into(messages_[kMsgInstant]),
                           ui::Into(messages_[kMsgTooManyColumns]), ui::TextOf(configurarGrafico_)});
}

void THistForm::CopyMainMenuCaptions() {
  const ui::MainWindowServices* main = ui::MainWindow();
  if (main == nullptr) return;
  const std::pair<QAction*, const char*> copies[] = {
      {imprimir_, "Imprimir"}, {exportar_, "ExportarHistorico"}, {fechar_, "FecharJanela"}};
  for (const auto& [action, name] : copies) {
    const QString caption = main->MenuItemCaption(QString::fromLatin1(name));
    if (!caption.isEmpty()) action->setText(caption);
  }
}

void THistForm::ShowPopupMenu(const QPoint& globalPos) { popupMenu_->popup(globalPos); }

bool THistForm::OpenFile(const QString& fileName) {
  setWindowTitle(fileName);
  openProblem_.clear();
  {
    WaitCursor wait;
    try {
      grid_->setModel(nullptr);
      model_.reset();
      ClearChart();
      std::string openError;
      const ReadStatus status = ReadHistoryFile(QFile::encodeName(fileName).toStdString(), data_, &openError);
      if (status != ReadStatus::Ok) {
        // A file that can't be opened: the caller names it, the system says why.
        openProblem_ = status == ReadStatus::CannotOpen ? QString::fromLocal8Bit(openError)
                                                         : DescribeReadFailure(status, data_.FirstDamage());
        return false;
      }
      texts_ = std::make_unique<CellTexts>(data_);
      seriesTitles_.clear();
      for (const std::string& title : SeriesTitles(data_)) seriesTitles_ << platform::FromCp1252(title);
      BuildChart();
      model_ = std::make_unique<HistTableModel>(data_, *texts_);
      grid_->setModel(model_.get());
      SizeGridColumns();
      pageControl_->setCurrentWidget(chartTabSheet_);
    } catch (const std::exception&) {
      // Out of memory while building the chart or the table: nothing half-built stays.
      grid_->setModel(nullptr);
      model_.reset();
      ClearChart();
      data_ = HistoryData{};
      openProblem_ = DescribeReadFailure(ReadStatus::OutOfMemory, {});
      return false;
    }
  }
  chart_->replot();
  // Damaged lines were left out; the user learns that the file is not whole, and where.
  if (data_.SkippedLineCount() > 0)
    ui_.ShowMessage(this, DescribeSkippedLines(data_, fileName, messages_[kMsgTooManyColumns]));
  return true;
}

QString THistForm::CellText(size_t tableRow, size_t column) const {
  return texts_ ? texts_->Cell(tableRow, column) : QString();
}

void THistForm::SizeGridColumns() {
  // Every text shown whole: a column is as wide as its widest header line or first-row cell.
  const QFontMetrics metrics = grid_->fontMetrics();
  const QFontMetrics headerMetrics = grid_->horizontalHeader()->fontMetrics();
  const size_t firstDataRow = data_.TableRowCount() > static_cast<size_t>(HistoryData::kHeaderRows)
                                  ? static_cast<size_t>(HistoryData::kHeaderRows)
                                  : data_.TableRowCount();
  for (size_t c = 0; c < data_.ColumnCount(); ++c) {
    int width = c == HistoryData::kTimeColumn ? kTimeColumnWidth : kDefaultColumnWidth;
    for (int r = 0; r < HistoryData::kHeaderRows; ++r)
      if (!data_.HeaderCell(r, c).empty())
        width = std::max(width, headerMetrics.horizontalAdvance(texts_->Cell(static_cast<size_t>(r), c)) + 16);
    if (firstDataRow < data_.TableRowCount())
      width = std::max(width, metrics.horizontalAdvance(texts_->Cell(firstDataRow, c)) + 12);
    grid_->setColumnWidth(static_cast<int>(c), std::min(width, kWidestColumn));
  }
}

bool THistForm::ExportTable(const QString& fileName, bool withoutMilliseconds, bool millisecondsInOwnColumn,
                            QChar millisecondSeparator) {
  if (!texts_) return false;
  MillisecondOptions options;
  options.withoutMilliseconds = withoutMilliseconds;
  options.ownColumn = millisecondsInOwnColumn;
  const std::string separator = platform::ToCp1252(QString(millisecondSeparator));
  options.separator = millisecondSeparator.isNull() || separator.size() != 1 ? '.' : separator[0];
  HistoryExportResult result;
  {
    WaitCursor wait;
    // The recording is the one the window's caption names.
    HistoryExport road(data_, *texts_, QFile::encodeName(windowTitle()).toStdString());
    result = road.ExportTable(QFile::encodeName(fileName).toStdString(), options);
  }
  if (!result.Ok()) ShowError(platform::FromCp1252(result.message));
  if (!result.resultError.empty()) ShowError(platform::FromCp1252(result.resultError));
  return result.Ok();
}

void THistForm::ShowError(const QString& text) {
  ui_.ShowError(this,
                QString::fromUtf8(ui::kApplicationTitle.data(), static_cast<qsizetype>(ui::kApplicationTitle.size())),
                text);
}

void THistForm::SetExportDialog(TExportForm* dialog) { exportForm_ = dialog; }

TExportForm* THistForm::ExportDialog() {
  if (!exportForm_) exportForm_ = new TExportForm(ui_, this);
  return exportForm_;
}

void THistForm::SetPenDialog(THistConfigForm* dialog) { penForm_ = dialog; }

THistConfigForm* THistForm::PenDialog() {
  if (!penForm_) penForm_ = new THistConfigForm(ui_, nullptr, this);
  return penForm_;
}

void THistForm::ConfigurePens() { PenDialog()->Execute(*this); }


void THistForm::HistChartDblClick() { ConfigurePens(); }

void THistForm::ConfigurarGraficoClick() { ConfigurePens(); }

void THistForm::ImprimirClick() { PrintHistory(); }

void THistForm::ExportarClick() {
  TExportForm* dialog = ExportDialog();
  if (!dialog->Execute()) return;
  if (!ExportTable(dialog->FileName(), !dialog->IncludeMilliseconds(), dialog->MillisecondsInOwnColumn(),
                   dialog->Separator()))
    return;
  const ui::MainWindowServices* main = ui::MainWindow();
  ui_.ShowMessage(this, main != nullptr ? main->GetExportSuccessMessage() : Text(kExportDoneText));
}

void THistForm::FecharClick() {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
    frame->close();
  else
    close();
}

}  // namespace history
