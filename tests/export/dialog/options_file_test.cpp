// The export dialog's options file: a save read back by a fresh form saves the same bytes for
// every format, the layout as an independent INI reader sees it, what a file of one format
// leaves alone, hand-edited numbers kept within range, and the Tools menu, auto-load and
// auto-save.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/rtf_style.h"
#include "export/vantrix3_pdf.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_link_note.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "options_file_fixture.h"

using namespace vantrix;
using optionstest::OptionsFile;
using testsupport::FakeDialogServices;

namespace {

const char kGeneralKeys[] =
    "ExportType,FileName,ShowFile,PrintFile,GoToFirstRecord,ExportEmpty,CurrentRecordOnly,ExportRecCount,SkipRecCount,"
    "AllowCaptions,CaptionRow";
bool HasCaptionSection(const char* sections, const char* name) {
  return QString::fromLatin1(sections).split(' ').contains(QLatin1String(name));
}

const char kFormatKeys[] = "Integer,Float,Date,Time,DateTime,Currency,BooleanTrue,BooleanFalse,NullString";

}  // namespace

// A file saved, loaded into a fresh form and saved again gives the same bytes, and an
// independent reader finds the sections and keys in the order written.
TEST_F(OptionsFile, EveryFormatSavesLoadsAndSavesTheSameBytesInTheWrittenOrder) {
  // Spreadsheet items of every kind, so that the XLS file has their sections.
  dialog.XLSOptions.StripStyles.Add().Font.Size = 12;
  dialog.XLSOptions.StripStyles.Add().Font.Style.Include(xfsBold);
  dialog.XLSOptions.Hyperlinks.Add().Target = u"http://example.org/";
  dialog.XLSOptions.Hyperlinks.Add().Title = u"Second";
  dialog.XLSOptions.Notes.Add().Lines = {"a note"};
  dialog.XLSOptions.Charts.Add().Title = u"Trend";
  dialog.XLSOptions.Cells.Add().StringValue = u"extra";
  dialog.XLSOptions.MergedCells.Add().LastCol = 3;
  dialog.RTFOptions.StripStyles.Add();
  dialog.RTFOptions.StripStyles.Add();
  const struct {
    TAllowedExport format;
    const char* sections;
    const char* ownSection;
    const char* ownKeys;
  } table[] = {
      {aeCSV, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS CSV", "CSV", "QuoteStrings,Comma,Quote"},
      {aeTXT, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS ALIGN WIDTH TXT", "TXT",
       "AutoCalcColWidth,Spacing"},
      {aeSQL, "GENERAL FORMATS FIELDS HEADER FOOTER SQL", "SQL",
       "TableName,CreateTable,CommitRecCount,CommitAfterScript,CommitStatement,StatementTerm"},
      {aeXML, "GENERAL FORMATS USER_FORMATS FIELDS XML", "XML", "Standalone,Encoding"},
      {aeDBF, "GENERAL FIELDS", "GENERAL", kGeneralKeys},
      {aeHTML, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS ALIGN HTML", "HTML",
       "Title,CSS,CSSFile,OverwriteCSSFile,FileRecCount,GenerateIndex,IndexLinkTemplate,NavigationOnTop,"
       "NavigationOnBottom,IndexLinkTitle,FirstLinkTitle,PriorLinkTitle,NextLinkTitle,LastLinkTitle,FontName,"
       "BackgroundFile,BodyAdvanced,CellPadding,CellSpacing,BorderWidth,TableBackground,TableAdvanced,"
       "BackgroundColor,FontColor,HeadBackgroundColor,HeadFontColor,OddRowBackgroundColor,EvenRowBackgroundColor,"
       "DataFontColor,LinkColor,VLinkColor,ALinkColor"},
      {aePDF,
       "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS ALIGN WIDTH PDF PDF_OPTION_HEADER "
       "PDF_OPTION_CAPTION PDF_OPTION_DATA PDF_OPTION_FOOTER",
       "PDF",
       "ColSpacing,RowSpacing,GridLineWidth,PageFormat,PageUnits,PageOrientation,PageWidth,PageHeight,PageMarginLeft,"
       "PageMarginRight,PageMarginTop,PageMarginBottom"},
      {aeRTF, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS ALIGN WIDTH RTF", "RTF",
       "PageOrientation,StripType"},
      {aeWord, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS ALIGN WIDTH RTF", "RTF",
       "PageOrientation,StripType"},
      {aeXLS, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS WIDTH XLS", "XLS",
       "PageHeader,PageFooter,SheetTitle,StripType,AutoCalcColWidth,PageBackground"},
      {aeDIFF, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS", "FIELDS", "field0"},
      {aeSylk, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS", "CAPTIONS", "Time,Temperature,Humidity"},
      {aeLaTeX, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS", "USER_FORMATS", "Temperature"},
      {aeClipboard, "GENERAL FORMATS USER_FORMATS FIELDS HEADER FOOTER CAPTIONS", "FORMATS", kFormatKeys},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.format);
    Open();
    Choose(row.format);
    ChangeEverything();
    const std::string first = Path("first.cfg"), second = Path("second.cfg");
    form->SaveExportOptions(first);
    // A fresh form from the dialog's own options reads it back.
    Open();
    form->LoadExportOptions(first);
    EXPECT_EQ(form->GetExportType(), row.format);
    form->SaveExportOptions(second);
    EXPECT_EQ(Bytes(first).toStdString(), Bytes(second).toStdString());

    const QStringList layout = ParsedLayout(first);
    // The items of a format (spreadsheet and RTF styles and extras, PDF fonts) follow its own
    // section; everything else comes in the fixed order.
    QStringList common, items;
    for (const QString& s : Sections(layout))
      (s.startsWith("XLS_") || s.startsWith("RTF_") ? items : common) << s;
    EXPECT_EQ(common.join(' ').toStdString(), row.sections);
    EXPECT_EQ(Sections(layout), common + items);
    for (const QString& item : items) EXPECT_TRUE(item.startsWith(common.last() + '_')) << item.toStdString();
    EXPECT_EQ(Keys(layout, "GENERAL").toStdString(), kGeneralKeys);
    EXPECT_EQ(Keys(layout, row.ownSection).toStdString(), row.ownKeys);
    if (row.format == aePDF) {
      for (const char* font : {"PDF_OPTION_HEADER", "PDF_OPTION_CAPTION", "PDF_OPTION_DATA", "PDF_OPTION_FOOTER"})
        EXPECT_EQ(Keys(layout, font).toStdString(), "FontName,FontEncoding,FontSize,FontColor") << font;
    }
    for (const char* grid : {"ALIGN", "WIDTH"}) {
      if (HasCaptionSection(row.sections, grid)) {
        EXPECT_EQ(Keys(layout, grid), "Time,Temperature,Humidity") << grid;
      }
    }
  }
}

// The spreadsheet's item sections come after XLS in list order: fields, elements, strip
// styles, then the extension groups; the fresh form gets the file's items, not its own.
TEST_F(OptionsFile, SpreadsheetItemsComeBackFromTheirSections) {
  dialog.XLSOptions.StripStyles.Add().Font.Size = 12;
  dialog.XLSOptions.StripStyles.Add();
  dialog.XLSOptions.Hyperlinks.Add().Target = u"http://example.org/";
  dialog.XLSOptions.Hyperlinks.Add().Title = u"Second";
  dialog.XLSOptions.Notes.Add().Lines = {"a note"};
  dialog.XLSOptions.Charts.Add().Title = u"Trend";
  dialog.XLSOptions.Cells.Add().Col = 4;
  dialog.XLSOptions.MergedCells.Add().LastCol = 3;
  Open();
  // The hyperlink element underlined: links loaded take it as added ones do.
  XLSItemFormat(List("lstXLSOptions")->topLevelItem(4))->Font.Underline = fulSingle;
  const std::string file = Path("xls.cfg");
  form->SaveExportOptions(file);
  QStringList xlsSections;
  for (const QString& s : Sections(ParsedLayout(file)))
    if (s.startsWith("XLS_")) xlsSections << s;
  EXPECT_EQ(xlsSections.join(' ').toStdString(),
            "XLS_FIELD_TIME XLS_FIELD_TEMPERATURE XLS_FIELD_HUMIDITY XLS_OPTION_HEADER XLS_OPTION_CAPTION "
            "XLS_OPTION_AGGREGATE XLS_OPTION_FOOTER XLS_OPTION_HYPERLINK XLS_STYLE_ITEM_0 XLS_STYLE_ITEM_1 "
            "XLS_HYPERLINK_0 XLS_HYPERLINK_1 XLS_NOTE_0 XLS_NOTE_0_LINES XLS_CHART_0 XLS_CELL_0 XLS_MERGED_CELL_0");

  dialog.XLSOptions.StripStyles.Clear();
  dialog.XLSOptions.Hyperlinks.Clear();
  dialog.XLSOptions.Charts.Clear();
  dialog.XLSOptions.Cells.Clear();
  Open();
  XLSItemFormat(List("lstXLSOptions")->topLevelItem(4))->Font.Underline = fulSingle;
  form->LoadExportOptions(file);
  // Loading twice gives the file's strip styles once: the list is replaced, not appended to.
  form->LoadExportOptions(file);
  QTreeWidget* styles = List("lstXLSStyles");
  ASSERT_EQ(styles->topLevelItemCount(), 2);
  EXPECT_EQ(styles->topLevelItem(0)->text(0), "ITEM_0");
  EXPECT_EQ(ItemImage(styles->topLevelItem(0)), 2);
  EXPECT_EQ(XLSItemFormat(styles->topLevelItem(0))->Font.Size, 12);
  const TXLSExtensionsEditor& tree = form->XLSExtensions();
  ASSERT_EQ(tree.HyperlinkGroup()->childCount(), 2);
  EXPECT_EQ(tree.HyperlinkGroup()->child(0)->text(0), "Hyperlink_1");
  EXPECT_EQ(tree.HyperlinkGroup()->child(1)->text(0), "Second");
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(dynamic_cast<TxlsHyperlink*>(XLSNodeItem(tree.HyperlinkGroup()->child(i)))->Format.Font.Underline,
              fulSingle);
  ASSERT_EQ(tree.ChartGroup()->childCount(), 1);
  EXPECT_EQ(tree.ChartGroup()->child(0)->text(0), "Trend");
  ASSERT_EQ(tree.CellGroup()->childCount(), 1);
  EXPECT_EQ(tree.CellGroup()->child(0)->text(0), "Cell(Col: 4 Row: 0)");
  ASSERT_EQ(tree.MergedCellsGroup()->childCount(), 1);
  EXPECT_EQ(tree.MergedCellsGroup()->child(0)->text(0), "Merged Cells 0");
  // The note's lines section begins like a note but makes none.
  ASSERT_EQ(tree.NoteGroup()->childCount(), 1);
  EXPECT_EQ(dynamic_cast<TxlsNote*>(XLSNodeItem(tree.NoteGroup()->child(0)))->Lines, TStrings{"a note"});
}

// The strip styles a loaded file replaces are freed with the load, not kept until the form
// closes; the ones a file of another format leaves in place stay.
TEST_F(OptionsFile, StripStylesReplacedByALoadAreFreed) {
  Open();
  const std::string xls = Path("xls.cfg"), csv = Path("csv.cfg");
  form->SaveExportOptions(xls);
  Choose(aeCSV);
  form->SaveExportOptions(csv);
  Open();
  auto kept = std::make_shared<bool>(false), replaced = std::make_shared<bool>(false);
  QTreeWidget* styles = List("lstXLSStyles");
  AddListItem(styles, "ITEM_0", 2, form->AdoptXLSItem(std::make_unique<dialogtest::WatchedFormat>(kept)));
  form->LoadExportOptions(csv);
  EXPECT_FALSE(*kept);
  EXPECT_EQ(styles->topLevelItemCount(), 1);
  AddListItem(styles, "ITEM_1", 2, form->AdoptXLSItem(std::make_unique<dialogtest::WatchedFormat>(replaced)));
  form->LoadExportOptions(xls);
  EXPECT_TRUE(*kept);
  EXPECT_TRUE(*replaced);
  EXPECT_EQ(styles->topLevelItemCount(), 0);
}

// A CSV file holds no spreadsheet section and leaves the spreadsheet lists as they are; the
// SQL null text and an HTML count while multi-file export is off survive; a missing captions
// section leaves the grid.
TEST_F(OptionsFile, WhatAFileOfOneFormatKeepsAndLeavesAlone) {
  dialog.XLSOptions.StripStyles.Add();
  Open();
  Choose(aeCSV);
  const std::string csv = Path("csv.cfg");
  form->SaveExportOptions(csv);
  EXPECT_FALSE(Bytes(csv).contains("[XLS"));
  Open();
  XLSItemFormat(List("lstXLSFields")->topLevelItem(0))->Font.Size = 20;
  form->LoadExportOptions(csv);
  EXPECT_EQ(form->GetExportType(), aeCSV);
  EXPECT_EQ(List("lstXLSStyles")->topLevelItemCount(), 1);
  EXPECT_EQ(XLSItemFormat(List("lstXLSFields")->topLevelItem(0))->Font.Size, 20);

  Choose(aeSQL);
  form->SetNullString("NULL");
  const std::string sql = Path("sql.cfg");
  form->SaveExportOptions(sql);
  Open();
  form->LoadExportOptions(sql);
  EXPECT_EQ(form->Options().NullString, "NULL");

  Choose(aeHTML);
  form->SetHTMLFileRecCount(25);
  form->SetHTMLUseMultiFileExport(false);
  const std::string html = Path("html.cfg");
  form->SaveExportOptions(html);
  Open();
  form->LoadExportOptions(html);
  EXPECT_FALSE(form->Options().HTMLUseMultiFileExport);

  // A file without a captions section keeps the grid's captions; one with it sets them all.
  Open();
  Choose(aeTXT);
  auto* grid = form->Control<QTableWidget>("sgrCaptions");
  grid->item(1, 1)->setText("Kept");
  Write(Path("none.cfg"), "[GENERAL]\nExportType=7\n");
  form->LoadExportOptions(Path("none.cfg"));
  EXPECT_EQ(grid->item(1, 1)->text(), "Kept");
  Write(Path("txt.cfg"), "[GENERAL]\nExportType=7\n[CAPTIONS]\nHumidity=RH\n");
  form->LoadExportOptions(Path("txt.cfg"));
  EXPECT_EQ(grid->item(1, 1)->text(), "");
  EXPECT_EQ(grid->item(3, 1)->text(), "RH");
}

// A file without user formats, header or footer (the formats and header pages hidden, or
// edited by hand) empties them; a form with them empty saves a file that loads back empty.
TEST_F(OptionsFile, MissingUserFormatsHeaderAndFooterAreEmptied) {
  dialog.Header = {"from the dialog"};
  dialog.Footer = {"end"};
  Open();
  form->Control<QComboBox>("cbxFormatFields")->setCurrentIndex(0);
  form->cbxFormatFieldsChange();
  form->bAddUserFormatClick();
  ASSERT_EQ(List("lstUserFormats")->topLevelItemCount(), 1);
  Write(Path("bare.cfg"), "[GENERAL]\nExportType=8\n");
  form->LoadExportOptions(Path("bare.cfg"));
  EXPECT_EQ(List("lstUserFormats")->topLevelItemCount(), 0);
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), "");
  EXPECT_EQ(form->Control<QPlainTextEdit>("memFooter")->toPlainText(), "");

  form->SaveExportOptions(Path("empty.cfg"));
  for (const QString& section : Sections(ParsedLayout(Path("empty.cfg"))))
    EXPECT_TRUE(section != "USER_FORMATS" && section != "HEADER" && section != "FOOTER") << section.toStdString();
  Open();
  form->LoadExportOptions(Path("empty.cfg"));
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), "");
  form->SaveExportOptions(Path("again.cfg"));
  EXPECT_EQ(Bytes(Path("empty.cfg")).toStdString(), Bytes(Path("again.cfg")).toStdString());
}

// Numbers edited by hand stay within what their options take; names of fields the source
// lacks are skipped and a field named twice is exported once.
TEST_F(OptionsFile, HandEditedValuesAreBounded) {
  Write(Path("bad.cfg"),
        "[GENERAL]\nExportType=99\nExportRecCount=-5\nCaptionRow=-9\n"
        "[FIELDS]\nfield0=Nothing\nfield1=humidity\nfield2=Humidity\n"
        "[XLS]\nStripType=7\n"
        "[XLS_HYPERLINK_0]\nCol=70000\nRow=-3\n"
        "[XLS_CELL_0]\nCol=999999\nRow=5\n");
  Open();
  form->LoadExportOptions(Path("bad.cfg"));
  EXPECT_EQ(form->GetExportType(), aeXLS);
  EXPECT_EQ(form->Options().ExportRecCount, 0);
  EXPECT_EQ(form->Options().CaptionRow, -1);
  EXPECT_EQ(form->Options().XLSStripType, dialog.XLSOptions.StripType);
  QTreeWidget* exported = List("lstExportedFields");
  ASSERT_EQ(exported->topLevelItemCount(), 1);
  EXPECT_EQ(exported->topLevelItem(0)->text(0), "Humidity");
  const auto* link = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(form->XLSExtensions().HyperlinkGroup()->child(0)));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Col, 256);
  EXPECT_EQ(link->Row, 0);
  EXPECT_EQ(form->XLSExtensions().CellGroup()->child(0)->text(0), "Cell(Col: 65535 Row: 5)");

  Write(Path("pdf.cfg"),
        "[GENERAL]\nExportType=6\n[PDF]\nColSpacing=abc\nRowSpacing=1e300\nPageFormat=8\nPageWidth=99999999\n"
        "PageHeight=0\nPageMarginLeft=-4\n[PDF_OPTION_DATA]\nFontSize=0\nFontName=77\n");
  form->LoadExportOptions(Path("pdf.cfg"));
  const TPDFOptions& pdf = form->PDFExp().Options();
  EXPECT_EQ(pdf.ColSpacing, dialog.PDFOptions.ColSpacing);
  EXPECT_EQ(pdf.RowSpacing, 100.0);
  EXPECT_EQ(pdf.PageOptions.Format(), pfUser);
  EXPECT_EQ(pdf.PageOptions.WidthDots(), 14400);
  EXPECT_EQ(pdf.PageOptions.HeightDots(), 1);
  EXPECT_EQ(pdf.PageOptions.MarginLeftDots(), 0);
  EXPECT_EQ(pdf.DataFont.FontSize, 1);
  EXPECT_EQ(pdf.DataFont.BaseFont, dialog.PDFOptions.DataFont.BaseFont);
}

// A line with a NUL byte or a lone CR (a damaged file) is read up to it and saved in its
// place. The header line was dropped from the save, the lines after it moving up; the SQL
// commit statement was dropped and came back as the default: neither file came back the same.
TEST_F(OptionsFile, ALineWithANulOrALoneCarriageReturnKeepsItsPlace) {
  using namespace std::string_literals;
  const struct {
    std::string text;
    const char* saved;
  } files[] = {
      {"[GENERAL]\nExportType=8\n[HEADER]\nline0=first\0rest\nline1=second\n"s,
       "[HEADER]\r\nline0=first\r\nline1=second\r\n"},
      {"[GENERAL]\nExportType=12\n[SQL]\nCommitStatement=COM\rIT WORK;\nStatementTerm=;\n",
       "CommitStatement=COM\r\nStatementTerm=;\r\n"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.saved);
    {
      QFile file(QString::fromStdString(Path("damaged.cfg")));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(f.text.data(), static_cast<qint64>(f.text.size()));
    }
    Open();
    form->LoadExportOptions(Path("damaged.cfg"));
    form->SaveExportOptions(Path("first.cfg"));
    Open();
    form->LoadExportOptions(Path("first.cfg"));
    form->SaveExportOptions(Path("second.cfg"));
    EXPECT_TRUE(Bytes(Path("first.cfg")).contains(f.saved)) << Bytes(Path("first.cfg")).toStdString();
    EXPECT_EQ(Bytes(Path("first.cfg")).toStdString(), Bytes(Path("second.cfg")).toStdString());
  }
}

// Spacings are written with "." under a locale whose mark is a comma, and read with either.
TEST_F(OptionsFile, PDFSpacingsUnderACommaLocale) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  Open();
  Choose(aePDF);
  form->PDFExp().Options().ColSpacing = 2.5;
  form->SaveExportOptions(Path("pdf.cfg"));
  EXPECT_TRUE(Bytes(Path("pdf.cfg")).contains("ColSpacing=2.5\r\n"));
  Write(Path("comma.cfg"), "[GENERAL]\nExportType=6\n[PDF]\nColSpacing=4,5\nRowSpacing=1.5\n");
  form->LoadExportOptions(Path("comma.cfg"));
  EXPECT_EQ(form->PDFExp().Options().ColSpacing, 4.5);
  EXPECT_EQ(form->PDFExp().Options().RowSpacing, 1.5);
  QLocale::setDefault(before);
}

// The Tools menu asks for the file through the services and remembers it; cancelled, nothing
// is written.
TEST_F(OptionsFile, ToolsMenuSavesAndLoadsTheChosenFile) {
  dialog.SaveLoadButtons = true;
  Open();
  Choose(aeCSV);
  form->Control<QAction>("miSaveOptions")->trigger();  // cancelled
  EXPECT_TRUE(form->Options().OptionsFileName.empty());
  const std::string file = Path("tools.cfg");
  services.files.push_back(QString::fromStdString(file));
  form->Control<QAction>("miSaveOptions")->trigger();
  EXPECT_EQ(form->Options().OptionsFileName, file);
  EXPECT_TRUE(Bytes(file).startsWith("[GENERAL]"));
  EXPECT_TRUE(services.log.last().startsWith("save|Configuration files (*.cfg)"));

  Open();
  services.files.push_back(QString::fromStdString(file));
  form->Control<QAction>("miLoadOptions")->trigger();
  EXPECT_EQ(form->GetExportType(), aeCSV);
  EXPECT_EQ(form->Options().OptionsFileName, file);
}

// A UTF-16 options file is told, from the Tools menu and when the form starts with it, and
// neither the form nor the file changes. A UTF-8 one (behind its byte-order mark) comes in
// converted to the form's texts, and is saved back as UTF-8, a second save equal to the first.
TEST_F(OptionsFile, AUtf16FileIsToldAndAUtf8FileIsReadAsUtf8) {
  dialog.SaveLoadButtons = true;
  Open();
  Choose(aeCSV);
  form->Control<QPlainTextEdit>("memHeader")->setPlainText("kept");
  const std::string wide = Path("wide.cfg");
  // Little-endian UTF-16 behind its mark, as editors save "Unicode" text.
  const QString content = QStringLiteral("[GENERAL]\r\nExportType=7\r\n[HEADER]\r\nline0=lost\r\n");
  QByteArray text("\xFF\xFE", 2);
  for (const QChar c : content) text.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
  {
    QFile file(QString::fromStdString(wide));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  services.files.push_back(QString::fromStdString(wide));
  form->Control<QAction>("miLoadOptions")->trigger();
  ASSERT_FALSE(services.log.isEmpty());
  EXPECT_TRUE(services.log.last().startsWith("message|")) << services.log.last().toStdString();
  EXPECT_TRUE(services.log.last().contains("wide.cfg\": it is UTF-16 text")) << services.log.last().toStdString();
  EXPECT_EQ(form->GetExportType(), aeCSV);
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), "kept");
  EXPECT_EQ(Bytes(wide), text);
  dialog.OptionsFileName = wide;
  dialog.AutoLoadOptions = true;
  EXPECT_THROW(Open(), EVantrixError);
  EXPECT_EQ(Bytes(wide), text);

  dialog.AutoLoadOptions = false;
  Open();
  const std::string utf8 = Path("utf8.cfg");
  Write(utf8, "\xEF\xBB\xBF[GENERAL]\r\nExportType=8\r\n[HEADER]\r\nline0=T\xC3\xADtulo \xE2\x88\x9A\r\n");
  form->LoadExportOptions(utf8);
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), QString::fromUtf8("T\xC3\xADtulo ?"));
  form->SaveExportOptions(utf8);
  const QByteArray first = Bytes(utf8);
  EXPECT_TRUE(first.startsWith("\xEF\xBB\xBF[GENERAL]\r\n")) << first.toStdString();
  EXPECT_TRUE(first.contains("[HEADER]\r\nline0=T\xC3\xADtulo ?\r\n")) << first.toStdString();
  Open();
  form->LoadExportOptions(utf8);
  form->SaveExportOptions(utf8);
  EXPECT_EQ(Bytes(utf8), first);
}

// Auto-load happens while the form starts, before the owner's header; auto-save when it
// closes, and a file that cannot be written is told while the form closes all the same.
TEST_F(OptionsFile, AutoLoadOnStartAndAutoSaveOnClose) {
  const std::string file = Path("auto.cfg");
  Write(file, "[GENERAL]\nExportType=8\n[HEADER]\nline0=from the file\n");
  dialog.OptionsFileName = file;
  dialog.AutoLoadOptions = true;
  dialog.OnGetHeader = [](QObject&, TStrings& lines) { lines.push_back("owner"); };
  Open();
  EXPECT_EQ(form->GetExportType(), aeCSV);
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), "from the file\nowner");

  dialog.AutoLoadOptions = false;
  dialog.OnGetHeader = nullptr;
  dialog.AutoSaveOptions = true;
  Open();
  Choose(aeTXT);
  form->show();
  form->reject();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(Bytes(file).contains("ExportType=7"));

  dialog.OptionsFileName = Path("missing/folder/auto.cfg");
  Open();
  form->show();
  const qsizetype asked = services.log.size();
  form->accept();
  EXPECT_FALSE(form->isVisible());
  ASSERT_EQ(services.log.size(), asked + 1);
  EXPECT_TRUE(services.log.last().startsWith("message|"));
}

// RTF base styles come back into their items and the strip styles become the file's, whatever
// the form held before.
TEST_F(OptionsFile, RTFStylesComeBackFromTheirSections) {
  dialog.RTFOptions.StripStyles.Add().Font.size = 18;
  dialog.RTFOptions.StripStyles.Add();
  Open();
  Choose(aeRTF);
  RTFItemStyle(List("lstRTFBaseStyles")->topLevelItem(2))->Font.size = 15;
  const std::string file = Path("rtf.cfg");
  form->SaveExportOptions(file);
  QStringList rtfSections;
  for (const QString& s : Sections(ParsedLayout(file)))
    if (s.startsWith("RTF_")) rtfSections << s;
  // The strip styles are named as everywhere else, by "ITEM_" and their number.
  EXPECT_EQ(rtfSections.join(' '),
            "RTF_STYLE_HEADER RTF_STYLE_CAPTION RTF_STYLE_DATA RTF_STYLE_FOOTER RTF_STRIP_STYLE_ITEM_0 "
            "RTF_STRIP_STYLE_ITEM_1");

  dialog.RTFOptions.StripStyles.Add();
  Open();
  ASSERT_EQ(List("lstRTFStripStyles")->topLevelItemCount(), 3);
  form->LoadExportOptions(file);
  QTreeWidget* strip = List("lstRTFStripStyles");
  ASSERT_EQ(strip->topLevelItemCount(), 2);
  EXPECT_EQ(strip->topLevelItem(1)->text(0), "ITEM_1");
  EXPECT_EQ(RTFItemStyle(strip->topLevelItem(0))->Font.size, 18);
  EXPECT_EQ(strip->currentItem(), strip->topLevelItem(0));
  EXPECT_EQ(RTFItemStyle(List("lstRTFBaseStyles")->topLevelItem(2))->Font.size, 15);
}

// The RTF style editor shows what a loaded file holds for the style it shows.
TEST_F(OptionsFile, TheRTFEditorShowsTheLoadedStyle) {
  Open();
  Choose(aeRTF);
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshRTF"));
  QTreeWidget* base = List("lstRTFBaseStyles");
  base->setCurrentItem(base->topLevelItem(0));
  auto* size = form->Control<QComboBox>("cbRTFFontSize");
  ASSERT_EQ(size->currentText(), "10");
  const std::string file = Path("rtf.cfg");
  Write(file, "[GENERAL]\nExportType=2\n[RTF_STYLE_HEADER]\nFontSize=15\n");
  form->LoadExportOptions(file);
  ASSERT_EQ(RTFItemStyle(base->topLevelItem(0))->Font.size, 15);
  EXPECT_EQ(size->currentText(), "15");
}
