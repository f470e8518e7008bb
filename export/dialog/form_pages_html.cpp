// The HTML page: the colour preview with the templates, the basic options (title, style
// sheet), the multi-file options with the navigation, and the body and table attributes.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "export/dialog/form_layout.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/html_options.h"
#include "platform/qt_text.h"

namespace vantrix {

using namespace form;

namespace {

QLabel* PreviewLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = Label(parent, name);
  label->setText(text);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

// The page background with the text and link samples and a small table: a head row of three
// cells and four data rows, odd and even alternating.
void BuildPreview(QWidget* page) {
  QGridLayout* grid = Grid(page);
  TPanel* background = Panel(page, "paHTMLBackground");
  QGridLayout* bg = Grid(background, 6);
  bg->addWidget(Label(background, "laHTMLFont"), 0, 0, 1, 3);
  bg->addWidget(Label(background, "laHTMLLink"), 1, 0);
  bg->addWidget(Label(background, "laHTMLVLink"), 1, 1);
  bg->addWidget(Label(background, "laHTMLALink"), 1, 2);
  auto* table = new QGridLayout;
  table->setSpacing(1);
  for (int c = 1; c <= 3; ++c) {
    const QByteArray panel = "paHTMLColumnHead_" + QByteArray::number(c);
    const QByteArray label = "laHTMLHead_" + QByteArray::number(c);
    TPanel* head = Panel(background, panel.constData());
    Column(head, 1)->addWidget(PreviewLabel(head, label.constData(), QStringLiteral("Column %1").arg(c)));
    table->addWidget(head, 0, c - 1);
  }
  int data = 1, odd = 1, even = 1;
  for (int r = 1; r <= 4; ++r) {
    const bool isOdd = r % 2 == 1;
    for (int c = 0; c < 3; ++c) {
      const QByteArray panel = (isOdd ? "paHTMLOddRowCol_" : "paHTMLEvenRowCol_") +
                               QByteArray::number(isOdd ? odd++ : even++);
      const QByteArray label = "laHTMLData_" + QByteArray::number(data);
      TPanel* cell = Panel(background, panel.constData());
      cell->setFrameStyle(QFrame::NoFrame);
      Column(cell, 1)->addWidget(PreviewLabel(cell, label.constData(), QStringLiteral("Data %1").arg(data)));
      ++data;
      table->addWidget(cell, r, c);
    }
  }
  bg->addLayout(table, 2, 0, 1, 3);
  bg->setRowStretch(3, 1);
  grid->addWidget(background, 0, 0, 1, 4);
  grid->addWidget(Label(page, "laHTMLTemplate"), 1, 0);
  QComboBox* templates = Combo(page, "cbxHTMLTemplate");
  for (int t = htCustom; t <= htSimple; ++t)
    templates->addItem(platform::FromCp1252(TemplateToStr(static_cast<THTMLTemplate>(t))));
  templates->setCurrentIndex(-1);
  grid->addWidget(templates, 1, 1);
  grid->addWidget(Button(page, "bHTMLSaveTemplate"), 1, 2);
  grid->addWidget(Button(page, "bHTMLLoadTemplate"), 1, 3);
  grid->setColumnStretch(1, 1);
}

void BuildBasic(QWidget* page) {
  QVBoxLayout* box = Column(page, 6);
  box->addLayout(Line({Label(page, "laHTMLTitle"), Edit(page, "edHTMLTitle")}));
  QGroupBox* css = Group(page, "gbHTMLUsingCSS");
  QGridLayout* cg = Grid(css, 6);
  cg->addWidget(Radio(css, "rbInternal"), 0, 0);
  cg->addWidget(Radio(css, "rbExternal"), 0, 1);
  cg->addWidget(Label(css, "laHTMLCSSFileName"), 1, 0);
  cg->addLayout(Line({Edit(css, "edHTMLCSSFileName"), ToolButton(css, "btnHTMLCSSFileName", "...")}), 1, 1);
  cg->addWidget(Check(css, "chHTMLOverwriteCSSFile"), 2, 0, 1, 2);
  cg->setColumnStretch(1, 1);
  box->addWidget(css);
  box->addStretch();
}

void BuildMultifile(QWidget* page) {
  QVBoxLayout* box = Column(page, 4);
  QGroupBox* multi = Group(page, "gbHTMLMultifileOptions");
  QGridLayout* mg = Grid(multi, 4);
  mg->addWidget(Check(multi, "chHTMLUseMultiFileExport"), 0, 0, 1, 2);
  mg->addLayout(Line({Label(multi, "laHTMLFileRecCount_01"), Edit(multi, "edHTMLFileRecCount", 60),
                      Label(multi, "laHTMLFileRecCount_02"), nullptr}),
                1, 0, 1, 2);
  mg->addWidget(Check(multi, "chHTMLGenerateIndex"), 2, 0, 1, 2);
  mg->addWidget(Label(multi, "laHTMLIndexLinkTemplate"), 3, 0);
  mg->addWidget(Edit(multi, "edHTMLIndexLinkTemplate"), 3, 1);
  box->addWidget(multi);
  QGroupBox* navigation = Group(page, "gbHTMLNavigation");
  QGridLayout* ng = Grid(navigation, 4);
  ng->addWidget(Check(navigation, "chHTMLNavigationOnTop"), 0, 0, 1, 2);
  ng->addWidget(Check(navigation, "chHTMLNavigationOnBottom"), 0, 2, 1, 2);
  const char* titles[][2] = {{"laHTMLIndexLinkTitle", "edHTMLIndexLinkTitle"},
                             {"laHTMLFirstLinkTitle", "edHTMLFirstLinkTitle"},
                             {"laHTMLPriorLinkTitle", "edHTMLPriorLinkTitle"},
                             {"laHTMLNextLinkTitle", "edHTMLNextLinkTitle"},
                             {"laHTMLLastLinkTitle", "edHTMLLastLinkTitle"}};
  for (int i = 0; i < 5; ++i) {
    const int row = 1 + i / 2, col = (i % 2) * 2;
    ng->addWidget(Label(navigation, titles[i][0]), row, col);
    ng->addWidget(Edit(navigation, titles[i][1]), row, col + 1);
  }
  box->addWidget(navigation);
  box->addStretch();
}

void BuildAdvanced(QWidget* page) {
  QVBoxLayout* box = Column(page, 4);
  QGroupBox* body = Group(page, "gbHTMLBodyOptions");
  QGridLayout* bg = Grid(body, 4);
  bg->addWidget(Label(body, "laHTMLBodyFontName"), 0, 0);
  QComboBox* font = Combo(body, "cbxHTMLFontName", true);
  EnterConfirms(font->lineEdit());
  bg->addWidget(font, 0, 1);
  bg->addWidget(Label(body, "laHTMLBackground"), 1, 0);
  bg->addLayout(Line({Edit(body, "edHTMLBackground"), ToolButton(body, "btnHTMLBackground", "...")}), 1, 1);
  bg->addWidget(Label(body, "laHTMLBodyAdvanced"), 2, 0);
  bg->addWidget(Edit(body, "edHTMLBodyAdvanced"), 2, 1);
  bg->setColumnStretch(1, 1);
  box->addWidget(body);
  QGroupBox* table = Group(page, "gbHTMLTableOptions");
  QGridLayout* tg = Grid(table, 4);
  tg->addLayout(Line({Label(table, "laHTMLCellPadding"), Edit(table, "edHTMLCellPadding", 40),
                      Label(table, "laHTMLCellSpacing"), Edit(table, "edHTMLCellSpacing", 40),
                      Label(table, "laHTMLBorderWidth"), Edit(table, "edHTMLBorderWidth", 40), nullptr}),
                0, 0, 1, 2);
  tg->addWidget(Label(table, "laHTMLTableBackground"), 1, 0);
  tg->addLayout(Line({Edit(table, "edHTMLTableBackground"), ToolButton(table, "btnHTMLTableBackground", "...")}), 1,
                1);
  tg->addWidget(Label(table, "laHTMLTableAdvanced"), 2, 0);
  tg->addWidget(Edit(table, "edHTMLTableAdvanced"), 2, 1);
  tg->setColumnStretch(1, 1);
  box->addWidget(table);
  box->addStretch();
}

}  // namespace

void TVantrix3DialogF::BuildHTMLPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshHTML");
  QTabWidget* inner = PageControl(page, "pcHTML");
  Column(page, 2)->addWidget(inner);
  BuildPreview(Page(inner, "tshHTMLPreview"));
  BuildBasic(Page(inner, "tshHTMLBasic"));
  BuildMultifile(Page(inner, "tshHTMLMultifile"));
  BuildAdvanced(Page(inner, "tshHTMLAdvanced"));
}

}  // namespace vantrix
