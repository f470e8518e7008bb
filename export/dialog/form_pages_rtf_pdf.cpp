// The RTF page (page orientation, the base and strip style lists, the style editor with its
// sample) and the PDF page (the four fonts with a sample, grid and page settings).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "export/dialog/form_layout.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/pdf_font.h"
#include "ui/radio_group.h"

namespace vantrix {

using namespace form;


void TVantrix3DialogF::BuildRTFPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshRTF");
  QTabWidget* inner = PageControl(page, "pcRTF");
  Column(page, 2)->addWidget(inner);

  QWidget* data = Page(inner, "tsRTFDataStyles");
  QGridLayout* grid = Grid(data);
  QTabWidget* styles = PageControl(data, "pcRTFStyles");
  styles->setFixedWidth(190);
  QWidget* base = Page(styles, "tsRTFBaseStyles");
  Column(base, 2)->addWidget(List(base, "lstRTFBaseStyles", 1, true));
  QWidget* strip = Page(styles, "tsRTFStripStyles");
  QVBoxLayout* sb = Column(strip, 2);
  sb->addLayout(Line({ToolButton(strip, "tbtAddRTFStyle", "+"), ToolButton(strip, "tbtDelRTFStyle", "\u2212"),
                      ToolButton(strip, "tbtMoveRTFStyleUp", "\u2191"),
                      ToolButton(strip, "tbtMoveRTFStyleDown", "\u2193"), ToolButton(strip, "tbtLoadRTFStyle", "L"),
                      ToolButton(strip, "tbtSaveRTFStyle", "S"), nullptr}));
  sb->addWidget(List(strip, "lstRTFStripStyles", 1, true), 1);
  ui::TRadioGroup* stripType = RadioGroup(strip, "rgRTFStripType", 3);
  stripType->SetItems({QStringLiteral("None"), QStringLiteral("Col"), QStringLiteral("Row")});
  sb->addWidget(stripType);
  grid->addWidget(styles, 0, 0, 7, 1);

  QComboBox* font = Combo(data, "cbRTFFont", true);
  font->setMinimumWidth(150);
  QComboBox* size = Combo(data, "cbRTFFontSize", true);
  size->addItems(FontSizes());
  size->setCurrentIndex(-1);
  size->setFixedWidth(50);
  // A typed name or size is taken as it is typed: Enter after it does not reach the dialog's
  // default button, which would start an export.
  for (QComboBox* box : {font, size}) EnterConfirms(box->lineEdit());
  grid->addLayout(Line({Label(data, "laRTFFont"), font}), 0, 1);
  grid->addLayout(Line({Label(data, "laRTFFontSize"), size, ColorButton(data, "bRTFFontColor", "pbRTFFontColor"),
                        nullptr}),
                  1, 1);
  grid->addLayout(Line({SpeedButton(data, "bRTFFontBold", "B"), SpeedButton(data, "bRTFFontItalic", "I"),
                        SpeedButton(data, "bRTFFontStrikeOut", "S"), SpeedButton(data, "bRTFFontUnderline", "U"),
                        nullptr}),
                  2, 1);
  grid->addLayout(Line({SpeedButton(data, "bRTFFontLeft", "\u2261L"), SpeedButton(data, "bRTFFontCenter", "\u2261C"),
                        SpeedButton(data, "bRTFFontRight", "\u2261R"), SpeedButton(data, "bRTFFontFill", "\u2261F"),
                        nullptr}),
                  3, 1);
  grid->addLayout(Line({ColorButton(data, "bRTFBackgroundColor", "pbRTFBackgroundColor"),
                        Check(data, "chRTFAllowBackground"), nullptr}),
                  4, 1);
  grid->addLayout(Line({ColorButton(data, "bRTFHighlightColor", "pbRTFHighlightColor"),
                        Check(data, "chRTFAllowHighlight"), nullptr}),
                  5, 1);
  QGroupBox* sample = Group(data, "gbRTFSample");
  QVBoxLayout* sl = Column(sample, 2);
  sl->addWidget(Label(sample, "laRTFSample"));
  TPaintBox* box = PaintBox(sample, "pbRTFSample");
  box->setMinimumHeight(34);
  sl->addWidget(box, 1);
  QPushButton* resetItem = Button(sample, "bRTFResetItem");
  resetItem->setText(QStringLiteral("Reset item"));
  QPushButton* resetAll = Button(sample, "bRTFResetAll");
  resetAll->setText(QStringLiteral("Reset all"));
  sl->addLayout(Line({resetItem, resetAll, nullptr}));
  grid->addWidget(sample, 6, 1);
  grid->setColumnStretch(1, 1);

  QWidget* advanced = Page(inner, "tsRTFAdvanced");
  QVBoxLayout* ab = Column(advanced, 8);
  ui::TRadioGroup* orientation = RadioGroup(advanced, "rgRTFPageOrientation", 1);
  orientation->SetItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
  ab->addWidget(orientation);
  ab->addStretch();
}

void TVantrix3DialogF::BuildPDFPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshPDF");
  QTabWidget* inner = PageControl(page, "pcPDF");
  Column(page, 2)->addWidget(inner);

  // The string table has no caption for the fonts tab: it keeps its own.
  QWidget* fonts = Page(inner, "tshPDFFontOptions");
  inner->setTabText(0, QStringLiteral("Fonts"));
  QGridLayout* fg = Grid(fonts);
  QTreeWidget* list = List(fonts, "lvPDFFonts", 1, false);
  list->setFixedWidth(130);
  fg->addWidget(list, 0, 0, 5, 1);
  QComboBox* name = Combo(fonts, "cbPDFFontName");
  for (int i = poHelvetica; i <= poZapfDingbats; ++i)
    name->addItem(QString::fromLatin1(PDFFontPostScriptName(static_cast<TPDFFontName>(i))));
  name->setCurrentIndex(-1);
  QComboBox* encoding = Combo(fonts, "cbPDFFontEncoding");
  for (int i = poStandardEncoding; i <= poPDFDocEncoding; ++i)
    encoding->addItem(QString::fromLatin1(PDFFontEncodingName(static_cast<TPDFFontEncoding>(i))));
  encoding->setCurrentIndex(-1);
  fg->addWidget(Label(fonts, "laPDFFontName"), 0, 1);
  fg->addWidget(name, 0, 2);
  fg->addWidget(Label(fonts, "laPDFFontEncoding"), 1, 1);
  fg->addWidget(encoding, 1, 2);
  fg->addWidget(Label(fonts, "laPDFFontSize"), 2, 1);
  fg->addLayout(Line({Edit(fonts, "edPDFFontSize", 50), Button(fonts, "sbPDFFontColor"), nullptr}), 2, 2);
  QLabel* sample = Label(fonts, "paPDFSample");
  sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  sample->setAlignment(Qt::AlignCenter);
  sample->setMinimumHeight(60);
  sample->setAutoFillBackground(true);
  fg->addWidget(sample, 3, 1, 2, 2);
  fg->setColumnStretch(2, 1);

  QWidget* grid = Page(inner, "tshPDFGridOptions");
  QGridLayout* gg = Grid(grid, 8);
  const char* gridRows[][2] = {{"laPDFColSpacing", "edPDFColSpacing"},
                               {"laPDFRowSpacing", "edPDFRowSpacing"},
                               {"laPDFGridLineWidth", "edPDFGridLineWidth"}};
  for (int r = 0; r < 3; ++r) {
    gg->addWidget(Label(grid, gridRows[r][0]), r, 0);
    gg->addWidget(Edit(grid, gridRows[r][1], 60), r, 1);
  }
  gg->setColumnStretch(2, 1);
  gg->setRowStretch(3, 1);

  QWidget* pageOptions = Page(inner, "tshPDFPageOptions");
  QGridLayout* pg = Grid(pageOptions, 6);
  pg->addWidget(Label(pageOptions, "laPDFPageFormat"), 0, 0);
  pg->addWidget(Combo(pageOptions, "cbPDFPageFormat"), 0, 1);
  // The width and height edits have no caption of their own in the string table.
  QLabel* width = Label(pageOptions, "laPDFPageWidth");
  width->setText(QStringLiteral("Width"));
  QLabel* height = Label(pageOptions, "laPDFPageHeight");
  height->setText(QStringLiteral("Height"));
  pg->addLayout(Line({width, Edit(pageOptions, "edPDFPageWidth", 56), height, Edit(pageOptions, "edPDFPageHeight", 56),
                      nullptr}),
                1, 1);
  pg->addWidget(Label(pageOptions, "laPDFPageUnits"), 2, 0);
  pg->addWidget(Combo(pageOptions, "cbPDFPageUnits"), 2, 1);
  pg->addWidget(Label(pageOptions, "laPDFPageOrientation"), 3, 0);
  pg->addWidget(Combo(pageOptions, "cbPDFPageOrientation"), 3, 1);
  QGroupBox* margins = Group(pageOptions, "gbPDFMargins");
  QGridLayout* mg = Grid(margins, 6);
  mg->addWidget(Label(margins, "laPDFPageMarginLeft"), 0, 0);
  mg->addWidget(Edit(margins, "edPDFPageMarginLeft", 56), 0, 1);
  mg->addWidget(Label(margins, "laPDFPageMarginRight"), 0, 2);
  mg->addWidget(Edit(margins, "edPDFPageMarginRight", 56), 0, 3);
  mg->addWidget(Label(margins, "laPDFPageMarginTop"), 1, 0);
  mg->addWidget(Edit(margins, "edPDFPageMarginTop", 56), 1, 1);
  mg->addWidget(Label(margins, "laPDFPageMarginBottom"), 1, 2);
  mg->addWidget(Edit(margins, "edPDFPageMarginBottom", 56), 1, 3);
  mg->setColumnStretch(4, 1);
  pg->addWidget(margins, 4, 0, 1, 2);
  pg->setColumnStretch(1, 1);
  pg->setRowStretch(5, 1);
}

}  // namespace vantrix
