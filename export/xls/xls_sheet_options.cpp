#include "export/xls/xls_sheet_options.h"

#include "export/xls/xls_options.h"

namespace vantrix {

TXLSOptions::TXLSOptions() {
  SetDefaultXLSCaption(CaptionsFormat);
  SetDefaultXLSHyperlink(HyperlinkFormat);
}

void TXLSOptions::SetSheetTitle(const std::string& title) {
  if (title == sheetTitle_) return;
  sheetTitle_ = title.empty() ? "Sheet1" : title;
}

void TXLSOptions::Assign(const TXLSOptions& source) {
  if (&source == this) return;
  HeaderFormat.Assign(source.HeaderFormat);
  CaptionsFormat.Assign(source.CaptionsFormat);
  DataFormat.Assign(source.DataFormat);
  AggregateFormat.Assign(source.AggregateFormat);
  FooterFormat.Assign(source.FooterFormat);
  HyperlinkFormat.Assign(source.HyperlinkFormat);
  NoteFormat.Assign(source.NoteFormat);
}

void TXLSOptions::AssignAll(const TXLSOptions& source) {
  Assign(source);
  PageHeader = source.PageHeader;
  PageFooter = source.PageFooter;
  sheetTitle_ = source.sheetTitle_;
}

}  // namespace vantrix
