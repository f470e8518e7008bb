// The export dialog's options file: every option of the form written to an INI file and read
// back. A file holds the common sections and the sections of the format chosen when it was
// saved; loading chooses that format first and then reads its sections. Keys a file lacks
// take the dialog component's values, and every number read is kept within what its option
// can take: the file may have been edited by hand. The spreadsheet's and RTF's item sections
// and the Tools menu are in form_options_items.cpp.
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "export/common_text.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_format_editor.h"
#include "export/ini_helpers.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/xls/xls_font.h"
#include "export/xls/xls_format.h"
#include "platform/color_text.h"
#include "platform/ini_file.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

constexpr char kGeneral[] = "GENERAL";
constexpr char kFormats[] = "FORMATS";
constexpr char kUserFormats[] = "USER_FORMATS";
constexpr char kFields[] = "FIELDS";
constexpr char kHeader[] = "HEADER";
constexpr char kFooter[] = "FOOTER";
constexpr char kCaptions[] = "CAPTIONS";
constexpr char kAlign[] = "ALIGN";
constexpr char kWidth[] = "WIDTH";

constexpr int kMaxWord = 65535;
constexpr int kMaxCaptionWidth = 32767;

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }
std::string Cp(const QString& text) { return platform::ToCp1252(text); }

QString CellText(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* cell = grid->item(row, column);
  return cell != nullptr ? cell->text() : QString();
}

// A value is one line in the file: a line break inside would end it there.
std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

int ReadBounded(const platform::IniFile& ini, const std::string& section, const std::string& key, int def, int low,
                int high) {
  return std::clamp(ini.ReadInteger(section, key, def), low, high);
}

// An ordinal of an enumeration of count values; the default when out of range.
int ReadOrdinal(const platform::IniFile& ini, const std::string& section, const std::string& key, int def, int count) {
  const int v = ini.ReadInteger(section, key, def);
  return v >= 0 && v < count ? v : def;
}

uint32_t ReadColor(const platform::IniFile& ini, const std::string& section, const std::string& key, uint32_t def) {
  uint32_t color = def;
  return platform::TryStringToColor(ini.ReadString(section, key, platform::ColorToString(def)), color) ? color : def;
}

// One decimal with "." whatever the locale, so that the file reads back anywhere.
std::string OneDecimal(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0.0");
}

// "." or the locale's decimal mark (files written where the mark is a comma); the default
// unless the text is a finite number within low..high.
double ReadSpacing(const platform::IniFile& ini, const std::string& section, const std::string& key, double def,
                   double low, double high) {
  std::string text = ini.ReadString(section, key, OneDecimal(def));
  const QString mark = QLocale().decimalPoint();
  if (mark.size() == 1 && mark[0] != QLatin1Char('.')) std::replace(text.begin(), text.end(), mark[0].toLatin1(), '.');
  const double value = StrToDblDef(text, def);
  return std::isfinite(value) ? std::clamp(value, low, high) : def;
}

TStrings MemoLines(const QPlainTextEdit* memo) {
  TStrings lines;
  if (memo == nullptr || memo->toPlainText().isEmpty()) return lines;
  for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'), Qt::KeepEmptyParts)) lines.push_back(Cp(line));
  return lines;
}

void WriteLines(platform::IniFile& ini, const std::string& section, const TStrings& lines) {
  for (size_t i = 0; i < lines.size(); ++i) ini.WriteString(section, "line" + std::to_string(i), OneLine(lines[i]));
}

bool HasAlign(TAllowedExport t) { return t == aeWord || t == aeRTF || t == aeHTML || t == aePDF || t == aeTXT; }
bool HasWidth(TAllowedExport t) { return t == aeXLS || t == aeWord || t == aeRTF || t == aePDF || t == aeTXT; }

void SaveFont(platform::IniFile& ini, const std::string& section, const TPDFFont& font) {
  ini.WriteInteger(section, "FontName", font.BaseFont);
  ini.WriteInteger(section, "FontEncoding", font.FontEncoding);
  ini.WriteInteger(section, "FontSize", font.FontSize);
  ini.WriteString(section, "FontColor", platform::ColorToString(font.FontColor));
}

void LoadFont(const platform::IniFile& ini, const std::string& section, const TPDFFont& def, TPDFFont& font) {
  font.BaseFont = static_cast<TPDFFontName>(ReadOrdinal(ini, section, "FontName", def.BaseFont, poZapfDingbats + 1));
  font.FontEncoding =
      static_cast<TPDFFontEncoding>(ReadOrdinal(ini, section, "FontEncoding", def.FontEncoding, poPDFDocEncoding + 1));
  font.FontSize = ReadBounded(ini, section, "FontSize", def.FontSize, 1, kPDFMaxFontSize);
  font.FontColor = ReadColor(ini, section, "FontColor", def.FontColor);
}

const char* const kPDFFontSections[] = {"PDF_OPTION_HEADER", "PDF_OPTION_CAPTION", "PDF_OPTION_DATA",
                                        "PDF_OPTION_FOOTER"};

}  // namespace

void TVantrix3DialogF::SaveExportOptions(const std::string& fileName) {
  platform::IniFile ini(fileName);
  platform::IniFile::UpdateScope scope(ini);
  ClearIniFile(ini);
  const TAllowedExport t = GetExportType();
  const TDialogFormOptions& o = opt_;
  auto* pages = Control<QTabWidget>("Pages");
  const auto shown = [&](const char* page) { return pages->isTabVisible(pages->indexOf(Control<QWidget>(page))); };

  std::string s = kGeneral;
  ini.WriteInteger(s, "ExportType", t);
  ini.WriteString(s, "FileName", o.FileName);
  ini.WriteBool(s, "ShowFile", o.ShowFile);
  ini.WriteBool(s, "PrintFile", o.PrintFile);
  ini.WriteBool(s, "GoToFirstRecord", o.GoToFirstRecord);
  ini.WriteBool(s, "ExportEmpty", o.ExportEmpty);
  ini.WriteBool(s, "CurrentRecordOnly", o.CurrentRecordOnly);
  ini.WriteInteger(s, "ExportRecCount", o.ExportRecCount);
  ini.WriteInteger(s, "SkipRecCount", o.SkipRecCount);
  ini.WriteBool(s, "AllowCaptions", o.AllowCaptions);
  ini.WriteInteger(s, "CaptionRow", o.CaptionRow);

  // The SQL page hides the formats page but still exports the null text, which lives here.
  if (shown("tshFormats") || t == aeSQL) {
    s = kFormats;
    const std::pair<const char*, const std::string*> formats[] = {
        {"Integer", &o.IntegerFmt},         {"Float", &o.FloatFmt},       {"Date", &o.DateFmt},
        {"Time", &o.TimeFmt},               {"DateTime", &o.DateTimeFmt}, {"Currency", &o.CurrencyFmt},
        {"BooleanTrue", &o.BooleanTrue},    {"BooleanFalse", &o.BooleanFalse}, {"NullString", &o.NullString},
    };
    for (const auto& [key, value] : formats) ini.WriteString(s, key, OneLine(*value));
  }
  if (shown("tshFormats")) {
    const auto* list = Control<QTreeWidget>("lstUserFormats");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      ini.WriteString(kUserFormats, Cp(list->topLevelItem(i)->text(0)), Cp(list->topLevelItem(i)->text(2)));
  }
  const auto* exported = Control<QTreeWidget>("lstExportedFields");
  for (int i = 0; i < exported->topLevelItemCount(); ++i)
    ini.WriteString(kFields, "field" + std::to_string(i), Cp(exported->topLevelItem(i)->text(0)));
  if (shown("tshHeaderFooter")) {
    WriteLines(ini, kHeader, MemoLines(Control<QPlainTextEdit>("memHeader")));
    WriteLines(ini, kFooter, MemoLines(Control<QPlainTextEdit>("memFooter")));
  }
  if (shown("tshCaptions")) {
    const auto* grid = Control<QTableWidget>("sgrCaptions");
    const int widthColumn = t == aeXLS ? 2 : 3;
    for (int row = 1; row < grid->rowCount(); ++row) {
      const std::string name = Cp(CellText(grid, row, 0));
      if (name.empty()) continue;
      ini.WriteString(kCaptions, name, Cp(CellText(grid, row, 1)));
      if (HasAlign(t)) ini.WriteString(kAlign, name, AlignmentName(CellText(grid, row, 2)));
      if (HasWidth(t)) ini.WriteInteger(kWidth, name, CellText(grid, row, widthColumn).trimmed().toInt());
    }
  }
  SaveFormatSections(ini, t);
  if (!scope.Commit()) throw EVantrixError("Cannot write the options file " + fileName + IniFileWriteReason(ini));
}

void TVantrix3DialogF::SaveFormatSections(platform::IniFile& ini, TAllowedExport t) {
  const TDialogFormOptions& o = opt_;
  std::string s;
  switch (t) {
    case aeXLS: {
      s = "XLS";
      ini.WriteString(s, "PageHeader", o.XLSPageHeader);
      ini.WriteString(s, "PageFooter", o.XLSPageFooter);
      ini.WriteString(s, "SheetTitle", o.XLSSheetTitle);
      ini.WriteInteger(s, "StripType", o.XLSStripType);
      ini.WriteBool(s, "AutoCalcColWidth", o.XLSAutoCalcColWidth);
      ini.WriteString(s, "PageBackground", o.XLSPageBackground);
      SaveXLSItems(ini);
      break;
    }
    case aeWord:
    case aeRTF: {
      s = "RTF";
      ini.WriteInteger(s, "PageOrientation", o.RTFPageOrientation);
      ini.WriteInteger(s, "StripType", o.RTFStripType);
      SaveRTFItems(ini);
      break;
    }
    case aeHTML: {
      s = "HTML";
      ini.WriteString(s, "Title", o.HTMLTitle);
      ini.WriteInteger(s, "CSS", o.HTMLUsingCSS);
      ini.WriteString(s, "CSSFile", o.HTMLCSSFileName);
      ini.WriteBool(s, "OverwriteCSSFile", o.HTMLOverwriteCSSFile);
      // A count kept while multi-file export is off would switch it back on when loaded.
      ini.WriteInteger(s, "FileRecCount", o.HTMLUseMultiFileExport ? o.HTMLFileRecCount : 0);
      ini.WriteBool(s, "GenerateIndex", o.HTMLGenerateIndex);
      ini.WriteString(s, "IndexLinkTemplate", o.HTMLIndexLinkTemplate);
      ini.WriteBool(s, "NavigationOnTop", o.HTMLNavigationOnTop);
      ini.WriteBool(s, "NavigationOnBottom", o.HTMLNavigationOnBottom);
      const std::pair<const char*, const std::string*> texts[] = {
          {"IndexLinkTitle", &o.HTMLIndexLinkTitle}, {"FirstLinkTitle", &o.HTMLFirstLinkTitle},
          {"PriorLinkTitle", &o.HTMLPriorLinkTitle}, {"NextLinkTitle", &o.HTMLNextLinkTitle},
          {"LastLinkTitle", &o.HTMLLastLinkTitle},   {"FontName", &o.HTMLFontName},
          {"BackgroundFile", &o.HTMLBackground},     {"BodyAdvanced", &o.HTMLBodyAdvanced}};
      for (const auto& [key, value] : texts) ini.WriteString(s, key, OneLine(*value));
      ini.WriteInteger(s, "CellPadding", o.HTMLCellPadding);
      ini.WriteInteger(s, "CellSpacing", o.HTMLCellSpacing);
      ini.WriteInteger(s, "BorderWidth", o.HTMLBorderWidth);
      ini.WriteString(s, "TableBackground", o.HTMLTableBackground);
      ini.WriteString(s, "TableAdvanced", OneLine(o.HTMLTableAdvanced));
      const std::pair<const char*, uint32_t> colors[] = {
          {"BackgroundColor", o.HTMLBackgroundColor},
          {"FontColor", o.HTMLFontColor},
          {"HeadBackgroundColor", o.HTMLHeadBackgroundColor},
          {"HeadFontColor", o.HTMLHeadFontColor},
          {"OddRowBackgroundColor", o.HTMLOddRowBackgroundColor},
          {"EvenRowBackgroundColor", o.HTMLEvenRowBackgroundColor},
          {"DataFontColor", o.HTMLDataFontColor},
          {"LinkColor", o.HTMLLinkColor},
          {"VLinkColor", o.HTMLVLinkColor},
          {"ALinkColor", o.HTMLALinkColor}};
      for (const auto& [key, color] : colors) ini.WriteString(s, key, platform::ColorToString(color));
      break;
    }
    case aeXML:
      ini.WriteBool("XML", "Standalone", o.XMLStandalone);
      ini.WriteString("XML", "Encoding", o.XMLEncoding);
      break;
    case aePDF: {
      s = "PDF";
      const TPDFOptions& pdf = PDFExp().Options();
      const TVantrixPDFPageOptions& page = pdf.PageOptions;
      ini.WriteString(s, "ColSpacing", OneDecimal(pdf.ColSpacing));
      ini.WriteString(s, "RowSpacing", OneDecimal(pdf.RowSpacing));
      ini.WriteInteger(s, "GridLineWidth", pdf.GridLineWidth);
      ini.WriteInteger(s, "PageFormat", page.Format());
      ini.WriteInteger(s, "PageUnits", page.Units());
      ini.WriteInteger(s, "PageOrientation", page.Orientation());
      ini.WriteInteger(s, "PageWidth", page.WidthDots());
      ini.WriteInteger(s, "PageHeight", page.HeightDots());
      ini.WriteInteger(s, "PageMarginLeft", page.MarginLeftDots());
      ini.WriteInteger(s, "PageMarginRight", page.MarginRightDots());
      ini.WriteInteger(s, "PageMarginTop", page.MarginTopDots());
      ini.WriteInteger(s, "PageMarginBottom", page.MarginBottomDots());
      const TPDFFont* fonts[] = {&pdf.HeaderFont, &pdf.CaptionFont, &pdf.DataFont, &pdf.FooterFont};
      for (int i = 0; i < 4; ++i) SaveFont(ini, kPDFFontSections[i], *fonts[i]);
      break;
    }
    case aeTXT:
      ini.WriteBool("TXT", "AutoCalcColWidth", o.TXTAutoCalcColWidth);
      ini.WriteInteger("TXT", "Spacing", o.TXTSpacing);
      break;
    case aeCSV:
      ini.WriteBool("CSV", "QuoteStrings", o.CSVQuoteStrings);
      ini.WriteString("CSV", "Comma", Char2Str(o.CSVComma));
      ini.WriteString("CSV", "Quote", Char2Str(o.CSVQuote));
      break;
    case aeSQL:
      s = "SQL";
      ini.WriteString(s, "TableName", o.SQLTableName);
      ini.WriteBool(s, "CreateTable", o.SQLCreateTable);
      ini.WriteInteger(s, "CommitRecCount", o.SQLCommitRecCount);
      ini.WriteBool(s, "CommitAfterScript", o.SQLCommitAfterScript);
      ini.WriteString(s, "CommitStatement", o.SQLCommitStatement);
      ini.WriteString(s, "StatementTerm", o.SQLStatementTerm);
      break;
    default:
      break;
  }
}

void TVantrix3DialogF::NoteFileRead(const std::string& fileName) {
  if (std::find(filesRead_.begin(), filesRead_.end(), fileName) == filesRead_.end()) filesRead_.push_back(fileName);
}

void TVantrix3DialogF::LoadExportOptions(const std::string& fileName) {
  NoteFileRead(fileName);
  platform::IniFile file(fileName);
  // Before anything changes: a file that cannot be read (UTF-16 text among them) is told.
  CheckIniFileReadable(file);
  // Read as it is now: outside a scope every read looks again whether the file changed.
  const platform::IniFile::UpdateScope asReadNow(file);
  const platform::IniFile& ini = file;
  const TVantrix3Dialog& d = dialog_;
  const TDialogFormOptions& o = opt_;

  // 1. The common options; the format first, so that its pages and grid are there.
  std::string s = kGeneral;
  SetExportType(static_cast<TAllowedExport>(ReadOrdinal(ini, s, "ExportType", aeXLS, kAllowedExportCount)));
  rgExportTypeClick();
  // After the format: choosing it changes the extension, and the name saved is the one meant.
  SetFileName(ini.ReadString(s, "FileName", d.FileName));
  ShowTitle();
  SetShowFile(ini.ReadBool(s, "ShowFile", d.ShowFile));
  SetPrintFile(ini.ReadBool(s, "PrintFile", d.PrintFile));
  SetGoToFirstRecord(ini.ReadBool(s, "GoToFirstRecord", d.GoToFirstRecord));
  SetExportEmpty(ini.ReadBool(s, "ExportEmpty", d.ExportEmpty));
  SetCurrentRecordOnly(ini.ReadBool(s, "CurrentRecordOnly", d.CurrentRecordOnly));
  SetExportRecCount(ReadBounded(ini, s, "ExportRecCount", d.ExportRecCount, 0, INT32_MAX));
  SetSkipRecCount(ReadBounded(ini, s, "SkipRecCount", d.SkipRecCount, 0, INT32_MAX));
  SetAllowCaptions(ini.ReadBool(s, "AllowCaptions", d.AllowCaptions));
  SetCaptionRow(ReadBounded(ini, s, "CaptionRow", d.CaptionRow, -1, INT32_MAX));
  ShowButtons();

  // 2. The standard formats, each defaulting to the dialog's.
  ResetStandardFormats();
  s = kFormats;
  SetIntegerFmt(ini.ReadString(s, "Integer", o.IntegerFmt));
  SetFloatFmt(ini.ReadString(s, "Float", o.FloatFmt));
  SetDateFmt(ini.ReadString(s, "Date", o.DateFmt));
  SetTimeFmt(ini.ReadString(s, "Time", o.TimeFmt));
  SetDateTimeFmt(ini.ReadString(s, "DateTime", o.DateTimeFmt));
  SetCurrencyFmt(ini.ReadString(s, "Currency", o.CurrencyFmt));
  SetBooleanTrue(ini.ReadString(s, "BooleanTrue", o.BooleanTrue));
  SetBooleanFalse(ini.ReadString(s, "BooleanFalse", o.BooleanFalse));
  SetNullString(ini.ReadString(s, "NullString", o.NullString));

  // 3. User formats of the source's columns only.
  {
    auto* list = Control<QTreeWidget>("lstUserFormats");
    const QSignalBlocker block(list);
    list->clear();
    const TVantrixColumns& columns = d.Columns();
    QHash<QString, int> columnsNamed;  // how many columns have each name, without regard to case
    for (int c = 0; c < columns.Count(); ++c) ++columnsNamed[platform::FromCp1252(columns[c].Name).toCaseFolded()];
    for (const std::string& key : ini.ReadSection(kUserFormats)) {
      const QString name = platform::FromCp1252(key);
      for (int c = columnsNamed.value(name.toCaseFolded()); c > 0; --c) {
        QTreeWidgetItem* item = AddListItem(list, name, 2, nullptr);
        item->setText(1, QStringLiteral("="));
        item->setText(2, platform::FromCp1252(ini.ReadString(kUserFormats, key, "")));
      }
    }
    ShowFormatButtons();
  }

  // 4. The exported fields in the file's order; a name the source lacks, or one already
  // moved, is skipped.
  bDelAllExportedFieldClick();
  {
    QStringList names;
    for (const std::string& key : ini.ReadSection(kFields)) names << platform::FromCp1252(ini.ReadString(kFields, key, ""));
    ExportFieldsNamed(names);
  }

  // 5. Header and footer.
  for (const char* name : {kHeader, kFooter}) {
    auto* memo = Control<QPlainTextEdit>(name == kHeader ? "memHeader" : "memFooter");
    QStringList lines;
    for (const std::string& key : ini.ReadSection(name)) lines << platform::FromCp1252(ini.ReadString(name, key, ""));
    const QSignalBlocker block(memo);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
  }

  // 6-8. The captions grid. A section the file lacks leaves its column as it is: a file saved
  // for another format (or by hand) would otherwise blank every caption and width. The widths
  // and alignments of the columns the file does not name stay too (every column would become
  // left-aligned, or 0 wide and so left out of a text file), and so does a width the file holds
  // but that is no width (not a number, empty, negative or beyond any integer).
  {
    const TAllowedExport t = GetExportType();
    auto* grid = Control<QTableWidget>("sgrCaptions");
    const QSignalBlocker block(grid);
    CaptionIndex rows;
    for (int row = 1; row < grid->rowCount(); ++row) rows.Add(CellText(grid, row, 0), row);
    const auto rowOf = [&rows](const std::string& key) { return rows.Find(platform::FromCp1252(key)); };
    // convert gives the cell's text, or nothing to leave the cell as it is.
    const auto load = [&](const char* section, int column, const QString* blank, auto convert) {
      if (!IniFileSectionExists(ini, section)) return;
      for (int row = 1; blank != nullptr && row < grid->rowCount(); ++row) SetGridCell(grid, row, column, *blank);
      for (const std::string& key : ini.ReadSection(section))
        if (const int row = rowOf(key); row > 0)
          if (const std::optional<QString> text = convert(section, key)) SetGridCell(grid, row, column, *text);
    };
    const QString noCaption;
    load(kCaptions, 1, &noCaption, [&](const char* section, const std::string& key) -> std::optional<QString> {
      return platform::FromCp1252(ini.ReadString(section, key, ""));
    });
    if (HasWidth(t))
      load(kWidth, t == aeXLS ? 2 : 3, nullptr, [&](const char* section, const std::string& key) -> std::optional<QString> {
        const int width = ini.ReadInteger(section, key, -1);
        if (width < 0) return std::nullopt;
        return QString::number(std::min(width, kMaxCaptionWidth));
      });
    if (HasAlign(t)) {
      const QString captions[] = {Str(34113), Str(34115), Str(34114)};
      load(kAlign, 2, nullptr, [&](const char* section, const std::string& key) -> std::optional<QString> {
        const std::string name = ini.ReadString(section, key, "Left");
        for (const QString& caption : captions)
          if (QString::fromStdString(AlignmentName(caption)).compare(platform::FromCp1252(name), Qt::CaseInsensitive) == 0)
            return caption;
        return captions[0];
      });
    }
  }

  // 9. The chosen format's own sections. The strip styles they replace are freed here, or
  // every load would keep the old ones until the form closes.
  LoadFormatSections(ini, GetExportType());
  ReleaseUnusedStyles();
  // The lists were refilled with their signals held: the format editor shows what they hold now.
  if (xlsFormatEditor_ != nullptr) xlsFormatEditor_->ShowCurrent();
}

void TVantrix3DialogF::LoadFormatSections(const platform::IniFile& ini, TAllowedExport t) {
  const TVantrix3Dialog& d = dialog_;
  std::string s;
  switch (t) {
    case aeXLS: {
      s = "XLS";
      const TVantrixXLSOptions& xls = d.XLSOptions;
      SetXLSPageHeader(ini.ReadString(s, "PageHeader", xls.PageHeader));
      SetXLSPageFooter(ini.ReadString(s, "PageFooter", xls.PageFooter));
      SetXLSSheetTitle(ini.ReadString(s, "SheetTitle", xls.SheetTitle()));
      SetXLSStripType(ReadOrdinal(ini, s, "StripType", xls.StripType, 3));
      SetXLSAutoCalcColWidth(ini.ReadBool(s, "AutoCalcColWidth", xls.AutoCalcColWidth));
      SetXLSPageBackground(ini.ReadString(s, "PageBackground", xls.PageBackground));
      LoadXLSItems(ini);
      break;
    }
    case aeWord:
    case aeRTF:
      SetRTFPageOrientation(ReadOrdinal(ini, "RTF", "PageOrientation", d.RTFOptions.PageOrientation, 2));
      SetRTFStripType(ReadOrdinal(ini, "RTF", "StripType", d.RTFOptions.StripType, 3));
      LoadRTFItems(ini);
      break;
    case aeHTML: {
      s = "HTML";
      if (auto* templates = Control<QComboBox>("cbxHTMLTemplate"); templates != nullptr && templates->count() > 0) {
        const QSignalBlocker block(templates);
        templates->setCurrentIndex(0);
      }
      const TVantrixHTMLPageOptions& page = d.HTMLPageOptions;
      const TVantrixHTMLMultiFileOptions& multi = d.HTMLMultiFileOptions;
      const TVantrixHTMLTableOptions& table = d.HTMLTableOptions;
      const auto joined = [](const TStrings& lines) {
        std::string out;
        for (size_t i = 0; i < lines.size(); ++i) out += (i > 0 ? "\n" : "") + lines[i];
        return OneLine(out);
      };
      SetHTMLTitle(ini.ReadString(s, "Title", page.Title));
      SetHTMLUsingCSS(ReadOrdinal(ini, s, "CSS", page.UsingCSS == usExternal ? 1 : 0, 2));
      SetHTMLCSSFileName(ini.ReadString(s, "CSSFile", page.CSSFileName));
      SetHTMLOverwriteCSSFile(ini.ReadBool(s, "OverwriteCSSFile", page.OverwriteCSSFile));
      const int count = ReadBounded(ini, s, "FileRecCount", multi.FileRecCount, 0, INT32_MAX);
      SetHTMLFileRecCount(count);
      SetHTMLUseMultiFileExport(count > 0);
      SetHTMLGenerateIndex(ini.ReadBool(s, "GenerateIndex", multi.GenerateIndex));
      SetHTMLIndexLinkTemplate(ini.ReadString(s, "IndexLinkTemplate", multi.IndexLinkTemplate));
      SetHTMLNavigationOnTop(ini.ReadBool(s, "NavigationOnTop", multi.NavigationOnTop));
      SetHTMLNavigationOnBottom(ini.ReadBool(s, "NavigationOnBottom", multi.NavigationOnBottom));
      SetHTMLIndexLinkTitle(ini.ReadString(s, "IndexLinkTitle", multi.IndexLinkTitle));
      SetHTMLFirstLinkTitle(ini.ReadString(s, "FirstLinkTitle", multi.FirstLinkTitle));
      SetHTMLPriorLinkTitle(ini.ReadString(s, "PriorLinkTitle", multi.PriorLinkTitle));
      SetHTMLNextLinkTitle(ini.ReadString(s, "NextLinkTitle", multi.NextLinkTitle));
      SetHTMLLastLinkTitle(ini.ReadString(s, "LastLinkTitle", multi.LastLinkTitle));
      SetHTMLFontName(ini.ReadString(s, "FontName", page.TextFont.name));
      SetHTMLBackground(ini.ReadString(s, "BackgroundFile", page.BackgroundFileName));
      SetHTMLBodyAdvanced(ini.ReadString(s, "BodyAdvanced", joined(page.AdvancedAttributes)));
      SetHTMLCellPadding(ReadBounded(ini, s, "CellPadding", table.CellPadding, 0, kMaxWord));
      SetHTMLCellSpacing(ReadBounded(ini, s, "CellSpacing", table.CellSpacing, 0, kMaxWord));
      SetHTMLBorderWidth(ReadBounded(ini, s, "BorderWidth", table.BorderWidth, 0, kMaxWord));
      SetHTMLTableBackground(ini.ReadString(s, "TableBackground", table.BackgroundFileName));
      SetHTMLTableAdvanced(ini.ReadString(s, "TableAdvanced", joined(table.AdvancedAttributes)));
      HTMLUpdateMultifileControls();
      SetHTMLBackgroundColor(ReadColor(ini, s, "BackgroundColor", page.BackgroundColor));
      SetHTMLFontColor(ReadColor(ini, s, "FontColor", page.TextFont.color));
      SetHTMLHeadBackgroundColor(ReadColor(ini, s, "HeadBackgroundColor", table.HeadersRowBgColor));
      SetHTMLHeadFontColor(ReadColor(ini, s, "HeadFontColor", table.HeadersRowFontColor));
      SetHTMLOddRowBackgroundColor(ReadColor(ini, s, "OddRowBackgroundColor", table.OddRowBgColor));
      SetHTMLEvenRowBackgroundColor(ReadColor(ini, s, "EvenRowBackgroundColor", table.TableBgColor));
      SetHTMLDataFontColor(ReadColor(ini, s, "DataFontColor", table.TableFontColor));
      SetHTMLLinkColor(ReadColor(ini, s, "LinkColor", page.LinkColor));
      SetHTMLVLinkColor(ReadColor(ini, s, "VLinkColor", page.VLinkColor));
      SetHTMLALinkColor(ReadColor(ini, s, "ALinkColor", page.ALinkColor));
      break;
    }
    case aeXML:
      SetXMLStandalone(ini.ReadBool("XML", "Standalone", d.XMLOptions.Standalone));
      SetXMLEncoding(ini.ReadString("XML", "Encoding", d.XMLOptions.Encoding));
      break;
    case aePDF:
      LoadPDFSections(ini);
      break;
    case aeTXT:
      SetTXTAutoCalcColWidth(ini.ReadBool("TXT", "AutoCalcColWidth", d.TXTOptions.AutoCalcColWidth));
      SetTXTSpacing(ReadBounded(ini, "TXT", "Spacing", d.TXTOptions.ColSpacing, 0, 255));
      break;
    case aeCSV: {
      SetCSVQuoteStrings(ini.ReadBool("CSV", "QuoteStrings", d.CSVOptions.QuoteStrings));
      // A text that names no character keeps the dialog's.
      const auto character = [&ini](const char* key, char def) {
        const std::string text = ini.ReadString("CSV", key, Char2Str(def));
        const char c = Str2Char(text);
        return c != 0 || text == "#0" ? c : def;
      };
      SetCSVComma(character("Comma", d.CSVOptions.Comma));
      SetCSVQuote(character("Quote", d.CSVOptions.Quote));
      break;
    }
    case aeSQL: {
      s = "SQL";
      const TVantrixSQLOptions& sql = d.SQLOptions;
      SetSQLTableName(ini.ReadString(s, "TableName", sql.TableName));
      SetSQLCreateTable(ini.ReadBool(s, "CreateTable", sql.CreateTable));
      SetSQLCommitRecCount(ReadBounded(ini, s, "CommitRecCount", sql.CommitRecCount, 0, INT32_MAX));
      SetSQLCommitAfterScript(ini.ReadBool(s, "CommitAfterScript", sql.CommitAfterScript));
      SetSQLCommitStatement(ini.ReadString(s, "CommitStatement", sql.CommitStatement));
      SetSQLStatementTerm(
          ini.ReadString(s, "StatementTerm", sql.StatementTerm == 0 ? std::string() : std::string(1, sql.StatementTerm)));
      break;
    }
    default:
      break;
  }
}

// The page is built afresh from the file's values in dots, so that the saved size and margins
// come back whatever orientation and unit the form had before.
void TVantrix3DialogF::LoadPDFSections(const platform::IniFile& ini) {
  const TVantrixPDFOptions& dp = dialog_.PDFOptions;
  const TVantrixPDFPageOptions& dpage = dp.PageOptions;
  TPDFOptions& pdf = PDFExp().Options();
  const std::string s = "PDF";
  pdf.ColSpacing = ReadSpacing(ini, s, "ColSpacing", pdf.ColSpacing, 0.0, kPDFMaxSpacing);
  pdf.RowSpacing = ReadSpacing(ini, s, "RowSpacing", pdf.RowSpacing, 0.0, kPDFMaxSpacing);
  pdf.GridLineWidth = ReadBounded(ini, s, "GridLineWidth", dp.GridLineWidth, 0, kPDFMaxGridLineWidth);
  const auto format = static_cast<TVantrixPageFormat>(ReadOrdinal(ini, s, "PageFormat", dpage.Format(), pfUser + 1));
  const auto units = static_cast<TVantrixUnits>(ReadOrdinal(ini, s, "PageUnits", dpage.Units(), unDot + 1));
  const auto orientation =
      static_cast<TVantrixPageOrientation>(ReadOrdinal(ini, s, "PageOrientation", dpage.Orientation(), 2));
  TVantrixPDFPageOptions page;
  page.SetUnits(unDot);
  page.SetOrientation(poPortrait);
  page.SetFormat(format);
  page.SetOrientation(orientation);
  if (format == pfUser) {
    page.SetWidth(ReadBounded(ini, s, "PageWidth", dpage.WidthDots(), 1, kPDFMaxPageDots));
    page.SetHeight(ReadBounded(ini, s, "PageHeight", dpage.HeightDots(), 1, kPDFMaxPageDots));
  }
  page.SetMarginLeft(ReadBounded(ini, s, "PageMarginLeft", dpage.MarginLeftDots(), 0, kPDFMaxPageDots));
  page.SetMarginRight(ReadBounded(ini, s, "PageMarginRight", dpage.MarginRightDots(), 0, kPDFMaxPageDots));
  page.SetMarginTop(ReadBounded(ini, s, "PageMarginTop", dpage.MarginTopDots(), 0, kPDFMaxPageDots));
  page.SetMarginBottom(ReadBounded(ini, s, "PageMarginBottom", dpage.MarginBottomDots(), 0, kPDFMaxPageDots));
  page.SetUnits(units);
  pdf.PageOptions.Assign(page);
  const TPDFFont* defaults[] = {&dp.HeaderFont, &dp.CaptionFont, &dp.DataFont, &dp.FooterFont};
  TPDFFont* fonts[] = {&pdf.HeaderFont, &pdf.CaptionFont, &pdf.DataFont, &pdf.FooterFont};
  for (int i = 0; i < 4; ++i) LoadFont(ini, kPDFFontSections[i], *defaults[i], *fonts[i]);
  // The PDF page shows what was loaded.
  PDFShowOptions();
  PDFShowFontInfo();
}

}  // namespace vantrix
