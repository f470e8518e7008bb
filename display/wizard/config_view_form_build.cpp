// TConfigViewForm: the controls of the three steps, the kinds' pages and the preview.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/display_kind_settings.h"
#include "display/wizard/color_circle.h"
#include "display/wizard/config_view_form.h"
#include "ui/form_building.h"
#include "ui/radio_group.h"
#include "display/wizard/up_down.h"
#include "qcustomplot.h"

using ui::Named;
using ui::U;
using wizard::TColorCircle;
using wizard::TUpDown;

namespace {

constexpr int kStepAreaWidth = 430;
constexpr int kPreviewWidth = 420;
constexpr int kPreviewHeight = 290;

QLabel* Label(QWidget* parent, const char* name, const char* text) {
  return Named(new QLabel(U(text), parent), name);
}

QCheckBox* Check(QWidget* parent, const char* name, const char* text, bool on) {
  auto* box = Named(new QCheckBox(U(text), parent), name);
  box->setChecked(on);
  return box;
}

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max, int value) {
  auto* spin = ui::SpinBox(parent, name, min, max, value, 80);
  spin->setMaximumWidth(QWIDGETSIZE_MAX);
  return spin;
}

// A label, a free-text edit and its arrows on one row of a grid; the arrows know their edit.
TUpDown* RangeRow(QGridLayout* grid, int row, QWidget* parent, const char* labelName, const char* caption,
                  const char* editName, const char* upDownName, int min, int max, int position, int maxLength = 0) {
  grid->addWidget(Label(parent, labelName, caption), row, 0);
  auto* edit = Named(new QLineEdit(parent), editName);
  edit->setFixedWidth(maxLength > 0 && maxLength <= 2 ? 40 : 80);
  if (maxLength > 0) edit->setMaxLength(maxLength);
  auto* upDown = Named(new TUpDown(edit, parent), upDownName);
  upDown->SetRange(min, max);
  upDown->SetPosition(position);
  auto* pair = ui::EditWithArrows(edit, upDown);
  pair->addStretch();
  grid->addLayout(pair, row, 1);
  return upDown;
}

QWidget* Page(QTabWidget* tabs, const char* name, const char* caption) {
  auto* page = Named(new QWidget(tabs), name);
  tabs->addTab(page, U(caption));
  return page;
}

}  // namespace

void TConfigViewForm::BuildForm() {
  setObjectName(QStringLiteral("ConfigViewForm"));
  setWindowTitle(U("Configura Visualização"));
  setModal(true);

  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  top->addLayout(columns, 1);

  auto* stepArea = Named(new QWidget(this), "StepArea");
  stepArea->setFixedWidth(kStepAreaWidth);
  auto* steps = new QVBoxLayout(stepArea);
  steps->setContentsMargins(0, 0, 0, 0);
  howRadioGroup_ = Named(new ui::TRadioGroup(U("Tipo de Indicação"), 2, stepArea), "HowRadioGroup");
  steps->addWidget(howRadioGroup_);
  whatPanel_ = BuildWhatPanel();
  whatPanel_->setParent(stepArea);
  steps->addWidget(whatPanel_);
  kindPages_ = {BuildChartPage(), BuildLcdPage(), BuildLedPage(), BuildBarPage(), BuildGaugePage(), BuildAMeterPage()};
  for (QWidget* page : kindPages_) {
    page->setParent(stepArea);
    steps->addWidget(page);
    page->hide();
  }
  steps->addStretch();
  columns->addWidget(stepArea);

  auto* previewColumn = new QVBoxLayout;
  previewLabel_ = Label(this, "PreviewLabel", "Exemplo com dados aleatórios");
  previewColumn->addWidget(previewLabel_);
  previewColumn->addWidget(BuildPreview());
  previewColumn->addStretch();
  columns->addLayout(previewColumn);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  cancelBitBtn_ = Named(new QPushButton(U("Cancela"), this), "CancelBitBtn");
  backBitBtn_ = Named(new QPushButton(U("Voltar"), this), "BackBitBtn");
  nextBitBtn_ = Named(new QPushButton(U("Próximo"), this), "NextBitBtn");
  closeBitBtn_ = Named(new QPushButton(U("Concluído"), this), "CloseBitBtn");
  // Only the step's own button answers Enter: a button that merely has the focus ("Cancela"
  // once the step hid "Próximo") must not take it over and throw the user's work away.
  nextBitBtn_->setDefault(true);
  for (QPushButton* b : {cancelBitBtn_, backBitBtn_, nextBitBtn_, closeBitBtn_}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    buttons->addWidget(b);
  }
  top->addLayout(buttons);

  timer_ = Named(new QTimer(this), "Timer");
  timer_->setInterval(kPreviewIntervalMs);
  ConnectHandlers();
}

QWidget* TConfigViewForm::BuildWhatPanel() {
  auto* panel = Named(new QWidget(this), "WhatPanel");
  auto* v = new QVBoxLayout(panel);
  v->setContentsMargins(0, 0, 0, 0);
  whichDeviceComboBox_ = Named(new QComboBox(panel), "WhichDeviceComboBox");
  v->addWidget(whichDeviceComboBox_);
  whatRadioGroup_ = Named(new ui::TRadioGroup(U("Canal visualizado"), 1, panel), "WhatRadioGroup");
  v->addWidget(whatRadioGroup_);

  chartListsPanel_ = Named(new QWidget(panel), "ChartListsPanel");
  auto* h = new QHBoxLayout(chartListsPanel_);
  h->setContentsMargins(0, 0, 0, 0);
  auto list = [this](const char* name, const char* caption) {
    auto* column = new QVBoxLayout;
    auto* header = Label(chartListsPanel_, (std::string(name) + "Header").c_str(), caption);
    auto* view = Named(new QListWidget(chartListsPanel_), name);
    view->setMinimumHeight(200);
    column->addWidget(header);
    column->addWidget(view);
    return std::pair{column, view};
  };
  auto [allColumn, all] = list("AllListView", "Canais Disponíveis");
  auto [selectedColumn, selected] = list("SelectedListView", "Canais Selecionados");
  allListView_ = all;
  selectedListView_ = selected;
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  selButton_ = Named(new QPushButton(QStringLiteral(">>>"), chartListsPanel_), "SelButton");
  unselButton_ = Named(new QPushButton(QStringLiteral("<<<"), chartListsPanel_), "UnselButton");
  clearSelButton_ = Named(new QPushButton(U("Limpa"), chartListsPanel_), "ClearSelButton");
  for (QPushButton* b : {selButton_, unselButton_, clearSelButton_}) {
    b->setFixedWidth(56);
    b->setEnabled(false);
    moves->addWidget(b);
  }
  moves->addStretch();
  h->addLayout(allColumn);
  h->addLayout(moves);
  h->addLayout(selectedColumn);
  v->addWidget(chartListsPanel_);
  panel->hide();
  return panel;
}

QWidget* TConfigViewForm::BuildChartPage() {
  chartPageControl_ = Named(new QTabWidget(this), "ChartPageControl");
  QWidget* shown = Page(chartPageControl_, "IndicationTabSheet", "Indicação");
  auto* g = new QGridLayout(shown);
  autoScaleYCheckBox_ = Check(shown, "AutoScaleYCheckBox", "Escala Y automática", false);
  g->addWidget(autoScaleYCheckBox_, 0, 0, 1, 2);
  chartMinValUpDown_ = RangeRow(g, 1, shown, "MinValLabel", "Valor mín. visualização", "ChartMinValEdit",
                                "ChartMinValUpDown", -32767, 32767, 0);
  chartMaxValUpDown_ = RangeRow(g, 2, shown, "MaxValLabel", "Valor máx. visualização", "ChartMaxValEdit",
                                "ChartMaxValUpDown", -32767, 32767, 0);
  g->addWidget(Label(shown, "TimeDisplayedLabel", "Período visualizado"), 3, 0);
  timeDisplayedMaskEdit_ = Named(new QLineEdit(shown), "TimeDisplayedMaskEdit");
  // Hours may have one digit; minutes and seconds need both.
  timeDisplayedMaskEdit_->setInputMask(QStringLiteral("09:99:99;_"));
  timeDisplayedMaskEdit_->setFixedWidth(80);
  g->addWidget(timeDisplayedMaskEdit_, 3, 1, Qt::AlignLeft);
  lineThicknessUpDown_ = RangeRow(g, 4, shown, "LineThicknessLabel", "Espessura das linhas", "LineThicknessEdit",
                                  "LineThicknessUpDown", -32767, 32767, 1);
  g->setRowStretch(5, 1);

  QWidget* refs = Page(chartPageControl_, "RefLinesTabSheet", "Linhas de referência");
  auto* r = new QGridLayout(refs);
  r->addWidget(Label(refs, "RefValLabel", "Valor"), 0, 1);
  auto* nameLabel = Label(refs, "RefNameLabel", "Nome");
  r->addWidget(nameLabel, 0, 2);
  nameLabel->hide();
  constexpr int kAnyValue = std::numeric_limits<int>::max();
  ref1CheckBox_ = Check(refs, "Ref1CheckBox", "Linha de Referência 1", false);
  ref1ValCSpinEdit_ = Spin(refs, "Ref1ValCSpinEdit", -kAnyValue, kAnyValue, 80);
  ref2CheckBox_ = Check(refs, "Ref2CheckBox", "Linha de Referência 2", false);
  ref2ValCSpinEdit_ = Spin(refs, "Ref2ValCSpinEdit", -kAnyValue, kAnyValue, 20);
  ref1ValCSpinEdit_->setEnabled(false);
  ref2ValCSpinEdit_->setEnabled(false);
  r->addWidget(ref1CheckBox_, 1, 0);
  r->addWidget(ref1ValCSpinEdit_, 1, 1);
  r->addWidget(ref2CheckBox_, 2, 0);
  r->addWidget(ref2ValCSpinEdit_, 2, 1);
  auto* text1 = Named(new QLineEdit(U("Referência 1"), refs), "Ref1LineTextEdit");
  auto* text2 = Named(new QLineEdit(U("Referência 2"), refs), "Ref2LineTextEdit");
  r->addWidget(text1, 1, 2);
  r->addWidget(text2, 2, 2);
  text1->hide();
  text2->hide();
  r->setRowStretch(3, 1);
  r->setColumnStretch(3, 1);

  QWidget* colors = Page(chartPageControl_, "ColorTabSheet", "Cores");
  auto* c = new QVBoxLayout(colors);
  auto row = [colors](const char* buttonName, const char* shapeName, const char* caption, uint32_t color) {
    auto* h = new QHBoxLayout;
    auto* circle = Named(new TColorCircle(colors, color), shapeName);
    auto* button = Named(new QPushButton(U(caption), colors), buttonName);
    button->setFixedWidth(125);
    h->addWidget(circle);
    h->addWidget(button);
    h->addStretch();
    return std::tuple{h, button, circle};
  };
  auto [chartRow, chartButton, chartCircle] = row("ColorButton", "ColorShape", "Gráfico", display_colors::kButtonFace);
  auto [backRow, backButton, backCircle] = row("BackColorButton", "BackColorShape", "Fundo", display_colors::kWhite);
  colorButton_ = chartButton;
  backColorButton_ = backButton;
  colorShape_ = chartCircle;
  backColorShape_ = backCircle;
  c->addLayout(chartRow);
  c->addLayout(backRow);
  colorsScrollBox_ = Named(new QScrollArea(colors), "ColorsScrollBox");
  colorsHolder_ = new QWidget(colorsScrollBox_);
  colorsHolder_->resize(kStepAreaWidth - 60, 10);
  colorsScrollBox_->setWidget(colorsHolder_);
  colorsScrollBox_->setMinimumHeight(150);
  c->addWidget(colorsScrollBox_, 1);
  return chartPageControl_;
}

namespace {

// A colour button with its circle on one row.
struct ColorRowSpec {
  const char* button;
  const char* caption;
  uint32_t color;
};

}  // namespace

static void AddColorRows(QWidget* page, QVBoxLayout* into, std::initializer_list<ColorRowSpec> rows,
                         std::vector<std::pair<QPushButton*, TColorCircle*>>& out) {
  for (const ColorRowSpec& spec : rows) {
    auto* h = new QHBoxLayout;
    std::string shape(spec.button);
    shape = shape.substr(0, shape.size() - 6) + "Shape";  // "...Button" -> "...Shape"
    auto* circle = Named(new TColorCircle(page, spec.color), shape.c_str());
    auto* button = Named(new QPushButton(U(spec.caption), page), spec.button);
    button->setFixedWidth(125);
    h->addWidget(circle);
    h->addWidget(button);
    h->addStretch();
    into->addLayout(h);
    out.emplace_back(button, circle);
  }
}

QWidget* TConfigViewForm::BuildLcdPage() {
  auto* page = Named(new QWidget(this), "LcdParamPanel");
  auto* v = new QVBoxLayout(page);
  auto* g = new QGridLayout;
  lcdDigNumberUpDown_ = RangeRow(g, 0, page, "LcdDigNumberLabel", "Número de Dígitos", "LcdDigNumberEdit",
                                 "LcdDigNumberUpDown", 1, 12, 5, 2);
  lcdDigNumberEdit_ = lcdDigNumberUpDown_->Associate();
  v->addLayout(g);
  v->addWidget(Label(page, "LcdColorLabel", "Cores"));
  AddColorRows(page, v,
               {{"Lcd1ColorButton", "Segmento ligado", 0x363636},
                {"Lcd2ColorButton", "Segmento desligado", 0xD3D3D3},
                {"Lcd3ColorButton", "Fundo", 0xD3D3D3}},
               kindColorButtons_);
  v->addStretch();
  return page;
}

QWidget* TConfigViewForm::BuildLedPage() {
  auto* page = Named(new QWidget(this), "LedParamPanel");
  auto* v = new QVBoxLayout(page);
  auto* g = new QGridLayout;
  ledDigNumberUpDown_ = RangeRow(g, 0, page, "LedDigNumberLabel", "Número de dígitos", "LedDigNumberEdit",
                                 "LedDigNumberUpDown", 1, 12, 5, 2);
  ledThickUpDown_ =
      RangeRow(g, 1, page, "LedThickLabel", "Largura dos segmentos", "LedThickEdit", "LedThickUpDown", 2, 22, 8, 2);
  ledDigNumberEdit_ = ledDigNumberUpDown_->Associate();
  ledThickEdit_ = ledThickUpDown_->Associate();
  v->addLayout(g);
  v->addWidget(Label(page, "LedColorLabel", "Cores"));
  AddColorRows(page, v,
               {{"Led1ColorButton", "Segmento ligado", display_colors::kRed},
                {"Led2ColorButton", "Segmento desligado", display_colors::kButtonFace},
                {"Led3ColorButton", "Fundo", display_colors::kButtonFace}},
               kindColorButtons_);
  v->addStretch();
  return page;
}

QWidget* TConfigViewForm::BuildBarPage() {
  auto* tabs = Named(new QTabWidget(this), "BarPageControl");
  QWidget* params = Page(tabs, "BarParamTabSheet", "Parâmetros");
  auto* g = new QGridLayout(params);
  meterMinUpDown_ = RangeRow(g, 0, params, "MeterMinLabel", "Valor mín. visualização", "MeterMinEdit", "MeterMinUpDown",
                             -32768, 32767, 0);
  meterMaxUpDown_ = RangeRow(g, 1, params, "MeterMaxLabel", "Valor máx. visualização", "MeterMaxEdit", "MeterMaxUpDown",
                             -32768, 32767, 100);
  g->addWidget(Label(params, "BarThicknessLabel", "Largura da barra:"), 2, 0);
  barThicknessCSpinEdit_ = Spin(params, "BarThicknessCSpinEdit", 5, 170, 10);
  g->addWidget(barThicknessCSpinEdit_, 2, 1, Qt::AlignLeft);
  showIncsCheckBox_ = Check(params, "ShowIncsCheckBox", "Mostrar incrementos", true);
  g->addWidget(showIncsCheckBox_, 3, 0, 1, 2);
  incrementLabel_ = Label(params, "IncrementLabel", "Incremento:");
  g->addWidget(incrementLabel_, 4, 0);
  incrementCSpinEdit_ = Spin(params, "IncrementCSpinEdit", 1, 100, 10);
  g->addWidget(incrementCSpinEdit_, 4, 1, Qt::AlignLeft);
  showMarkerCheckBox_ = Check(params, "ShowMarkerCheckBox", "Mostrar marcador", true);
  g->addWidget(showMarkerCheckBox_, 5, 0, 1, 2);
  g->setRowStretch(6, 1);

  QWidget* colors = Page(tabs, "BarColorTabSheet", "Cores");
  auto* v = new QVBoxLayout(colors);
  AddColorRows(colors, v,
               {{"MeterForeButton", "Barra", display_colors::kRed},
                {"MeterBackButton", "Fundo", display_colors::kButtonFace},
                {"MeterBackBarButton", "Fundo Barra", display_colors::kButtonFace},
                {"MeterMarkerButton", "Marcador", display_colors::kBlue}},
               kindColorButtons_);
  v->addStretch();
  return tabs;
}

QWidget* TConfigViewForm::BuildGaugePage() {
  auto* tabs = Named(new QTabWidget(this), "GaugePageControl");
  QWidget* params = Page(tabs, "GaugeParamTabSheet", "Parâmetros");
  auto* v = new QVBoxLayout(params);
  auto* group = Named(new QGroupBox(U("Faixa de Visualização"), params), "GaugeGroupBox");
  auto* g = new QGridLayout(group);
  minGaugeValUpDown_ = RangeRow(g, 0, group, "MinGaugeValLabel", "Valor mínimo", "MinGaugeValEdit", "MinGaugeValUpDown",
                                -32767, 32767, 0);
  maxGaugeValUpDown_ = RangeRow(g, 1, group, "MaxGaugeValLabel", "Valor máximo", "MaxGaugeValEdit", "MaxGaugeValUpDown",
                                -32767, 32767, 100);
  v->addWidget(group);
  auto* p = new QGridLayout;
  p->addWidget(Label(params, "AngleLabel", "Ângulo:"), 0, 0);
  gaugeAngleCSpinEdit_ = Spin(params, "GaugeAngleCSpinEdit", 30, 179, 100);
  p->addWidget(gaugeAngleCSpinEdit_, 0, 1, Qt::AlignLeft);
  p->addWidget(Label(params, "MainTicksLabel", "Indicações:"), 1, 0);
  indicationCSpinEdit_ = Spin(params, "IndicationCSpinEdit", 2, 20, 6);
  p->addWidget(indicationCSpinEdit_, 1, 1, Qt::AlignLeft);
  v->addLayout(p);
  gaugeCenterCheckBox_ = Check(params, "GaugeCenterCheckBox", "Mostrar Círculo Central", true);
  v->addWidget(gaugeCenterCheckBox_);
  v->addStretch();

  QWidget* zones = Page(tabs, "GaugeZonesTabSheet", "Faixas de Indicação");
  auto* z = new QGridLayout(zones);
  gaugeHighCheckBox_ = Check(zones, "GaugeHighCheckBox", "Valores Altos", false);
  gaugeHighCSpinEdit_ = Spin(zones, "GaugeHighCSpinEdit", -30000, 30000, 80);
  gaugeMediumCheckBox_ = Check(zones, "GaugeMediumCheckBox", "Valores Médios", false);
  gaugeLowCheckBox_ = Check(zones, "GaugeLowCheckBox", "Valores Baixos", false);
  gaugeLowCSpinEdit_ = Spin(zones, "GaugeLowCSpinEdit", -30000, 30000, 20);
  z->addWidget(gaugeHighCheckBox_, 0, 0);
  z->addWidget(gaugeHighCSpinEdit_, 0, 1);
  z->addWidget(gaugeMediumCheckBox_, 1, 0);
  z->addWidget(gaugeLowCheckBox_, 2, 0);
  z->addWidget(gaugeLowCSpinEdit_, 2, 1);
  z->setRowStretch(3, 1);
  z->setColumnStretch(2, 1);

  QWidget* colors = Page(tabs, "GaugeColorTabSheet", "Cores");
  auto* c = new QVBoxLayout(colors);
  AddColorRows(colors, c,
               {{"GaugeNeedleColorButton", "Ponteiro", display_colors::kNavy},
                {"GaugeBackColorButton", "Fundo", display_colors::kButtonFace},
                {"GaugeTextColorButton", "Texto", display_colors::kBlack},
                {"GaugeCenterColorButton", "Círculo", display_colors::kGrey},
                {"GaugeLowColorButton", "Valores Baixos", display_colors::kGreen},
                {"GaugeMediumColorButton", "Valores Médios", display_colors::kYellow},
                {"GaugeHighColorButton", "Valores Altos", display_colors::kRed}},
               kindColorButtons_);
  c->addStretch();
  return tabs;
}

QWidget* TConfigViewForm::BuildAMeterPage() {
  auto* tabs = Named(new QTabWidget(this), "AMeterPageControl");
  QWidget* params = Page(tabs, "AMeterParamTabSheet", "Parâmetros");
  auto* v = new QVBoxLayout(params);
  auto* group = Named(new QGroupBox(U("Faixa de Visualização"), params), "AMeterGroupBox");
  auto* g = new QGridLayout(group);
  minAMeterUpDown_ =
      RangeRow(g, 0, group, "MinAMeterLabel", "Valor mínimo", "MinAMeterEdit", "MinAMeterUpDown", -32768, 32767, 0);
  maxAMeterUpDown_ =
      RangeRow(g, 1, group, "MaxAMeterLabel", "Valor máximo", "MaxAMeterEdit", "MaxAMeterUpDown", -32768, 32767, 100);
  v->addWidget(group);
  auto* p = new QGridLayout;
  p->addWidget(Label(params, "AMeterAngleLabel", "Ângulo:"), 0, 0);
  angleCSpinEdit_ = Spin(params, "AngleCSpinEdit", 30, 360, 270);
  p->addWidget(angleCSpinEdit_, 0, 1, Qt::AlignLeft);
  p->addWidget(Label(params, "AMeterTicksLabel", "Indicações:"), 1, 0);
  ticksCSpinEdit_ = Spin(params, "TicksCSpinEdit", 2, 20, 5);
  p->addWidget(ticksCSpinEdit_, 1, 1, Qt::AlignLeft);
  v->addLayout(p);
  logScaleCheckBox_ = Check(params, "LogScaleCheckBox", "Escala logarítmica", false);
  v->addWidget(logScaleCheckBox_);
  v->addStretch();

  QWidget* zones = Page(tabs, "ZonesTabSheet", "Zonas de Indicação");
  auto* z = new QGridLayout(zones);
  showZonesCheckBox_ = Check(zones, "ShowZonesCheckBox", "Mostrar zonas de indicação", true);
  z->addWidget(showZonesCheckBox_, 0, 0, 1, 2);
  // The zones lie in the meter's value range (see ApplyMeterZones).
  lowIndUpDown_ =
      RangeRow(z, 1, zones, "MinZoneLabel", "Zona de valor baixo", "LowIndEdit", "LowIndUpDown", 0, 100, 20);
  highIndUpDown_ =
      RangeRow(z, 2, zones, "MaxZoneLabel", "Zona de valor alto", "HighIndEdit", "HighIndUpDown", 0, 100, 80);
  z->setRowStretch(3, 1);

  QWidget* colors = Page(tabs, "AMeterColorTabSheet", "Cores");
  auto* c = new QVBoxLayout(colors);
  AddColorRows(colors, c,
               {{"TextButton", "Texto", display_colors::kNavy},
                {"BackgroundButton", "Fundo", display_colors::kButtonFace},
                {"LowZoneButton", "Valores Baixos", display_colors::kYellow},
                {"MidZoneButton", "Valores Médios", display_colors::kSilver},
                {"HighZoneButton", "Valores Altos", display_colors::kRed}},
               kindColorButtons_);
  c->addStretch();
  return tabs;
}

QWidget* TConfigViewForm::BuildPreview() {
  previewArea_ = Named(new QWidget(this), "PreviewArea");
  previewArea_->setFixedSize(kPreviewWidth, kPreviewHeight);

  chart_ = Named(new QCustomPlot(previewArea_), "Chart");
  chart_->setGeometry(0, 0, kPreviewWidth, kPreviewHeight);
  chart_->yAxis->setRange(0, 100);
  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
  ticker->setDateTimeSpec(Qt::UTC);
  chart_->xAxis->setTicker(ticker);
  chart_->legend->setVisible(false);

  lcdPanel_ = Named(new QWidget(previewArea_), "LcdPanel");
  lcdPanel_->setGeometry(0, 60, kPreviewWidth, 160);
  liqCrystal_ = Named(new controls::TSegmentIndicator(lcdPanel_), "LiqCrystal");
  liqCrystal_->SETSignNumber(5);

  // What each element shows of its kind's settings comes with them (LoadControls); here only
  // what belongs to the example itself.
  ledLcd_ = Named(new controls::TDigitDisplay(previewArea_), "LedLcd");
  ledLcd_->SetDigitSpacing(8);

  meter_ = Named(new controls::TBarMeter(previewArea_), "Meter");
  meter_->setGeometry(10, 0, kPreviewWidth - 20, kPreviewHeight);
  meter_->SetDigits(1);

  analogGauge_ = Named(new controls::TDialGauge(previewArea_), "AnalogGauge");
  analogGauge_->setGeometry(40, 0, kPreviewWidth - 80, kPreviewHeight);
  analogGauge_->SetFMargin(12);
  analogGauge_->SetFAntiAliased(controls::TDialGauge::aaNone);

  analogMeter_ = Named(new controls::TAnalogMeter(previewArea_), "AnalogMeter");
  analogMeter_->setGeometry(20, 0, kPreviewWidth - 40, kPreviewHeight);
  analogMeter_->SetCaption(QString());
  for (QWidget* w : {static_cast<QWidget*>(chart_), lcdPanel_, static_cast<QWidget*>(ledLcd_),
                     static_cast<QWidget*>(meter_), static_cast<QWidget*>(analogGauge_),
                     static_cast<QWidget*>(analogMeter_)}) {
    w->hide();
  }
  PlaceLcdPreview(5);
  PlaceLedPreview(5);
  liqCrystal_->Loaded();
  return previewArea_;
}
