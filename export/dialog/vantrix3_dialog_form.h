#pragma once
// The export options dialog form: the file-name panel, the button panel and the page control
// with one page per group of options (export type, fields, formats, header and footer,
// captions, RTF, XML, SQL, HTML, spreadsheet, text and CSV, PDF), every control named as the
// options file, the captions table and the handlers know it. The form owns its own ten
// exporters, set to the values the dialog runs them with unless an option says otherwise.
//
// Wiring rule for the handlers: they connect to user-action signals (clicked, activated,
// textEdited, editingFinished), the form's setters block signals while they write controls,
// and a handler that another one calls is called explicitly, never through a signal.
#include <QDialog>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QPair>
#include <QPointer>
#include <memory>
#include <vector>

#include "export/dialog/export_formats.h"
#include "export/dialog/form_options.h"
#include "export/dialog/progress_window.h"
#include "export/page_units.h"

class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class IniFile;
}

namespace vantrix {

class TVantrix3Dialog;
class TVantrix3ASCII;
class TVantrix3Clipboard;
class TVantrix3DBF;
class TVantrix3HTML;
class TVantrix3LaTeX;
class TVantrix3PDF;
class TVantrix3RTF;
class TVantrix3SQL;
class TVantrix3XLS;
class TVantrix3XML;
class TVantrix3;
class TxlsCustomItem;
class TrtfStyle;
class TXLSExtensionsEditor;
class TXLSFormatEditor;

class TVantrix3DialogF : public QDialog {
  Q_OBJECT

 public:
  TVantrix3DialogF(TVantrix3Dialog& dialog, QWidget* parent = nullptr);
  ~TVantrix3DialogF() override;

  TVantrix3Dialog& GetDialog() const { return dialog_; }
  // Something failed (a file not read or not written): an error message captioned with the form's title.
  void ShowErrorText(const QString& text);

  // The control of that name; null when the form has none or it is of another class. Found
  // once and then kept (until it goes): the form has about a thousand widgets, and a search
  // walks them all, for every setter that shows its value.
  template <class T>
  T* Control(const char* name) const {
    QPointer<QObject>& found = controls_[{QByteArray(name), &T::staticMetaObject}];
    if (found.isNull()) found = findChild<T*>(QString::fromLatin1(name));
    return static_cast<T*>(found.data());
  }

  // Every text of the form from the library's string table.
  void SetCaptions();
  // The offered formats into the export-type radio group, in format order, the first chosen.
  void FillAllowedExports();
  // The format of the chosen radio item; aeXLS when none is chosen.
  TAllowedExport GetExportType() const;

  // The font, border and fill sheets are one editor shared by the data-format page and the
  // cells page of the extensions: they move to the target page control at firstIndex,
  // firstIndex + 1 and firstIndex + 2.
  void MoveXLSFormatSheets(QTabWidget* target, int firstIndex);

  // The spreadsheet extensions tab: its tree, which owns the items, and its pages.
  TXLSExtensionsEditor& XLSExtensions() const { return *xlsExtensions_; }
  // The cell-format editor of the spreadsheet page (font, border, fill and aggregate sheets).
  TXLSFormatEditor& XLSFormatEditor() const { return *xlsFormatEditor_; }

  // The form's own exporters.
  TVantrix3Clipboard& ClipExp() const { return *clipExp_; }
  TVantrix3HTML& HTMLExp() const { return *htmlExp_; }
  TVantrix3LaTeX& LaTeXExp() const { return *latexExp_; }
  TVantrix3ASCII& ASCIIExp() const { return *asciiExp_; }
  TVantrix3XLS& XLSExp() const { return *xlsExp_; }
  TVantrix3PDF& PDFExp() const { return *pdfExp_; }
  TVantrix3SQL& SQLExp() const { return *sqlExp_; }
  TVantrix3XML& XMLExp() const { return *xmlExp_; }
  TVantrix3DBF& DBFExp() const { return *dbfExp_; }
  TVantrix3RTF& RTFExp() const { return *rtfExp_; }

  // --- the form core (form_core*.cpp, form_handlers*.cpp, form_run.cpp) -------------------
  const TDialogFormOptions& Options() const { return opt_; }
#define VANTRIX_DECLARE_SETTER(name, control) void Set##name(decltype(TDialogFormOptions::name) value);
#define VANTRIX_DECLARE_COLOR_SETTER(name) void Set##name(uint32_t value);
  VANTRIX_FORM_TEXT_OPTIONS(VANTRIX_DECLARE_SETTER)
  VANTRIX_FORM_FILE_OPTIONS(VANTRIX_DECLARE_SETTER)
  VANTRIX_FORM_FLAG_OPTIONS(VANTRIX_DECLARE_SETTER)
  VANTRIX_FORM_NUMBER_OPTIONS(VANTRIX_DECLARE_SETTER)
  VANTRIX_FORM_CHOICE_OPTIONS(VANTRIX_DECLARE_SETTER)
  VANTRIX_FORM_COLOR_OPTIONS(VANTRIX_DECLARE_COLOR_SETTER)
#undef VANTRIX_DECLARE_SETTER
#undef VANTRIX_DECLARE_COLOR_SETTER
  void SetFileName(const std::string& value);
  void SetOptionsFileName(const std::string& value);
  void SetNullString(const std::string& value);
  void SetHTMLFontName(const std::string& value);
  void SetXMLEncoding(const std::string& value);
  void SetExportRecCount(int value);
  void SetAllowCaptions(bool value);
  void SetHTMLUsingCSS(int value);
  void SetCSVComma(char value);
  void SetCSVQuote(char value);

  // Copies the dialog's options into the form; the dialog's Execute calls it once.
  void InitializeDialog();
  void SetExportType(TAllowedExport format);
  // The chosen format's filter, extension, file controls, pages and captions grid.
  void rgExportTypeClick();
  void ChangeFileExtension();
  void ShowTitle();
  void ShowButtons();
  void FillFields();
  void MakeStringGrid();
  void LoadStringGridCaption();
  // The captions page (form_handlers_grid.cpp): the check box, and the caption-row edit left
  // or confirmed with Enter (a text that is no number keeps the row, and the edit shows it).
  void chAllowCaptionsClick();
  void edCaptionRowExit();
  // The title painted over a column of the captions grid for the chosen format; empty for a
  // column the format does not use.
  QString CaptionsGridTitle(int column) const;
  void ResetStandardFormats();
  void HTMLFillColors();
  void HTMLUpdateMultifileControls();
  void PagesChange();
  // The aggregate sheet shows only with the field formats; the current list's item again.
  void pcXLSFormatsChange();
  uint32_t RunColorEditor(uint32_t color);
  // Whether the active page belongs to the chosen format's pages.
  bool IsCompatiblePage() const;
  // Field list moves.
  void bAddOneExportedFieldClick();
  void bAddAllExportedFieldClick();
  void bDelOneExportedFieldClick();
  void bDelAllExportedFieldClick();
  // Moves the first available field of each name (without regard to case), in the order of
  // the names, to the end of the exported list, as one click of the add button each would,
  // but at once: a name no available field has is skipped.
  void ExportFieldsNamed(const QStringList& names);
  int GetIndexOfNewAvailableFields(QTreeWidgetItem* item) const;
  // User formats.
  void cbxFormatFieldsChange();
  void bAddUserFormatClick();
  void bEditUserFormatClick();
  void bDeleteUserFormatClick();
  void bClearUserFormatsClick();
  void ShowFormatButtons();
  // The spreadsheet strip-style list's tool buttons.
  void tbtAddXLSStyleClick();
  void tbtDelXLSStyleClick();
  void MoveXLSStyle(int step);
  void tbtSaveXLSStyleClick();
  void tbtLoadXLSStyleClick();
  // The options file: the form's options with the chosen format's sections. Saving empties
  // the file first and raises EVantrixError when it cannot be written; loading takes the
  // dialog's value for every key the file lacks (a missing file is no error).
  void SaveExportOptions(const std::string& fileName);
  void LoadExportOptions(const std::string& fileName);
  // Remembers a file the form read, for the runs to leave alone.
  void NoteFileRead(const std::string& fileName);
  // The Tools menu's items: the file chosen in the options file dialogs.
  void miSaveOptionsClick();
  void miLoadOptionsClick();
  // Runs the chosen export with the form's options under the progress window.
  void bStartClick();
  // "Left", "Center" or "Right" for an alignment caption of the captions grid.
  std::string AlignmentName(const QString& text) const;
  // The objects the style lists' items carry, kept by the form until it closes.
  TxlsCustomItem* AdoptXLSItem(std::unique_ptr<TxlsCustomItem> item);
  TrtfStyle* AdoptRTFStyle(std::unique_ptr<TrtfStyle> style);
  // Frees the objects no item of the style lists carries any longer (styles deleted, or
  // replaced by a style file), so that a long session does not keep every style it dropped.
  void ReleaseUnusedStyles();
  // The PDF page (form_handlers_pdf.cpp). Spacings, page and fonts are the form's own PDF
  // exporter's options, edited in place; lengths are shown in the page's units.
  void SetPDFColSpacing(double value);
  void SetPDFRowSpacing(double value);
  void SetPDFGridLineWidth(int value);
  void SetPDFPageFormat(TVantrixPageFormat format);
  void SetPDFPageWidth(double value);
  void SetPDFPageHeight(double value);
  void SetPDFPageMarginLeft(double value);
  void SetPDFPageMarginRight(double value);
  void SetPDFPageMarginTop(double value);
  void SetPDFPageMarginBottom(double value);
  void SetPDFPageUnits(TVantrixUnits units);
  void SetPDFPageOrientation(TVantrixPageOrientation orientation);
  double GetPDFPageWidth() const;
  double GetPDFPageHeight() const;
  double GetPDFPageMarginLeft() const;
  double GetPDFPageMarginRight() const;
  double GetPDFPageMarginTop() const;
  double GetPDFPageMarginBottom() const;
  // Every PDF option into its control.
  void PDFShowOptions();
  void PDFFillFontList();
  void PDFShowFontInfo();
  void PDFShowExample();
  // Why the page cannot be printed on (too small, or its margins leave no room), empty when it can.
  std::string PDFPageProblem() const;
  // The RTF page (form_handlers_rtf.cpp): the style list on the tab now shown (null when
  // none), and the editor showing one selected style or several.
  QTreeWidget* RTFCurrListView() const;
  void ShowRTFListItem(QTreeWidgetItem* item);
  void ShowRTFListItemM(QTreeWidgetItem* current);
  // The selection of the RTF list now shown in the style editor: one style, several, or none.
  void ShowRTFSelection();
  // The current run's progress window; null outside a run.
  TfmVantrix3Progress* ProgressWindow() const { return progress_.data(); }

 protected:
  void done(int result) override;

 private:
  void ConnectHandlers();
  void FillStyleLists();
  void FillExtensionTree();
  void CopyExtensionTree(TVantrix3XLS& exporter) const;
  void ConnectPlainHandlers();
  void ReportItemsLeftOut(const TVantrix3& exporter);
  void ReportResultErrors();
  // The controls of the options that start at 0 show it (a setter writes only a change).
  void ShowStartValues();
  void ConnectHTMLHandlers();
  void ConnectCaptionsGrid();
  void ConnectXLSStyleButtons();
  void ConnectPDFHandlers();
  void ConnectRTFHandlers();
  void ConnectHTMLTemplates();
  void HookRelays(TVantrix3& exporter);
  void CopyOptionsInto(TAllowedExport format);
  void CopyCommonOptions();
  void CopyXLSLists();
  void CopyCaptionsGrid();
  void SaveFormatSections(platform::IniFile& ini, TAllowedExport t);
  void LoadFormatSections(const platform::IniFile& ini, TAllowedExport t);
  void SaveXLSItems(platform::IniFile& ini) const;
  void SaveRTFItems(platform::IniFile& ini) const;
  void LoadXLSItems(const platform::IniFile& ini);
  void LoadRTFItems(const platform::IniFile& ini);
  void LoadPDFSections(const platform::IniFile& ini);
  void ConnectOptionsFileItems();
  void ChooseOptionsFile(bool save);
  // Every extension node freed, with the tree's signals held.
  void ClearExtensionTree();
  // Saves the options file on closing when the dialog asks for it; a failure is told.
  void AutoSaveOptions();
  void ChooseHTMLColor(uint32_t TDialogFormOptions::* field, void (TVantrix3DialogF::*setter)(uint32_t));

 private:
  void MakeExporters();
  void BuildFrame();
  // One builder per page.
  void BuildExportTypePage(QTabWidget* pages);
  void BuildFieldsPage(QTabWidget* pages);
  void BuildFormatsPage(QTabWidget* pages);
  void BuildHeaderFooterPage(QTabWidget* pages);
  void BuildCaptionsPage(QTabWidget* pages);
  void BuildRTFPage(QTabWidget* pages);
  void BuildXMLPage(QTabWidget* pages);
  void BuildSQLPage(QTabWidget* pages);
  void BuildHTMLPage(QTabWidget* pages);
  void BuildXLSPage(QTabWidget* pages);
  void BuildXLSDataFormatTab(QWidget* page);
  void BuildXLSFormatSheets(QTabWidget* sheets);
  void BuildXLSExtensionsTab(QWidget* page);
  void BuildASCIIPage(QTabWidget* pages);
  void BuildPDFPage(QTabWidget* pages);

  TVantrix3Dialog& dialog_;
  std::unique_ptr<TVantrix3Clipboard> clipExp_;
  std::unique_ptr<TVantrix3HTML> htmlExp_;
  std::unique_ptr<TVantrix3LaTeX> latexExp_;
  std::unique_ptr<TVantrix3ASCII> asciiExp_;
  std::unique_ptr<TVantrix3XLS> xlsExp_;
  std::unique_ptr<TVantrix3PDF> pdfExp_;
  std::unique_ptr<TVantrix3SQL> sqlExp_;
  std::unique_ptr<TVantrix3XML> xmlExp_;
  std::unique_ptr<TVantrix3DBF> dbfExp_;
  std::unique_ptr<TVantrix3RTF> rtfExp_;

  TDialogFormOptions opt_;
  std::vector<std::unique_ptr<TxlsCustomItem>> xlsItems_;
  std::vector<std::unique_ptr<TrtfStyle>> rtfStyles_;
  TVantrix3* currentExp_ = nullptr;
  QPointer<TfmVantrix3Progress> progress_;
  bool running_ = false;
  // Why the last run's file could not be opened or printed as asked; told once the run is over.
  std::vector<std::string> resultErrors_;
  // The options files and templates the form has read: no run writes over one of them.
  std::vector<std::string> filesRead_;
  // When the run last let the event loop turn.
  QElapsedTimer eventTurn_;
  static constexpr int kEventTurnMs = 15;
  std::unique_ptr<TXLSExtensionsEditor> xlsExtensions_;
  // After the extensions: it is freed first and lets go of their cell-format hook.
  std::unique_ptr<TXLSFormatEditor> xlsFormatEditor_;
  mutable QHash<QPair<QByteArray, const QMetaObject*>, QPointer<QObject>> controls_;
};

}  // namespace vantrix
