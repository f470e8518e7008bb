#pragma once
// The export options dialog as a component: the row source, the formats offered, the common
// options and one option holder per format. Execute opens the dialog form, where the user
// picks a format, changes any option and runs the export with the form's own exporters; the
// form finds everything it starts from here.
//
// The source links are weak: a source that is destroyed leaves its link empty, so a later
// Execute reports the source as not assigned instead of reaching a dead object.
#include <QObject>
#include <QPointer>
#include <functional>

#include "export/columns.h"
#include "export/custom_source.h"
#include "export/dialog/export_formats.h"
#include "export/formats.h"
#include "export/model_source.h"
#include "export/source_links.h"
#include "export/string_list.h"
#include "export/vantrix3.h"
#include "export/vantrix3_options.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_options.h"

class QWidget;

namespace vantrix {

class DialogServices;

enum TCommonOption { coFields, coFormats, coColons, coCaptions, coOptions };

class TCommonOptions {
 public:
  constexpr TCommonOptions() = default;
  constexpr explicit TCommonOptions(uint8_t bits) : bits_(bits & 31) {}
  static constexpr TCommonOptions All() { return TCommonOptions(31); }
  bool Has(TCommonOption o) const { return (bits_ >> o) & 1u; }
  void Include(TCommonOption o) { bits_ = static_cast<uint8_t>(bits_ | (1u << o)); }
  void Exclude(TCommonOption o) { bits_ = static_cast<uint8_t>(bits_ & ~(1u << o)); }
  uint8_t Bits() const { return bits_; }
  bool operator==(const TCommonOptions&) const = default;

 private:
  uint8_t bits_ = 0;
};

class TVantrix3Dialog : public QObject, public TVantrixColumnsOwner, public TVantrixSourceLinks {
  Q_OBJECT

 public:
  using TGetColonEvent = std::function<void(QObject& sender, TStrings& colon)>;
  using TStopEvent = std::function<void(QObject& sender, bool& canContinue)>;

  explicit TVantrix3Dialog(QObject* owner = nullptr);
  ~TVantrix3Dialog() override;

  // --- the source -------------------------------------------------------------------------
  TVantrixSource ExportSource = esDataSet;
  TVantrixSourceRefs Sources() const;

  // --- published settings, with the defaults a new dialog has ----------------------------
  TAllowedExports AllowedExports = TAllowedExports::All();
  TCommonOptions CommonOptions = TCommonOptions::All();
  bool AutoChangeFileExt = true;
  bool ConfirmAbort = true;  // kept and stored; the run asks before an abort whatever it holds
  bool OnlyVisibleFields = false;
  bool AutoCalcStrType = false;
  std::string OptionsFileName;
  bool AutoSaveOptions = false;
  bool AutoLoadOptions = false;
  bool SaveLoadButtons = false;
  std::string About;
  std::string _Version;
  std::string FileName;
  bool ShowFile = true;
  bool PrintFile = false;
  TStrings ExportedFields;
  TStrings Header;
  bool AllowCaptions = true;
  int CaptionRow = -1;
  TStrings Captions;
  TStrings Footer;
  TVantrixFormats& Formats() { return formats_; }
  const TVantrixFormats& Formats() const { return formats_; }
  void SetFormats(const TVantrixFormats& formats) { formats_.Assign(formats); }
  TStrings UserFormats;
  TStrings ColumnsWidth;
  TStrings ColumnsAlign;
  bool CurrentRecordOnly = false;
  bool ExportEmpty = true;
  bool GoToFirstRecord = true;
  int ExportRecCount = 0;
  int SkipRecCount = 0;

  // The option holders, owned; their setters copy into them.
  TVantrixRTFOptions RTFOptions{this};
  TVantrixXMLOptions XMLOptions{this};
  TVantrixSQLOptions SQLOptions{this};
  TVantrixHTMLPageOptions HTMLPageOptions{this};
  TVantrixHTMLTableOptions HTMLTableOptions{this};
  TVantrixHTMLMultiFileOptions HTMLMultiFileOptions{this};
  TVantrixTXTOptions TXTOptions{this};
  TVantrixCSVOptions CSVOptions{this};
  TVantrixPDFOptions PDFOptions{this};
  TVantrixXLSOptions XLSOptions{this};
  void SetRTFOptions(const TVantrixOptions& o) { RTFOptions.Assign(o); }
  void SetXMLOptions(const TVantrixOptions& o) { XMLOptions.Assign(o); }
  void SetSQLOptions(const TVantrixOptions& o) { SQLOptions.Assign(o); }
  void SetHTMLPageOptions(const TVantrixOptions& o) { HTMLPageOptions.Assign(o); }
  void SetHTMLTableOptions(const TVantrixOptions& o) { HTMLTableOptions.Assign(o); }
  void SetHTMLMultiFileOptions(const TVantrixOptions& o) { HTMLMultiFileOptions.Assign(o); }
  void SetTXTOptions(const TVantrixOptions& o) { TXTOptions.Assign(o); }
  void SetCSVOptions(const TVantrixOptions& o) { CSVOptions.Assign(o); }
  void SetPDFOptions(const TVantrixOptions& o) { PDFOptions.Assign(o); }
  void SetXLSOptions(const TVantrixOptions& o) { XLSOptions.Assign(o); }

  // --- events -----------------------------------------------------------------------------
  TGetColonEvent OnGetHeader, OnGetFooter;
  TVantrix3::TNotifyEvent OnBeginExport, OnEndExport;
  TVantrix3::TExportedRecordEvent OnFetchedRecord, OnSkippedRecord;
  TVantrix3::TBeforeExportRowEvent OnBeforeExportRow;
  TVantrix3XLS::TxlsBeforeExportRowEvent OnBeforeExportXLSRow;
  TVantrix3::TExportedRecordEvent OnExportedRecord;
  TVantrix3XLS::TxlsExportedRecordEvent OnExportedRecordXLS;
  TStopEvent OnStopExport;
  TVantrix3::TGetExportTextEvent OnGetExportText;
  TVantrix3XLS::TxlsGetExportTextEvent OnGetExportXLSText;

  // The columns of the source, refilled by every Execute.
  TVantrixColumns& Columns() { return columns_; }
  const TVantrixColumns& Columns() const { return columns_; }

  // Where the dialog and its windows ask the user; the real dialogs unless set.
  void SetServices(DialogServices* services) { services_ = services; }
  DialogServices& Services() const;
  // The window the form is centred over; none by default.
  void SetParentWidget(QWidget* parent) { parentWidget_ = parent; }
  QWidget* ParentWidget() const { return parentWidget_; }

  // Refuses a missing source (34014, with the kind's name) or an empty set of formats (34018)
  // before any form exists; else fills the columns from the source and shows the form modally.
  void Execute();

  // --- the column model's owner -----------------------------------------------------------
  std::optional<TVantrixSourceRefs> OwnerSources() const override { return Sources(); }
  const TStrings* OwnerExportedFields() const override { return &ExportedFields; }
  std::optional<bool> OwnerOnlyVisibleFields() const override { return OnlyVisibleFields; }
  const TVantrixFormats* OwnerFormats() const override { return &formats_; }
  std::optional<bool> OwnerAutoCalcStrType() const override { return AutoCalcStrType; }
  std::optional<int> OwnerCaptionRow() const override { return CaptionRow; }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }
  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerCaptions() const override { return &Captions; }
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  std::optional<int> OwnerSkipRecCount() const override { return SkipRecCount; }
  std::optional<int> OwnerExportRecCount() const override { return ExportRecCount; }

 private:
  TVantrixFormats formats_;
  TVantrixColumns columns_{this};
  DialogServices* services_ = nullptr;
  QPointer<QWidget> parentWidget_;
};

}  // namespace vantrix
