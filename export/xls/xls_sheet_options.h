#pragma once
// The spreadsheet exporter's and each sheet's options: the page header and footer the
// spreadsheet program prints, the sheet's title and the formats of the seven kinds of cell.
#include <string>

#include "export/xls/xls_format.h"

namespace vantrix {

class TXLSOptions {
 public:
  TXLSOptions();

  // Page texts in the spreadsheet's header and footer codes ("&P" the page, "&N" the pages).
  WideString PageHeader;
  WideString PageFooter = u"Page &P of &N";
  TxlsFormat HeaderFormat;
  TxlsFormat CaptionsFormat;  // bold
  TxlsFormat DataFormat;
  TxlsFormat AggregateFormat;
  TxlsFormat FooterFormat;
  TxlsFormat HyperlinkFormat;  // blue and underlined
  TxlsNoteFormat NoteFormat;

  // The title of a sheet made from these options (code page 1252).
  const std::string& SheetTitle() const { return sheetTitle_; }
  // An empty title is stored as "Sheet1".
  void SetSheetTitle(const std::string& title);

  // The seven formats only: the page texts and the title stay.
  void Assign(const TXLSOptions& source);
  // Everything: the formats, the page texts and the title.
  void AssignAll(const TXLSOptions& source);

  void SetHeaderFormat(const TxlsFormat& f) { HeaderFormat.Assign(f); }
  void SetCaptionsFormat(const TxlsFormat& f) { CaptionsFormat.Assign(f); }
  void SetDataFormat(const TxlsFormat& f) { DataFormat.Assign(f); }
  void SetAggregateFormat(const TxlsFormat& f) { AggregateFormat.Assign(f); }
  void SetFooterFormat(const TxlsFormat& f) { FooterFormat.Assign(f); }
  void SetHyperlinkFormat(const TxlsFormat& f) { HyperlinkFormat.Assign(f); }
  void SetNoteFormat(const TxlsNoteFormat& f) { NoteFormat.Assign(f); }

 private:
  std::string sheetTitle_ = "Sheet 1";
};

}  // namespace vantrix
