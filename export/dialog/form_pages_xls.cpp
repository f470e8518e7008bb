// The spreadsheet page: the data-format tab (field, element and strip-style lists beside the
// font, border, fill and aggregate sheets and the sample cell) and the page texts; the
// extensions tab is built apart.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "export/dialog/form_layout.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/owner_drawn_combo.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "ui/radio_group.h"

namespace vantrix {

using namespace form;

namespace {

// The border-style and pattern combos: their items "0".."count - 1" are painted as pictures.
QComboBox* NumberedCombo(QWidget* parent, const char* name, int count) {
  auto* combo = new TOwnerDrawnCombo(parent);
  combo->setObjectName(QString::fromLatin1(name));
  for (int i = 0; i < count; ++i) combo->addItem(QString::number(i));
  combo->setCurrentIndex(-1);
  return combo;
}

}  // namespace

void TVantrix3DialogF::BuildXLSPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshXLS");
  QTabWidget* inner = PageControl(page, "pcXLS");
  Column(page, 2)->addWidget(inner);
  BuildXLSDataFormatTab(Page(inner, "tshXLSDataFormat"));
  BuildXLSExtensionsTab(Page(inner, "tshXLSExtensions"));

  QWidget* advanced = Page(inner, "tshXLSAdvanced");
  QGridLayout* grid = Grid(advanced, 8);
  const char* rows[][2] = {{"laXLSPageHeader", "edXLSPageHeader"},
                           {"laXLSPageFooter", "edXLSPageFooter"},
                           {"laXLSSheetTitle", "edXLSSheetTitle"}};
  for (int r = 0; r < 3; ++r) {
    grid->addWidget(Label(advanced, rows[r][0]), r, 0);
    grid->addWidget(Edit(advanced, rows[r][1]), r, 1);
  }
  grid->addWidget(Check(advanced, "chXLSAutoCalcColWidth"), 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
}

void TVantrix3DialogF::BuildXLSDataFormatTab(QWidget* page) {
  // Fixed places: the sample cell and the shared format sheets are moved between this tab and
  // the cells page of the extensions by position.
  QTabWidget* lists = PageControl(page, "pcXLSFormats");
  lists->setGeometry(2, 2, 178, 186);
  // Three tabs in 178 pixels: a smaller tab font keeps all three captions whole.
  QFont tabFont = lists->tabBar()->font();
  tabFont.setPointSize(7);
  lists->tabBar()->setFont(tabFont);
  QWidget* fields = Page(lists, "tshXLSFields");
  Column(fields, 2)->addWidget(List(fields, "lstXLSFields", 1, true));
  QWidget* options = Page(lists, "tshXLSOptions");
  Column(options, 2)->addWidget(List(options, "lstXLSOptions", 1, true));
  QWidget* styles = Page(lists, "tshXLSStyles");
  QVBoxLayout* sb = Column(styles, 2);
  sb->addLayout(Line({ToolButton(styles, "tbtAddXLSStyle", "+"), ToolButton(styles, "tbtDelXLSStyle", "\u2212"),
                      ToolButton(styles, "tbtUpXLSStyle", "\u2191"), ToolButton(styles, "tbtDownXLSStyle", "\u2193"),
                      ToolButton(styles, "tbtSaveXLSStyle", "S"), ToolButton(styles, "tbtLoadXLSStyle", "L"),
                      nullptr}));
  sb->addWidget(List(styles, "lstXLSStyles", 1, true), 1);
  sb->addWidget(RadioGroup(styles, "rgXLSStripType", 3));

  QPushButton* resetItem = Button(page, "btnXLSResetItem");
  resetItem->setGeometry(2, 192, 86, 24);
  QPushButton* resetAll = Button(page, "btnXLSResetAll");
  resetAll->setGeometry(94, 192, 86, 24);

  QTabWidget* sheets = PageControl(page, "pcXLSDataFormat");
  sheets->setGeometry(185, 2, 268, 140);
  BuildXLSFormatSheets(sheets);
  QWidget* aggregate = Page(sheets, "tshXLSAggregate");
  ui::TRadioGroup* function = RadioGroup(aggregate, "rgXLSFunction", 3);
  Column(aggregate, 2)->addWidget(function);

  QFrame* sample = Panel(page, "paXLSSampleCell");
  sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  sample->setGeometry(185, 145, 268, 72);
  QVBoxLayout* box = Column(sample, 2);
  box->addWidget(Label(sample, "laXLSSampleCell"));
  box->addWidget(PaintBox(sample, "pbXLSCell"), 1);
}

void TVantrix3DialogF::BuildXLSFormatSheets(QTabWidget* sheets) {
  QWidget* font = Page(sheets, "tshXLSFont");
  QVBoxLayout* fb = Column(font, 3);
  FontEditor(font, fb, {"XLS", "cbxXLSFont", "cbxXLSFontSize", "", "pbFontColor"});
  fb->addStretch();

  QWidget* borders = Page(sheets, "tshXLSBorders");
  QGridLayout* bg = Grid(borders, 3);
  const char* sides[][4] = {{"btnBorderTop", "cmbBorderTop", "btnBorderTopColor", "pbBorderTop"},
                            {"btnBorderBottom", "cmbBorderBottom", "btnBorderBottomColor", "pbBorderBottom"},
                            {"btnBorderLeft", "cmbBorderLeft", "btnBorderLeftColor", "pbBorderLeft"},
                            {"btnBorderRight", "cmbBorderRight", "btnBorderRightColor", "pbBorderRight"}};
  const char* glyphs[] = {"\u2594", "\u2581", "\u258F", "\u2595"};
  for (int r = 0; r < 4; ++r) {
    bg->addWidget(SpeedButton(borders, sides[r][0], glyphs[r]), r, 0);
    bg->addWidget(NumberedCombo(borders, sides[r][1], 14), r, 1);
    bg->addWidget(ColorButton(borders, sides[r][2], sides[r][3]), r, 2);
  }
  bg->setColumnStretch(1, 1);
  bg->setRowStretch(4, 1);

  QWidget* fill = Page(sheets, "tshXLSFill");
  QGridLayout* fg = Grid(fill, 3);
  fg->addWidget(ColorButton(fill, "btnFillBackground", "pbFillBackground"), 0, 0);
  fg->addWidget(ColorButton(fill, "btnFillForeground", "pbFillForeground"), 0, 1);
  fg->addWidget(NumberedCombo(fill, "cmbPattern", 19), 0, 2);
  fg->setColumnStretch(2, 1);
  fg->setRowStretch(1, 1);
}

}  // namespace vantrix
