// Running an export from the dialog form: the chosen format's exporter gets every option the
// form holds, the form's relays pass its events on to the dialog and post progress to the
// progress window, and the start handler returns when the run and its window are done.
#include <QCoreApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <stdexcept>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/list_items.h"
#include "export/dialog/progress_window.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_clipboard.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_utils.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

std::string Cp(const QString& text) { return platform::ToCp1252(text); }

TStrings MemoLines(const QPlainTextEdit* memo) {
  TStrings lines;
  if (memo->toPlainText().isEmpty()) return lines;
  for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) lines.push_back(Cp(line));
  return lines;
}

TStrings SplitLines(const std::string& text) {
  TStrings lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

// A cell the grid's layout lacks counts as empty.
QString CellText(const QTableWidget* grid, int row, int column) {
  if (column >= grid->columnCount()) return {};
  const QTableWidgetItem* cell = grid->item(row, column);
  return cell == nullptr ? QString() : cell->text();
}

// Ends a local event loop when the progress window is hidden (closed by its button or by the
// close code).
class HideWatcher : public QObject {
 public:
  HideWatcher(QObject* watched, QEventLoop& loop) : loop_(loop) { watched->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide) loop_.quit();
    return false;
  }

 private:
  QEventLoop& loop_;
};

}  // namespace

std::string TVantrix3DialogF::AlignmentName(const QString& text) const {
  const int index = Control<QComboBox>("cbxColumnAlign")->findText(text);
  if (index == 1) return "Center";
  if (index == 2) return "Right";
  return "Left";
}

void TVantrix3DialogF::CopyOptionsInto(TAllowedExport format) {
  switch (format) {
    case aeXLS: {
      TVantrix3XLS& x = XLSExp();
      // Decoded, not widened byte by byte: a letter above 127 would become another character.
      x.Options.PageHeader = Cp1252ToWide(opt_.XLSPageHeader);
      x.Options.PageFooter = Cp1252ToWide(opt_.XLSPageFooter);
      x.Options.SetSheetTitle(opt_.XLSSheetTitle);
      x.StripType = static_cast<TxlsStripType>(opt_.XLSStripType);
      x.AutoCalcColWidth = opt_.XLSAutoCalcColWidth;
      if (x.Background.FileName() != opt_.XLSPageBackground) x.Background.SetFileName(opt_.XLSPageBackground);
      CopyXLSLists();
      CopyExtensionTree(x);
      currentExp_ = &x;
      break;
    }
    case aeWord:
    case aeRTF: {
      TRTFOptions& r = RTFExp().Options();
      r.PageOrientation = static_cast<TVantrixPageOrientation>(opt_.RTFPageOrientation);
      r.StripType = static_cast<TrtfStripType>(opt_.RTFStripType);
      auto* base = Control<QTreeWidget>("lstRTFBaseStyles");
      TrtfStyle* targets[] = {&r.HeaderStyle, &r.CaptionStyle, &r.DataStyle, &r.FooterStyle};
      for (int i = 0; i < 4 && i < base->topLevelItemCount(); ++i)
        if (auto* style = ItemObjectAs<TrtfStyle>(base->topLevelItem(i))) targets[i]->Assign(*style);
      r.StripStyles.Clear();
      auto* strip = Control<QTreeWidget>("lstRTFStripStyles");
      for (int i = 0; i < strip->topLevelItemCount(); ++i)
        if (auto* style = ItemObjectAs<TrtfStyle>(strip->topLevelItem(i))) r.StripStyles.Add().Assign(*style);
      currentExp_ = &RTFExp();
      break;
    }
    case aeHTML: {
      TVantrix3HTML& h = HTMLExp();
      h.Title = opt_.HTMLTitle;
      h.UsingCSS = opt_.HTMLUsingCSS == 1 ? usExternal : usInternal;
      h.CSSFileName = opt_.HTMLCSSFileName;
      h.OverwriteCSSFile = opt_.HTMLOverwriteCSSFile;
      h.SetMaxRecords(opt_.HTMLUseMultiFileExport ? opt_.HTMLFileRecCount : 0);
      h.GenerateIndex = opt_.HTMLGenerateIndex;
      h.Navigation.IndexLinkTemplate = opt_.HTMLIndexLinkTemplate;
      h.Navigation.OnTop = opt_.HTMLNavigationOnTop;
      h.Navigation.OnBottom = opt_.HTMLNavigationOnBottom;
      h.Navigation.IndexLinkTitle = opt_.HTMLIndexLinkTitle;
      h.Navigation.FirstLinkTitle = opt_.HTMLFirstLinkTitle;
      h.Navigation.PriorLinkTitle = opt_.HTMLPriorLinkTitle;
      h.Navigation.NextLinkTitle = opt_.HTMLNextLinkTitle;
      h.Navigation.LastLinkTitle = opt_.HTMLLastLinkTitle;
      h.HTMLOptions.TextFont.name = opt_.HTMLFontName;
      h.HTMLOptions.BackgroundFileName = opt_.HTMLBackground;
      h.HTMLOptions.AdvancedAttributes = SplitLines(opt_.HTMLBodyAdvanced);
      h.TableOptions.CellPadding = opt_.HTMLCellPadding;
      h.TableOptions.CellSpacing = opt_.HTMLCellSpacing;
      h.TableOptions.Border = opt_.HTMLBorderWidth;
      h.TableOptions.BackgroundFileName = opt_.HTMLTableBackground;
      h.TableOptions.AdvancedAttributes = SplitLines(opt_.HTMLTableAdvanced);
      h.HTMLOptions.BackgroundColor = opt_.HTMLBackgroundColor;
      h.HTMLOptions.TextFont.color = opt_.HTMLFontColor;
      h.TableOptions.HeadersRowBgColor = opt_.HTMLHeadBackgroundColor;
      h.TableOptions.HeadersRowFontColor = opt_.HTMLHeadFontColor;
      h.TableOptions.OddRowBgColor = opt_.HTMLOddRowBackgroundColor;
      h.TableOptions.TableBgColor = opt_.HTMLEvenRowBackgroundColor;
      h.TableOptions.TableFontColor = opt_.HTMLDataFontColor;
      h.HTMLOptions.LinkColor = opt_.HTMLLinkColor;
      h.HTMLOptions.VLinkColor = opt_.HTMLVLinkColor;
      h.HTMLOptions.ALinkColor = opt_.HTMLALinkColor;
      currentExp_ = &h;
      break;
    }
    case aeXML:
      XMLExp().Options().StandAlone = opt_.XMLStandalone;
      XMLExp().Options().Encoding = opt_.XMLEncoding;
      currentExp_ = &XMLExp();
      break;
    case aeDBF:
      currentExp_ = &DBFExp();
      break;
    case aePDF:
      // The page was copied whole, in dots with its unit, when the form started.
      // A page with no room inside its margins would be written with an inverted table box,
      // one too small with a box a reader replaces: refused before the run.
      if (const std::string problem = PDFPageProblem(); !problem.empty()) throw std::runtime_error(problem);
      currentExp_ = &PDFExp();
      break;
    case aeTXT:
      ASCIIExp().SetExportType(etTXT);
      ASCIIExp().AutoCalcColWidth = opt_.TXTAutoCalcColWidth;
      ASCIIExp().TXTSpacing = opt_.TXTSpacing;
      currentExp_ = &ASCIIExp();
      break;
    case aeCSV:
      ASCIIExp().SetExportType(etCSV);
      ASCIIExp().CSVQuoteStrings = opt_.CSVQuoteStrings;
      ASCIIExp().CSVComma = opt_.CSVComma;
      ASCIIExp().CSVQuote = opt_.CSVQuote;
      currentExp_ = &ASCIIExp();
      break;
    case aeDIFF:
      ASCIIExp().SetExportType(etDIF);
      currentExp_ = &ASCIIExp();
      break;
    case aeSylk:
      ASCIIExp().SetExportType(etSYLK);
      currentExp_ = &ASCIIExp();
      break;
    case aeLaTeX:
      currentExp_ = &LaTeXExp();
      break;
    case aeSQL: {
      TVantrix3SQL& s = SQLExp();
      std::string table = opt_.SQLTableName;
      // A name the user types may name its schema; one made from the file name is one name,
      // its dots part of it.
      s.QualifiedTableName = !table.empty();
      if (table.empty()) {
        // The destination's name without its folder and its extension.
        const size_t slash = opt_.FileName.find_last_of('/');
        table = slash == std::string::npos ? opt_.FileName : opt_.FileName.substr(slash + 1);
        const size_t dot = table.find_last_of('.');
        if (dot != std::string::npos) table.erase(dot);
        // The name is spelt as the file system does; the script is code page 1252 text.
        table = Cp(QFile::decodeName(QByteArray::fromStdString(table)).toUpper());
      }
      s.TableName = table;
      s.CreateTable = opt_.SQLCreateTable;
      s.CommitRecCount = opt_.SQLCommitRecCount;
      s.CommitAfterScript = opt_.SQLCommitAfterScript;
      s.CommitStatement = opt_.SQLCommitStatement;
      if (!opt_.SQLStatementTerm.empty()) s.StatementTerm = opt_.SQLStatementTerm[0];
      currentExp_ = &s;
      break;
    }
    case aeClipboard:
      currentExp_ = &ClipExp();
      break;
  }
}

// The spreadsheet's fixed formats, field formats and strip styles from the form's lists.
void TVantrix3DialogF::CopyXLSLists() {
  TVantrix3XLS& x = XLSExp();
  auto* options = Control<QTreeWidget>("lstXLSOptions");
  TxlsFormat* fixed[] = {&x.Options.HeaderFormat, &x.Options.CaptionsFormat, &x.Options.AggregateFormat,
                         &x.Options.FooterFormat, &x.Options.HyperlinkFormat};
  for (int i = 0; i < 5 && i < options->topLevelItemCount(); ++i)
    if (auto* format = dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(options->topLevelItem(i))))
      fixed[i]->Assign(*format);

  x.FieldFormats.Clear();
  const auto* exported = Control<QTreeWidget>("lstExportedFields");
  const auto* used = exported->topLevelItemCount() > 0 ? exported : Control<QTreeWidget>("lstAvailableFields");
  const auto* fields = Control<QTreeWidget>("lstXLSFields");
  for (int f = 0; f < used->topLevelItemCount(); ++f) {
    const QString field = used->topLevelItem(f)->text(0);
    for (int i = 0; i < fields->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = fields->topLevelItem(i);
      if (item->text(0).compare(field, Qt::CaseInsensitive) != 0) continue;
      auto* format = dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(item));
      if (format == nullptr) continue;
      // Assigned first and named after: assigning copies the item's name, which a reset
      // empties, and a field format without its field's name is never used.
      TxlsFieldFormat& added = x.FieldFormats.Add();
      added.Assign(*format);
      added.FieldName = Cp(item->text(0));
    }
  }
  x.StripStyles.Clear();
  auto* styles = Control<QTreeWidget>("lstXLSStyles");
  for (int i = 0; i < styles->topLevelItemCount(); ++i)
    if (auto* format = dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(styles->topLevelItem(i))))
      x.StripStyles.Add().Assign(*format);
}

void TVantrix3DialogF::CopyCommonOptions() {
  TVantrix3& e = *currentExp_;
  const TVantrix3Dialog& d = dialog_;
  e.AutoCalcStrType = d.AutoCalcStrType;
  e.GoToFirstRecord = opt_.GoToFirstRecord;
  e.CurrentRecordOnly = opt_.CurrentRecordOnly;
  e.ExportEmpty = opt_.ExportEmpty;
  e.ExportRecCount = opt_.ExportRecCount;
  e.SkipRecCount = opt_.SkipRecCount;
  e.Header = MemoLines(Control<QPlainTextEdit>("memHeader"));
  e.Footer = MemoLines(Control<QPlainTextEdit>("memFooter"));

  // The fields: the chosen ones in their order, or every available one but blobs.
  e.ExportedFields.clear();
  const auto* exported = Control<QTreeWidget>("lstExportedFields");
  const auto* available = Control<QTreeWidget>("lstAvailableFields");
  if (exported->topLevelItemCount() == 0) {
    for (int i = 0; i < available->topLevelItemCount(); ++i) {
      const int column = available->topLevelItem(i)->data(0, kFieldIndexRole).toInt();
      if (column >= 0 && column < d.Columns().Count() && d.Columns()[column].IsBlob) continue;
      e.ExportedFields.push_back(Cp(available->topLevelItem(i)->text(0)));
    }
  } else {
    for (int i = 0; i < exported->topLevelItemCount(); ++i)
      e.ExportedFields.push_back(Cp(exported->topLevelItem(i)->text(0)));
  }

  TVantrixFormats& f = e.Formats();
  f.SetIntegerFormat(opt_.IntegerFmt);
  f.SetFloatFormat(opt_.FloatFmt);
  f.SetDateFormat(opt_.DateFmt);
  f.SetTimeFormat(opt_.TimeFmt);
  f.SetDateTimeFormat(opt_.DateTimeFmt);
  f.SetCurrencyFormat(opt_.CurrencyFmt);
  f.SetBooleanTrue(opt_.BooleanTrue);
  f.SetBooleanFalse(opt_.BooleanFalse);
  f.SetNullString(opt_.NullString);
  e.UserFormats.clear();
  const auto* formats = Control<QTreeWidget>("lstUserFormats");
  TNameValueEditor userFormats(e.UserFormats);
  for (int i = 0; i < formats->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = formats->topLevelItem(i);
    userFormats.Set(Cp(item->text(0)), Cp(item->text(2)));
  }

  e.SetExportSource(d.ExportSource);
  e.SetDataSet(d.DataSet());
  e.SetCustomSource(d.CustomSource());
  e.SetListView(d.ListView());
  e.SetDBGrid(d.DBGrid());
  e.SetStringGrid(d.StringGrid());

  if (auto* text = dynamic_cast<TVantrix3Text*>(&e)) {
    text->FileName = opt_.FileName;
    text->ReadFiles = filesRead_;
    text->ShowFile = opt_.ShowFile;
    text->PrintFile = opt_.PrintFile;
  }
  e.SetShellService(&d.Services().Shell());
  if (dynamic_cast<TVantrix3FormatText*>(&e) != nullptr) {
    e.AllowCaptions = opt_.AllowCaptions;
    e.CaptionRow = opt_.CaptionRow;
  }
}

void TVantrix3DialogF::CopyCaptionsGrid() {
  TVantrix3& e = *currentExp_;
  const auto* grid = Control<QTableWidget>("sgrCaptions");
  e.Captions.clear();
  const bool alignAndWidth = dynamic_cast<TVantrix3ASCII*>(&e) != nullptr || dynamic_cast<TVantrix3RTF*>(&e) != nullptr ||
                             dynamic_cast<TVantrix3PDF*>(&e) != nullptr;
  const bool html = dynamic_cast<TVantrix3HTML*>(&e) != nullptr;
  const bool xls = dynamic_cast<TVantrix3XLS*>(&e) != nullptr;
  TNameValueEditor aligns(e.ColumnsAlign), widths(e.ColumnsWidth);
  for (int row = 1; row < grid->rowCount(); ++row) {
    const QString name = CellText(grid, row, 0);
    if (name.isEmpty()) continue;
    const std::string field = Cp(name);
    // An empty caption keeps the field's own.
    const QString caption = CellText(grid, row, 1);
    if (!caption.isEmpty() && caption != name) e.Captions.push_back(field + "=" + Cp(caption));
    const QString align = CellText(grid, row, 2);
    if (alignAndWidth || html) aligns.Set(field, align.isEmpty() ? "" : AlignmentName(align));
    if (alignAndWidth) widths.Set(field, Cp(CellText(grid, row, 3)));
    if (xls) widths.Set(field, Cp(CellText(grid, row, 2)));
  }
}

void TVantrix3DialogF::HookRelays(TVantrix3& exporter) {
  TVantrix3Dialog& d = dialog_;
  // A row's code (fetched, skipped, exported) is delivered to the window at once, and the
  // event loop turns after one at most every few milliseconds: often enough for the window to
  // tick and take a press, while a row costs neither a posted event (a wake-up of the event
  // loop each) nor a whole turn of the loop, which made a fast export many times slower. The
  // other codes are posted, and the loop turns after each.
  const auto post = [this](int code) {
    if (progress_ == nullptr) return;
    if (code == kProgressExported || code == kProgressFetched || code == kProgressSkipped) {
      ExportProgressEvent event(code);
      QCoreApplication::sendEvent(progress_, &event);
    } else {
      PostExportProgress(progress_, code);
    }
    if (code != kProgressExported && code != kProgressFetched && code != kProgressSkipped) {
      QCoreApplication::processEvents();
      return;
    }
    if (!eventTurn_.isValid() || eventTurn_.hasExpired(kEventTurnMs)) {
      QCoreApplication::processEvents();
      eventTurn_.start();
    }
  };
  exporter.OnBeginExport = [this, &d, post](TVantrix3&) {
    post(kProgressBegin);
    if (d.OnBeginExport) d.OnBeginExport(*currentExp_);
  };
  // The end of the output is not the end of the run: the file is put in its place after it,
  // and that can still fail. The window is told the end by the start handler, once the run
  // has returned.
  exporter.OnEndExport = [this, &d](TVantrix3&) {
    QCoreApplication::processEvents();
    if (d.OnEndExport) d.OnEndExport(*currentExp_);
  };
  exporter.OnSkippedRecord = [this, &d, post](TVantrix3&, int recNo) {
    post(kProgressSkipped);
    if (d.OnSkippedRecord) d.OnSkippedRecord(*currentExp_, recNo);
  };
  exporter.OnFetchedRecord = nullptr;
  exporter.OnExportedRecord = [this, &d, post](TVantrix3&, int recNo) {
    if (d.OnExportedRecord) d.OnExportedRecord(*currentExp_, recNo);
    post(kProgressExported);
  };
  exporter.OnBeforeExportRow = [this, &d](TVantrix3&, TVantrixRow& row, bool& accept) {
    if (d.OnBeforeExportRow) d.OnBeforeExportRow(*currentExp_, row, accept);
  };
  exporter.OnGetExportText = [this, &d](TVantrix3&, int column, std::string& text) {
    if (d.OnGetExportText) d.OnGetExportText(*currentExp_, column, text);
  };
  // The question is asked whatever ConfirmAbort holds; No, the default, lets the run go on.
  exporter.OnStopExport = [&d, post](TVantrix3&, bool& canContinue) {
    post(kProgressPause);
    MessageRequest question;
    question.caption = platform::FromCp1252(VantrixLoadStr(34019));
    question.text = platform::FromCp1252(VantrixLoadStr(34020));
    question.icon = MessageIcon::Question;
    question.yesNo = true;
    question.defaultNo = true;
    canContinue = d.Services().Message(nullptr, question) == MessageAnswer::No;
    if (d.OnStopExport) d.OnStopExport(d, canContinue);
    post(canContinue ? kProgressContinue : kProgressAbort);
  };
  if (auto* text = dynamic_cast<TVantrix3Text*>(&exporter))
    text->OnShowResultError = [this](TVantrix3Text&, const std::string& message) { resultErrors_.push_back(message); };
  if (auto* xls = dynamic_cast<TVantrix3XLS*>(&exporter)) {
    xls->OnAdvancedBeforeExportRow = [&d](TVantrix3XLS& sender, int sheet, TVantrixRow& row, bool& accept) {
      if (d.OnBeforeExportXLSRow) d.OnBeforeExportXLSRow(sender, sheet, row, accept);
    };
    xls->OnAdvancedRecordExported = [&d](TVantrix3XLS& sender, int sheet, int recNo) {
      if (d.OnExportedRecordXLS) d.OnExportedRecordXLS(sender, sheet, recNo);
    };
    xls->OnAdvancedGetExportText = d.OnGetExportXLSText
                                       ? TVantrix3XLS::TxlsGetExportTextEvent(
                                             [&d](TVantrix3XLS& sender, int sheet, int column, WideString& text) {
                                               d.OnGetExportXLSText(sender, sheet, column, text);
                                             })
                                       : nullptr;
  }
}

void TVantrix3DialogF::bStartClick() {
  if (running_) return;
  if (dialog_.AutoChangeFileExt) ChangeFileExtension();
  CopyOptionsInto(GetExportType());
  CopyCommonOptions();
  CopyCaptionsGrid();
  TVantrix3& exporter = *currentExp_;
  resultErrors_.clear();
  HookRelays(exporter);
  // A custom source keeps its end flag from the last pass; a run from the first record is a
  // new pass, and the dialog is the owner that starts it.
  if (exporter.GoToFirstRecord && dialog_.ExportSource == esCustom && dialog_.CustomSource() != nullptr)
    dialog_.CustomSource()->ClearEof();

  // The form stays shown but takes no input while the run goes: a second start or a close
  // would reach into the run under way.
  QList<QWidget*> disabled;
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow() && child->isEnabled()) {
      child->setEnabled(false);
      disabled << child;
    }
  running_ = true;
  auto* progress = new TfmVantrix3Progress(this, &exporter);
  progress_ = progress;
  struct Cleanup {
    TVantrix3DialogF* form;
    QList<QWidget*>& disabled;
    ~Cleanup() {
      delete form->progress_.data();
      form->running_ = false;
      for (QWidget* w : disabled) w->setEnabled(true);
    }
  } cleanup{this, disabled};

  dialog_.Services().ShowModeless(progress);
  // Returns once the file is in its place; a file that cannot be written there raises, and
  // the window, freed on the way out, never shows the run as finished.
  exporter.Execute();
  if (!exporter.Aborted()) PostExportProgress(progress, kProgressEnd);
  // Every progress code posted by the run is seen before the window's final state is decided.
  QCoreApplication::sendPostedEvents(progress, ExportProgressEvent::EventType());
  progress->SetRunReturned();
  // An abort while the run prepared or skipped posts no abort code: the window is brought to
  // its end state here, so that its button closes it.
  if (progress->Status() != estAbort && progress->Status() != estEnd) progress->ExportProgress(kProgressAbort);
  if (opt_.ShowFile) {
    if (!exporter.Aborted()) {
      PostExportProgress(progress, kProgressClose);
      QCoreApplication::processEvents();
    }
  } else if (progress->ModalResult() != 1 && progress->isVisible()) {
    QEventLoop wait;
    const HideWatcher watcher(progress, wait);
    wait.exec();
  }
  ReportItemsLeftOut(exporter);
  ReportResultErrors();
}

// A workbook goes on without an item it cannot write (a picture that cannot be read, a link
// too long for its record); the user who asked for the item is told which and why.
void TVantrix3DialogF::ReportItemsLeftOut(const TVantrix3& exporter) {
  const auto* xls = dynamic_cast<const TVantrix3XLS*>(&exporter);
  if (xls == nullptr || xls->LeftOut().empty()) return;
  QStringList lines;
  for (const std::string& line : xls->LeftOut()) lines << platform::FromCp1252(line);
  MessageRequest warning;
  warning.caption = windowTitle();
  warning.text = lines.join(QLatin1Char('\n'));
  warning.icon = MessageIcon::Warning;
  dialog_.Services().Message(this, warning);
}

// The file was written; opening or printing it, which the user asked for, was not done.
void TVantrix3DialogF::ReportResultErrors() {
  if (resultErrors_.empty()) return;
  QStringList lines;
  for (const std::string& line : resultErrors_) lines << platform::FromCp1252(line);
  ShowErrorText(lines.join(QLatin1Char('\n')));
}

void TVantrix3DialogF::done(int result) {
  if (running_) return;
  AutoSaveOptions();
  QDialog::done(result);
}

}  // namespace vantrix
