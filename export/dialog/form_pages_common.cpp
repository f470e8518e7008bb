// The pages every format shares (export type, fields, formats, header and footer, captions)
// and the small pages of the XML, SQL and text formats.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "export/dialog/form_layout.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "ui/radio_group.h"

namespace vantrix {

using namespace form;

void TVantrix3DialogF::BuildExportTypePage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshExportType");
  QTabWidget* inner = PageControl(page, "pcExportType");
  Column(page)->addWidget(inner);

  QWidget* formats = Page(inner, "tshExportFormats");
  Column(formats)->addWidget(RadioGroup(formats, "rgExportType", 3));

  QWidget* options = Page(inner, "tshExportOptions");
  QGroupBox* constraints = Group(options, "gbExportConstraints");
  Column(options)->addWidget(constraints);
  QVBoxLayout* box = Column(constraints, 6);
  box->addWidget(Check(constraints, "chGoToFirstRecord"));
  box->addWidget(Check(constraints, "chCurrentRecordOnly"));
  box->addWidget(Check(constraints, "chExportEmpty"));
  box->addLayout(Line({Label(constraints, "laSkipRecCount_01"), Edit(constraints, "edSkipRecCount", 60),
                       Label(constraints, "laSkipRecCount_02"), nullptr}));
  box->addWidget(Radio(constraints, "rbExportAllRecords"));
  box->addLayout(Line({Radio(constraints, "rbExportOnly"), Edit(constraints, "edExportRecCount", 60),
                       Label(constraints, "laExportRecCount_02"), nullptr}));
  box->addStretch();
}

void TVantrix3DialogF::BuildFieldsPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshFields");
  QGridLayout* grid = Grid(page);
  grid->addWidget(Label(page, "laAvailableFields"), 0, 0);
  grid->addWidget(Label(page, "laExportedFields"), 0, 2);
  QTreeWidget* available = List(page, "lstAvailableFields", 1, false);
  QTreeWidget* exported = List(page, "lstExportedFields", 1, false);
  for (QTreeWidget* list : {available, exported}) {
    list->setDragEnabled(true);
    list->setAcceptDrops(true);
  }
  grid->addWidget(available, 1, 0);
  auto* buttons = Column(nullptr, 0);
  buttons->addStretch();
  for (const char* name : {"bAddOneExportedField", "bAddAllExportedField", "bDelOneExportedField",
                           "bDelAllExportedField"})
    buttons->addWidget(Button(page, name, 36));
  buttons->addStretch();
  grid->addLayout(buttons, 1, 1);
  grid->addWidget(exported, 1, 2);
}

void TVantrix3DialogF::BuildFormatsPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshFormats");
  QHBoxLayout* columns = new QHBoxLayout(page);
  columns->setContentsMargins(4, 4, 4, 4);
  QGroupBox* standard = Group(page, "gbStandardFormats");
  QGridLayout* grid = Grid(standard, 6);
  const char* rows[][2] = {{"laIntegerFormat", "edIntegerFormat"},   {"laFloatFormat", "edFloatFormat"},
                           {"laDateFormat", "edDateFormat"},         {"laTimeFormat", "edTimeFormat"},
                           {"laDateTimeFormat", "edDateTimeFormat"}, {"laCurrencyFormat", "edCurrencyFormat"},
                           {"laBooleanTrue", "edBooleanTrue"},       {"laBooleanFalse", "edBooleanFalse"},
                           {"laNullString", "edNullString"}};
  for (int r = 0; r < 9; ++r) {
    grid->addWidget(Label(standard, rows[r][0]), r, 0);
    grid->addWidget(Edit(standard, rows[r][1], 130), r, 1);
  }
  grid->setRowStretch(9, 1);
  columns->addWidget(standard);

  QGroupBox* user = Group(page, "gbUserFormat");
  QGridLayout* ug = Grid(user, 6);
  ug->addWidget(Combo(user, "cbxFormatFields"), 0, 0, 1, 2);
  QComboBox* userFormat = Combo(user, "cbxUserFormats", true);
  EnterConfirms(userFormat->lineEdit());
  ug->addWidget(userFormat, 1, 0, 1, 2);
  ug->addWidget(Button(user, "bAddUserFormat"), 2, 0);
  ug->addWidget(Button(user, "bEditUserFormat"), 2, 1);
  ug->addWidget(Button(user, "bDeleteUserFormat"), 3, 0);
  ug->addWidget(Button(user, "bClearUserFormats"), 3, 1);
  QTreeWidget* formats = List(user, "lstUserFormats", 3, false);
  formats->setHeaderHidden(true);
  formats->header()->setMinimumSectionSize(10);
  formats->setColumnWidth(0, 60);
  formats->setColumnWidth(1, 14);
  formats->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ug->addWidget(formats, 4, 0, 1, 2);
  columns->addWidget(user, 1);
}

void TVantrix3DialogF::BuildHeaderFooterPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshHeaderFooter");
  QVBoxLayout* box = Column(page);
  box->addWidget(Label(page, "laHeader"));
  box->addWidget(Memo(page, "memHeader"));
  box->addWidget(Label(page, "laFooter"));
  box->addWidget(Memo(page, "memFooter"));
}

void TVantrix3DialogF::BuildCaptionsPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshCaptions");
  QVBoxLayout* box = Column(page);
  box->addLayout(Line({Check(page, "chAllowCaptions"), nullptr, Label(page, "laCaptionRow"),
                       Edit(page, "edCaptionRow", 50)}));
  // Row 0 is the title row; the grid starts with it and one empty row.
  auto* grid = new QTableWidget(2, 2, page);
  grid->setObjectName(QStringLiteral("sgrCaptions"));
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->setColumnWidth(0, 210);
  grid->setColumnWidth(1, 210);
  grid->verticalHeader()->setDefaultSectionSize(20);
  box->addWidget(grid);
  // The in-place editors of the alignment and width cells, shown over a cell while it is
  // being edited.
  QComboBox* align = Combo(grid->viewport(), "cbxColumnAlign");
  align->hide();
  QLineEdit* width = Edit(grid->viewport(), "edColumnWidth");
  width->hide();
  auto* updown = new QSpinBox(grid->viewport());
  updown->setObjectName(QStringLiteral("udColumnWidth"));
  updown->setRange(0, 32767);
  updown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  updown->setFixedWidth(18);
  updown->hide();
}

void TVantrix3DialogF::BuildXMLPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshXML");
  QVBoxLayout* box = Column(page, 8);
  box->addWidget(Check(page, "chXMLStandalone"));
  box->addLayout(Line({Label(page, "laXMLEncoding"), Edit(page, "edXMLEncoding", 160), nullptr}));
  box->addStretch();
}

void TVantrix3DialogF::BuildSQLPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshSQL");
  QVBoxLayout* box = Column(page);
  QGroupBox* table = Group(page, "gbSQLTableOptions");
  QGridLayout* tg = Grid(table, 6);
  tg->addWidget(Check(table, "chSQLCreateTable"), 0, 0, 1, 2);
  tg->addWidget(Label(table, "laSQLTableName"), 1, 0);
  tg->addWidget(Edit(table, "edSQLTableName"), 1, 1);
  box->addWidget(table);

  QGroupBox* commit = Group(page, "gbSQLCommit");
  QGridLayout* cg = Grid(commit, 6);
  cg->addLayout(Line({Label(commit, "laSQLUseCommit_01"), Edit(commit, "edSQLCommitRecCount", 60),
                      Label(commit, "laSQLUseCommit_02"), nullptr}),
                0, 0, 1, 2);
  cg->addWidget(Check(commit, "chSQLCommitAfterScript"), 1, 0, 1, 2);
  cg->addWidget(Label(commit, "laSQLCommitStatement"), 2, 0);
  cg->addWidget(Edit(commit, "edSQLCommitStatement"), 2, 1);
  box->addWidget(commit);

  QGroupBox* misc = Group(page, "gbSQLMisc");
  QGridLayout* mg = Grid(misc, 6);
  mg->addWidget(Label(misc, "laSQLNullString"), 0, 0);
  mg->addWidget(Edit(misc, "edSQLNullString"), 0, 1);
  mg->addWidget(Label(misc, "laSQLStatementTerm"), 1, 0);
  mg->addWidget(Edit(misc, "edSQLStatementTerm", 40), 1, 1, Qt::AlignLeft);
  box->addWidget(misc);
  box->addStretch();
}

void TVantrix3DialogF::BuildASCIIPage(QTabWidget* pages) {
  QWidget* page = Page(pages, "tshASCII");
  QVBoxLayout* box = Column(page);
  QGroupBox* txt = Group(page, "gbTXTOptions");
  QVBoxLayout* tb = Column(txt, 6);
  tb->addWidget(Check(txt, "chTXTAutoCalcColWidth"));
  tb->addLayout(Line({Label(txt, "laTXTSpacing"), Edit(txt, "edTXTSpacing", 50), nullptr}));
  box->addWidget(txt);
  QGroupBox* csv = Group(page, "gbCSVOptions");
  QVBoxLayout* cb = Column(csv, 6);
  cb->addWidget(Check(csv, "chCSVQuoteStrings"));
  cb->addLayout(Line({Label(csv, "laCSVComma"), Edit(csv, "edCSVComma", 40), Label(csv, "laCSVQuote"),
                      Edit(csv, "edCSVQuote", 40), nullptr}));
  box->addWidget(csv);
  box->addStretch();
}

}  // namespace vantrix
