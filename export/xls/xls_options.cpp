#include "export/xls/xls_options.h"

namespace vantrix {

void SetDefaultXLSHyperlink(TxlsFormat& format) {
  format.SetDefault();
  format.Font.Color = clrBlue;
  format.Font.Underline = fulSingle;
}

TVantrixXLSOptions::TVantrixXLSOptions(const void* owner) : TVantrixOptions(owner) {
  SetDefaultXLSCaption(CaptionFormat);
  SetDefaultXLSHyperlink(HyperlinkFormat);
}

void TVantrixXLSOptions::SetSheetTitle(const std::string& title) {
  if (title == sheetTitle_) return;
  sheetTitle_ = title.empty() ? "Sheet1" : title;
}

void TVantrixXLSOptions::Assign(const TVantrixOptions& source) {
  const auto* other = dynamic_cast<const TVantrixXLSOptions*>(&source);
  if (other == nullptr) return TVantrixOptions::Assign(source);
  if (other == this) return;
  AutoCalcColWidth = other->AutoCalcColWidth;
  PageHeader = other->PageHeader;
  PageFooter = other->PageFooter;
  SetSheetTitle(other->sheetTitle_);
  PageBackground = other->PageBackground;
  SetHeaderFormat(other->HeaderFormat);
  SetCaptionFormat(other->CaptionFormat);
  SetDataFormat(other->DataFormat);
  SetAggregateFormat(other->AggregateFormat);
  SetFooterFormat(other->FooterFormat);
  SetHyperlinkFormat(other->HyperlinkFormat);
  SetNoteFormat(other->NoteFormat);
  SetFieldFormats(other->FieldFormats);
  SetStripStyles(other->StripStyles);
  StripType = other->StripType;
  SetHyperlinks(other->Hyperlinks);
  SetNotes(other->Notes);
  SetCharts(other->Charts);
  SetPictures(other->Pictures);
  SetImages(other->Images);
  SetCells(other->Cells);
  SetMergedCells(other->MergedCells);
}

}  // namespace vantrix
