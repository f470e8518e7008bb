#include "history/hist_config_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPen>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "controls/tcolor.h"
#include "history/hist_form.h"
#include "ui/color_chooser.h"
#include "ui/color_circle.h"
#include "ui/form_building.h"
#include "ui/language_qt.h"
#include "ui/user_interaction.h"

namespace history {
namespace {

// Language section, code page 1252 like the file: one line, the dialog's caption.
constexpr std::string_view kLanguageHeading = "# Form de Configura\xE7\xE3o das Penas do Hist\xF3rico";

// Where the rows go in the scroll box: a button with its colour mark to the left of it.
constexpr int kFirstRowTop = 8;
constexpr int kRowStep = 36;
constexpr int kButtonLeft = 50;
constexpr int kButtonWidth = 160;
constexpr int kButtonHeight = 25;
constexpr int kMarkLeft = 30;
constexpr int kMarkBelowButtonTop = 4;

}  // namespace

THistConfigForm::THistConfigForm(ui::UserInteraction& ui, ui::ColorChooser* colors, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      colors_(colors),
      chartColorCaption_(ui::U("Gráfico")),
      backColorCaption_(ui::U("Fundo")),
      colorsLabel_(ui::Named(new QLabel(ui::U("Cores"), this), "ColorsLabel")),
      lineThicknessLabel_(ui::Named(new QLabel(ui::U("Espessura das linhas")), "LineThicknessLabel")),
      lineThicknessUpDown_(ui::SpinBox(nullptr, "LineThicknessUpDown", kMinLineWidth, kMaxLineWidth, 1, 60)),
      colorsScrollBox_(ui::Named(new QScrollArea(this), "ColorsScrollBox")),
      rowsPanel_(new QWidget),
      applyBitBtn_(ui::Named(new QPushButton(ui::U("Aplica")), "ApplyBitBtn")),
      closeBitBtn_(ui::Named(new QPushButton(ui::U("Fecha")), "CloseBitBtn")) {
  setObjectName(QStringLiteral("HistConfigForm"));
  setWindowTitle(ui::U("Configuração do gráfico"));
  setModal(true);
  // No system menu, help or size buttons: the dialog closes through "Fecha".
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

  colorsLabel_->setAlignment(Qt::AlignCenter);
  auto* panel1 = ui::Named(new QWidget(this), "Panel1");
  auto* thickness = new QHBoxLayout(panel1);
  thickness->addWidget(lineThicknessLabel_);
  thickness->addWidget(lineThicknessUpDown_);
  thickness->addStretch(1);
  lineThicknessLabel_->setBuddy(lineThicknessUpDown_);

  rowsPanel_->setObjectName(QStringLiteral("ColorsRows"));
  colorsScrollBox_->setWidget(rowsPanel_);
  colorsScrollBox_->setWidgetResizable(false);
  colorsScrollBox_->setMinimumSize(kButtonLeft + kButtonWidth + 40, kFirstRowTop + 5 * kRowStep);

  auto* panel3 = ui::Named(new QWidget(this), "Panel3");
  auto* buttons = new QHBoxLayout(panel3);
  buttons->addStretch(1);
  buttons->addWidget(applyBitBtn_);
  buttons->addWidget(closeBitBtn_);
  applyBitBtn_->setDefault(true);
  closeBitBtn_->setAutoDefault(false);
  applyBitBtn_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  closeBitBtn_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(colorsLabel_);
  layout->addWidget(panel1);
  layout->addWidget(colorsScrollBox_, 1);
  layout->addWidget(panel3);

  connect(applyBitBtn_, &QPushButton::clicked, this, &THistConfigForm::ApplyBitBtnClick);
  connect(closeBitBtn_, &QPushButton::clicked, this, &QDialog::reject);

  if (ui::ProgramLanguage().Loaded()) ApplyLanguage();
}

THistConfigForm::~THistConfigForm() = default;

void THistConfigForm::ApplyLanguage() { ui::ApplyLanguageTexts(kLanguageHeading, {ui::TitleOf(this)}); }

void THistConfigForm::SetCaptions(const PenDialogCaptions& captions) {
  auto take = [](const QString& caption, auto apply) {
    if (!caption.isEmpty()) apply(caption);
  };
  take(captions.lineThickness, [this](const QString& t) { lineThicknessLabel_->setText(t); });
  take(captions.colors, [this](const QString& t) { colorsLabel_->setText(t); });
  take(captions.chartColor, [this](const QString& t) { chartColorCaption_ = t; });
  take(captions.backColor, [this](const QString& t) { backColorCaption_ = t; });
  take(captions.apply, [this](const QString& t) { applyBitBtn_->setText(t); });
  take(captions.close, [this](const QString& t) { closeBitBtn_->setText(t); });
}

void THistConfigForm::Execute(THistForm& viewer) {
  viewer_ = &viewer;
  FormShow();
  ui_.RunModal(this);
  FormClose();
}

void THistConfigForm::AddRow(RowTag tag, const QString& caption, uint32_t color) {
  const int top = kFirstRowTop + static_cast<int>(buttons_.size()) * kRowStep;
  auto* button = new QPushButton(caption, rowsPanel_);
  button->setObjectName(QStringLiteral("SeriesButton%1").arg(buttons_.size()));
  button->setProperty("tag", static_cast<int>(tag));
  button->setAutoDefault(false);
  button->setGeometry(kButtonLeft, top, kButtonWidth, kButtonHeight);
  button->setToolTip(caption);
  auto* mark = new ui::TColorCircle(rowsPanel_, color);
  mark->setObjectName(QStringLiteral("SeriesShape%1").arg(marks_.size()));
  mark->move(kMarkLeft, top + kMarkBelowButtonTop);
  connect(button, &QPushButton::clicked, this, [this, button] { SeriesButtonClick(button); });
  buttons_.push_back(button);
  marks_.push_back(mark);
  button->show();
  mark->show();
}

void THistConfigForm::FormShow() {
  applyBitBtn_->setEnabled(false);
  if (viewer_ != nullptr) {
    AddRow(kChartColorRow, chartColorCaption_, draw::FromQColor(viewer_->ChartColor()));
    AddRow(kBackColorRow, backColorCaption_, draw::FromQColor(viewer_->ChartBackColor()));
    int width = kMinLineWidth;
    for (size_t c = 0; c < viewer_->SeriesPerRun(); ++c) {
      const QPen pen = viewer_->ColumnPen(c);
      AddRow(kSeriesRow, viewer_->SeriesTitle(c), draw::FromQColor(pen.color()));
      if (c == 0) width = pen.width();
    }
    // The width the lines have now, so that "Aplica" after a colour alone keeps it.
    lineThicknessUpDown_->setValue(width);
  }
  rowsPanel_->resize(kButtonLeft + kButtonWidth + 10, kFirstRowTop + static_cast<int>(buttons_.size()) * kRowStep);
  applyBitBtn_->setEnabled(true);
}

void THistConfigForm::SeriesButtonClick(QPushButton* button) {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] != button) continue;
    const QColor initial = draw::ToQColor(marks_[i]->Color());
    ui::QtColorChooser toolkit;
    ui::ColorChooser& chooser = colors_ != nullptr ? *colors_ : toolkit;
    if (const std::optional<QColor> chosen = chooser.Choose(this, initial)) marks_[i]->SetColor(draw::FromQColor(*chosen));
    return;
  }
}

void THistConfigForm::ApplyBitBtnClick() {
  if (viewer_ == nullptr) return;
  std::vector<QPen> pens;
  size_t column = 0;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const QColor color = draw::ToQColor(marks_[i]->Color());
    switch (buttons_[i]->property("tag").toInt()) {
      case kChartColorRow:
        viewer_->SetChartColor(color);
        break;
      case kBackColorRow:
        viewer_->SetChartBackColor(color);
        break;
      default: {
        QPen pen = viewer_->ColumnPen(column++);
        pen.setColor(color);
        pen.setWidth(lineThicknessUpDown_->value());
        pens.push_back(pen);
        break;
      }
    }
  }
  viewer_->SetColumnPens(pens);
}

void THistConfigForm::FormClose() {
  for (QPushButton* button : buttons_) delete button;
  for (ui::TColorCircle* mark : marks_) delete mark;
  buttons_.clear();
  marks_.clear();
  viewer_ = nullptr;
}

}  // namespace history
