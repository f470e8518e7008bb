// The spreadsheet extensions tab: the tree of hyperlinks, notes, charts with their series,
// extra cells and merged ranges, one editing page per kind in a stack beside it, and the
// sheet's background picture.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "export/dialog/form_layout.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "ui/radio_group.h"

namespace vantrix {

using namespace form;

namespace {

// Label and edit pairs in a grid, two pairs to a row.
void Pairs(QWidget* parent, QGridLayout* grid, int firstRow, std::initializer_list<std::pair<const char*, const char*>> pairs,
           int editWidth = 48) {
  int i = 0;
  for (const auto& [label, edit] : pairs) {
    const int row = firstRow + i / 2, col = (i % 2) * 2;
    grid->addWidget(Label(parent, label), row, col);
    grid->addWidget(Edit(parent, edit, editWidth), row, col + 1);
    ++i;
  }
}

ui::TRadioGroup* ItemsGroup(QWidget* parent, const char* name, int columns, const QStringList& items) {
  ui::TRadioGroup* group = RadioGroup(parent, name, columns);
  group->SetItems(items);
  return group;
}

QWidget* HyperlinkPage(QWidget* parent) {
  QWidget* page = StackPage(parent, "tshXLSHyperlink");
  QGridLayout* grid = Grid(page);
  Pairs(page, grid, 0, {{"laXLSHyperlinkCol", "edXLSHyperlinkCol"}, {"laXLSHyperlinkRow", "edXLSHyperlinkRow"}});
  grid->addWidget(ItemsGroup(page, "rgXLSHyperlinkStyle", 2, {QStringLiteral("URL"), QStringLiteral("Local File")}), 1, 0,
                  1, 5);
  const char* texts[][2] = {{"laXLSHyperlinkTitle", "edXLSHyperlinkTitle"},
                            {"laXLSHyperlinkTarget", "edXLSHyperlinkTarget"},
                            {"laXLSHyperlinkScreenTip", "edXLSHyperlinkScreenTip"}};
  for (int r = 0; r < 3; ++r) {
    grid->addWidget(Label(page, texts[r][0]), 2 + r, 0);
    grid->addWidget(Edit(page, texts[r][1]), 2 + r, 1, 1, 4);
  }
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(4, 1);
  return page;
}

QWidget* NotePage(QWidget* parent) {
  QWidget* page = StackPage(parent, "tshXLSNote");
  QTabWidget* notes = PageControl(page, "pcXLSNotes");
  Column(page, 0)->addWidget(notes);

  QWidget* base = Page(notes, "tshXLSNoteBase");
  QGridLayout* bg = Grid(base);
  Pairs(base, bg, 0, {{"laXLSNoteCol", "edXLSNoteCol"}, {"laXLSNoteRow", "edXLSNoteRow"}});
  bg->addWidget(Label(base, "laXLSNoteLines"), 1, 0, 1, 4);
  bg->addWidget(Memo(base, "mmXLSNoteLines"), 2, 0, 1, 4);
  bg->setColumnStretch(3, 1);

  QWidget* font = Page(notes, "tshXLSNoteFont");
  QVBoxLayout* fb = Column(font, 3);
  FontEditor(font, fb, {"XLSNote", "cbXLSNoteFont", "cbXLSNoteFontSize", "XLSNote", "pbXLSNoteFontColor"});
  fb->addWidget(ItemsGroup(font, "rgXLSNoteOrientation", 2,
                           {QStringLiteral("No Rotation"), QStringLiteral("Top to bottom"),
                            QStringLiteral("Counter clock wise"), QStringLiteral("Clock wise")}));
  fb->addStretch();

  QWidget* fill = Page(notes, "tshXLSNoteFill");
  QVBoxLayout* lb = Column(fill, 3);
  QGroupBox* type = Group(fill, "gbXLSNoteFillType");
  QGridLayout* tg = Grid(type, 3);
  tg->addWidget(Radio(type, "rbXLSNoteFillSolid"), 0, 0);
  tg->addWidget(Radio(type, "rbXLSNoteFillGradient"), 0, 1);
  const char* gradients[] = {"rbXLSNoteGradientHorizontal",  "rbXLSNoteGradientVertical",
                             "rbXLSNoteGradientDiagonalUp",  "rbXLSNoteGradientDiagonalDown",
                             "rbXLSNoteGradientFromCorner", "rbXLSNoteGradientFromCenter"};
  // The gradients are a group of their own, apart from the fill type.
  auto* gradientBox = new QWidget(type);
  QGridLayout* gg = Grid(gradientBox, 0);
  for (int i = 0; i < 6; ++i) gg->addWidget(Radio(gradientBox, gradients[i]), i / 2, i % 2);
  tg->addWidget(gradientBox, 1, 0, 1, 2);
  lb->addWidget(type);
  lb->addLayout(Line({ColorButton(fill, "btnXLSNoteBackgroundColor", "pbXLSNoteBackgroundColor"),
                      ColorButton(fill, "btnXLSNoteForegroundColor", "pbXLSNoteForegroundColor"), nullptr}));
  auto* transparency = new QSlider(Qt::Horizontal, fill);
  transparency->setObjectName(QStringLiteral("trXLSNoteTransparency"));
  transparency->setRange(0, 100);
  lb->addLayout(Line({Label(fill, "laXLSNoteTransparency"), transparency}));
  lb->addStretch();
  return page;
}

QWidget* ChartPage(QWidget* parent) {
  QWidget* page = StackPage(parent, "tshXLSChart");
  QTabWidget* charts = PageControl(page, "pcXLSCharts");
  Column(page, 0)->addWidget(charts);

  QWidget* base = Page(charts, "tshXLSChartBase");
  QGridLayout* bg = Grid(base);
  bg->addWidget(Label(base, "laXLSChartTitle"), 0, 0);
  bg->addWidget(Edit(base, "edXLSChartTitle"), 0, 1);
  bg->addWidget(Label(base, "laXLSChartStyle"), 1, 0);
  QComboBox* style = Combo(base, "cbXLSChartStyle");
  for (int i = 0; i < 15; ++i) style->addItem(QString::number(i));
  style->setCurrentIndex(-1);
  bg->addWidget(style, 1, 1);
  bg->addWidget(ItemsGroup(base, "rgXLSChartLegendPosition", 3,
                           {QStringLiteral("Bottom"), QStringLiteral("Corner"), QStringLiteral("Top"),
                            QStringLiteral("Right"), QStringLiteral("Left")}),
                2, 0, 1, 2);
  bg->addLayout(Line({Check(base, "chXLSChartShowLegend"), Check(base, "chXLSChartAutoColor"), nullptr}), 3, 0, 1, 2);
  bg->setRowStretch(4, 1);
  bg->setColumnStretch(1, 1);

  QWidget* position = Page(charts, "tshXLSChartPosition");
  QGridLayout* pg = Grid(position, 3);
  pg->addWidget(Radio(position, "rbXLSChartAutoPosition"), 0, 0);
  pg->addWidget(ItemsGroup(position, "rgXLSChartPlacement", 2, {QStringLiteral("Bottom"), QStringLiteral("Right")}), 0, 1);
  QGroupBox* autoBox = Group(position, "gbXLSChartAutoPosition");
  QGridLayout* ag = Grid(autoBox, 2);
  Pairs(autoBox, ag, 0,
        {{"laXLSChartLeft", "edXLSChartLeft"}, {"laXLSChartTop", "edXLSChartTop"},
         {"laXLSChartHeight", "edXLSChartHeight"}, {"laXLSChartWidth", "edXLSChartWidth"}});
  pg->addWidget(autoBox, 1, 0, 1, 2);
  pg->addWidget(Radio(position, "rbXLSChartCustomPosition"), 2, 0, 1, 2);
  auto* customBox = new QWidget(position);
  QGridLayout* cg = Grid(customBox, 2);
  Pairs(customBox, cg, 0,
        {{"laXLSChartPositionX1", "edXLSChartPositionX1"}, {"laXLSChartPositionY1", "edXLSChartPositionY1"},
         {"laXLSChartPositionX2", "edXLSChartPositionX2"}, {"laXLSChartPositionY2", "edXLSChartPositionY2"}});
  pg->addWidget(customBox, 3, 0, 1, 2);
  pg->setRowStretch(4, 1);

  QWidget* labels = Page(charts, "tshXLSChartCategoryLabels");
  QGridLayout* lg = Grid(labels, 3);
  lg->addWidget(Radio(labels, "rbXLSChartCategoryLabelColumn"), 0, 0);
  lg->addWidget(Combo(labels, "cbXLSChartCategoryLabelColumn"), 0, 1);
  lg->addWidget(Radio(labels, "rbXLSChartCategoryLabelCustom"), 1, 0, 1, 2);
  auto* range = new QWidget(labels);
  QGridLayout* rg = Grid(range, 2);
  Pairs(range, rg, 0,
        {{"laXLSChartCategoryLabelsCol1", "edXLSChartCategoryLabelsCol1"},
         {"laXLSChartCategoryLabelsRow1", "edXLSChartCategoryLabelsRow1"},
         {"laXLSChartCategoryLabelsCol2", "edXLSChartCategoryLabelsCol2"},
         {"laXLSChartCategoryLabelsRow2", "edXLSChartCategoryLabelsRow2"}});
  lg->addWidget(range, 2, 0, 1, 2);
  lg->setRowStretch(3, 1);
  lg->setColumnStretch(1, 1);
  return page;
}

QWidget* SeriesPage(QWidget* parent) {
  QWidget* page = StackPage(parent, "tshXLSSeries");
  QGridLayout* grid = Grid(page);
  grid->addWidget(Label(page, "laXLSSeriesTitle"), 0, 0);
  grid->addWidget(Edit(page, "edXLSSeriesTitle"), 0, 1);
  QGroupBox* range = Group(page, "gbXLSSeriesDataRange");
  QGridLayout* rg = Grid(range, 3);
  rg->addWidget(Radio(range, "rbXLSSeriesColumn"), 0, 0);
  rg->addWidget(Combo(range, "cbXLSSeriesColumn"), 0, 1, 1, 3);
  rg->addWidget(Radio(range, "rbXLSSeriesCustom"), 1, 0, 1, 4);
  Pairs(range, rg, 2,
        {{"laXLSSeriesDataRangeCol1", "edXLSSeriesDataRangeCol1"},
         {"laXLSSeriesDataRangeRow1", "edXLSSeriesDataRangeRow1"},
         {"laXLSSeriesDataRangeCol2", "edXLSSeriesDataRangeCol2"},
         {"laXLSSeriesDataRangeRow2", "edXLSSeriesDataRangeRow2"}});
  grid->addWidget(range, 1, 0, 1, 2);
  grid->addWidget(ColorButton(page, "btnXLSSeriesColor", "pbXLSSeriesColor"), 2, 0);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* MergedCellsPage(QWidget* parent) {
  QWidget* page = StackPage(parent, "tshXLSMergedCells");
  QGridLayout* grid = Grid(page);
  Pairs(page, grid, 0,
        {{"laXLSMergedCellsFirstCol", "edXLSMergedCellsFirstCol"},
         {"laXLSMergedCellsFirstRow", "edXLSMergedCellsFirstRow"},
         {"laXLSMergedCellsLastCol", "edXLSMergedCellsLastCol"},
         {"laXLSMergedCellsLastRow", "edXLSMergedCellsLastRow"}});
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(4, 1);
  return page;
}

}  // namespace

void TVantrix3DialogF::BuildXLSExtensionsTab(QWidget* page) {
  QGridLayout* grid = Grid(page, 2);
  grid->addLayout(Line({ToolButton(page, "tbtAddXLSExtension", "+"), ToolButton(page, "tbtDelXLSExtension", "\u2212"),
                        nullptr}),
                  0, 0);
  QTreeWidget* tree = List(page, "tvXLSExtensions");
  tree->setRootIsDecorated(true);
  tree->setFixedWidth(150);
  grid->addWidget(tree, 1, 0);

  QFrame* client = Panel(page, "paXLSExtensionsClient");
  client->setFrameStyle(QFrame::NoFrame);
  auto* stack = new QStackedWidget(client);
  stack->setObjectName(QStringLiteral("pcXLSExtensions"));
  Column(client, 0)->addWidget(stack);
  stack->addWidget(HyperlinkPage(stack));
  stack->addWidget(NotePage(stack));
  stack->addWidget(ChartPage(stack));
  stack->addWidget(SeriesPage(stack));

  QWidget* cellPage = StackPage(stack, "tshXLSCell");
  QTabWidget* cells = PageControl(cellPage, "pcXLSCells");
  Column(cellPage, 0)->addWidget(cells);
  QWidget* base = Page(cells, "tshXLSCellBase");
  QGridLayout* cg = Grid(base);
  Pairs(base, cg, 0, {{"laXLSCellCol", "edXLSCellCol"}, {"laXLSCellRow", "edXLSCellRow"}});
  cg->addWidget(Label(base, "laXLSCellType"), 1, 0);
  QComboBox* type = Combo(base, "cbXLSCellType");
  type->addItems({QStringLiteral("Boolean"), QStringLiteral("DateTime"), QStringLiteral("Numeric"),
                  QStringLiteral("String")});
  type->setCurrentIndex(-1);
  cg->addWidget(type, 1, 1, 1, 3);
  const char* texts[][2] = {{"laXLSCellValue", "edXLSCellValue"},
                            {"laXLSCellDateTimeFormat", "edXLSCellDateTimeFormat"},
                            {"laXLSCellNumericFormat", "edXLSCellNumericFormat"}};
  for (int r = 0; r < 3; ++r) {
    cg->addWidget(Label(base, texts[r][0]), 2 + r, 0);
    cg->addWidget(Edit(base, texts[r][1]), 2 + r, 1, 1, 3);
  }
  cg->setRowStretch(5, 1);
  cg->setColumnStretch(3, 1);
  stack->addWidget(cellPage);
  stack->addWidget(MergedCellsPage(stack));
  grid->addWidget(client, 0, 1, 2, 1);

  grid->addLayout(Line({Label(page, "laXLSPageBackground"), Edit(page, "edXLSPageBackground"),
                        ToolButton(page, "bXLSPageBackground", "...")}),
                  2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
}

}  // namespace vantrix
