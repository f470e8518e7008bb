#pragma once
// The export dialog form's own copy of every option it shows. Each option is mirrored into
// one control: the form's setter stores a value and writes the control only when the value
// changed, with the control's signals blocked, so a handler never runs because a setter wrote.
//
// The plain options come in lists of (name, control) so that their fields, their setters and
// the handlers that read them back are made from one place. Text is code page 1252, as the
// exporters take it; it is converted at the control.
#include <cstdint>
#include <string>

#define VANTRIX_FORM_TEXT_OPTIONS(X)                                                                              \
  X(IntegerFmt, "edIntegerFormat")                                                                                \
  X(FloatFmt, "edFloatFormat")                                                                                    \
  X(DateFmt, "edDateFormat")                                                                                      \
  X(TimeFmt, "edTimeFormat")                                                                                      \
  X(DateTimeFmt, "edDateTimeFormat")                                                                              \
  X(CurrencyFmt, "edCurrencyFormat")                                                                              \
  X(BooleanTrue, "edBooleanTrue")                                                                                 \
  X(BooleanFalse, "edBooleanFalse")                                                                               \
  X(XLSPageHeader, "edXLSPageHeader")                                                                             \
  X(XLSPageFooter, "edXLSPageFooter")                                                                             \
  X(XLSSheetTitle, "edXLSSheetTitle")                                                                             \
  X(HTMLTitle, "edHTMLTitle")                                                                                     \
  X(HTMLIndexLinkTemplate, "edHTMLIndexLinkTemplate")                                                             \
  X(HTMLIndexLinkTitle, "edHTMLIndexLinkTitle")                                                                   \
  X(HTMLFirstLinkTitle, "edHTMLFirstLinkTitle")                                                                   \
  X(HTMLPriorLinkTitle, "edHTMLPriorLinkTitle")                                                                   \
  X(HTMLNextLinkTitle, "edHTMLNextLinkTitle")                                                                     \
  X(HTMLLastLinkTitle, "edHTMLLastLinkTitle")                                                                     \
  X(HTMLBodyAdvanced, "edHTMLBodyAdvanced")                                                                       \
  X(HTMLTableAdvanced, "edHTMLTableAdvanced")                                                                     \
  X(SQLTableName, "edSQLTableName")                                                                               \
  X(SQLCommitStatement, "edSQLCommitStatement")                                                                   \
  X(SQLStatementTerm, "edSQLStatementTerm")

// File names, kept as the file system spells them (which is how they are opened): only their
// edits show them as text.
#define VANTRIX_FORM_FILE_OPTIONS(X)             \
  X(XLSPageBackground, "edXLSPageBackground")    \
  X(HTMLCSSFileName, "edHTMLCSSFileName")        \
  X(HTMLBackground, "edHTMLBackground")          \
  X(HTMLTableBackground, "edHTMLTableBackground")

#define VANTRIX_FORM_FLAG_OPTIONS(X)                                                                              \
  X(ShowFile, "chShowFile")                                                                                       \
  X(PrintFile, "chPrintFile")                                                                                     \
  X(GoToFirstRecord, "chGoToFirstRecord")                                                                         \
  X(CurrentRecordOnly, "chCurrentRecordOnly")                                                                     \
  X(ExportEmpty, "chExportEmpty")                                                                                 \
  X(XLSAutoCalcColWidth, "chXLSAutoCalcColWidth")                                                                 \
  X(HTMLOverwriteCSSFile, "chHTMLOverwriteCSSFile")                                                               \
  X(HTMLUseMultiFileExport, "chHTMLUseMultiFileExport")                                                           \
  X(HTMLGenerateIndex, "chHTMLGenerateIndex")                                                                     \
  X(HTMLNavigationOnTop, "chHTMLNavigationOnTop")                                                                 \
  X(HTMLNavigationOnBottom, "chHTMLNavigationOnBottom")                                                           \
  X(XMLStandalone, "chXMLStandalone")                                                                             \
  X(SQLCreateTable, "chSQLCreateTable")                                                                           \
  X(SQLCommitAfterScript, "chSQLCommitAfterScript")                                                               \
  X(TXTAutoCalcColWidth, "chTXTAutoCalcColWidth")                                                                 \
  X(CSVQuoteStrings, "chCSVQuoteStrings")

// Whole numbers shown in decimal in an edit.
#define VANTRIX_FORM_NUMBER_OPTIONS(X)                                                                            \
  X(SkipRecCount, "edSkipRecCount")                                                                               \
  X(CaptionRow, "edCaptionRow")                                                                                   \
  X(HTMLFileRecCount, "edHTMLFileRecCount")                                                                       \
  X(HTMLCellPadding, "edHTMLCellPadding")                                                                         \
  X(HTMLCellSpacing, "edHTMLCellSpacing")                                                                         \
  X(HTMLBorderWidth, "edHTMLBorderWidth")                                                                         \
  X(SQLCommitRecCount, "edSQLCommitRecCount")                                                                     \
  X(TXTSpacing, "edTXTSpacing")

// Item indexes of radio groups.
#define VANTRIX_FORM_CHOICE_OPTIONS(X)                                                                            \
  X(RTFPageOrientation, "rgRTFPageOrientation")                                                                   \
  X(RTFStripType, "rgRTFStripType")                                                                               \
  X(XLSStripType, "rgXLSStripType")

// The colours of the HTML preview (0x00BBGGRR).
#define VANTRIX_FORM_COLOR_OPTIONS(X)                                                                             \
  X(HTMLBackgroundColor)                                                                                          \
  X(HTMLFontColor)                                                                                                \
  X(HTMLHeadBackgroundColor)                                                                                      \
  X(HTMLHeadFontColor)                                                                                            \
  X(HTMLOddRowBackgroundColor)                                                                                    \
  X(HTMLEvenRowBackgroundColor)                                                                                   \
  X(HTMLDataFontColor)                                                                                            \
  X(HTMLLinkColor)                                                                                                \
  X(HTMLVLinkColor)                                                                                               \
  X(HTMLALinkColor)

namespace vantrix {

struct TDialogFormOptions {
#define VANTRIX_TEXT_FIELD(name, control) std::string name;
#define VANTRIX_FLAG_FIELD(name, control) bool name = false;
#define VANTRIX_NUMBER_FIELD(name, control) int name = 0;
#define VANTRIX_COLOR_FIELD(name) uint32_t name = 0;
  VANTRIX_FORM_TEXT_OPTIONS(VANTRIX_TEXT_FIELD)
  VANTRIX_FORM_FILE_OPTIONS(VANTRIX_TEXT_FIELD)
  VANTRIX_FORM_FLAG_OPTIONS(VANTRIX_FLAG_FIELD)
  VANTRIX_FORM_NUMBER_OPTIONS(VANTRIX_NUMBER_FIELD)
  VANTRIX_FORM_CHOICE_OPTIONS(VANTRIX_NUMBER_FIELD)
  VANTRIX_FORM_COLOR_OPTIONS(VANTRIX_COLOR_FIELD)
#undef VANTRIX_TEXT_FIELD
#undef VANTRIX_FLAG_FIELD
#undef VANTRIX_NUMBER_FIELD
#undef VANTRIX_COLOR_FIELD

  // Options with a control of their own kind or with more than one control.
  // File names are kept as the file system spells them, which is how they are opened.
  std::string FileName;          // edFileName, and the title
  std::string OptionsFileName;   // the options file dialogs' start
  std::string NullString;        // edNullString and edSQLNullString
  std::string HTMLFontName;      // cbxHTMLFontName's text
  std::string XMLEncoding;       // edXMLEncoding, compared ignoring case
  int ExportRecCount = 0;        // edExportRecCount; above 0 also checks rbExportOnly
  bool AllowCaptions = false;    // chAllowCaptions; the captions grid is enabled with it
  int HTMLUsingCSS = 0;          // 0 internal, 1 external (rbInternal, rbExternal)
  char CSVComma = 0, CSVQuote = 0;  // edCSVComma, edCSVQuote in character notation
};

}  // namespace vantrix
