#pragma once
// The export dialog's holder of the spreadsheet options: page texts, the sheet title, the
// seven cell formats, per-field formats, strip styles and every extension collection. It
// carries values only; the dialog copies it into the exporter it runs. Its collections know
// it as their owner, so a hyperlink added to it starts with its hyperlink format.
#include <string>

#include "export/vantrix3_options.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_link_note.h"
#include "export/xls/xls_picture.h"

namespace vantrix {

class TVantrixXLSOptions : public TVantrixOptions, public TxlsItemsOwner {
 public:
  explicit TVantrixXLSOptions(const void* owner);
  const char* ClassName() const override { return "TVantrixXLSOptions"; }
  // Every option and item from another spreadsheet holder; any other class raises
  // EConvertError.
  void Assign(const TVantrixOptions& source) override;

  bool AutoCalcColWidth = false;
  std::string PageHeader;
  std::string PageFooter = "Page &P of &N";
  const std::string& SheetTitle() const { return sheetTitle_; }
  // An empty title is stored as "Sheet1".
  void SetSheetTitle(const std::string& title);
  std::string PageBackground;
  TxlsFormat HeaderFormat, CaptionFormat, DataFormat, AggregateFormat, FooterFormat, HyperlinkFormat;
  TxlsNoteFormat NoteFormat;
  TxlsFieldFormats FieldFormats{this};
  TxlsFormats StripStyles{this};
  TxlsStripType StripType = ssNone;
  TxlsHyperlinks Hyperlinks{this};
  TxlsNotes Notes{this};
  TxlsCharts Charts{this};
  TxlsPictures Pictures{this};
  TxlsImages Images{this};
  TxlsCells Cells{this};
  TxlsMergedCellList MergedCells{this};

  void SetHeaderFormat(const TxlsFormat& f) { HeaderFormat.Assign(f); }
  void SetCaptionFormat(const TxlsFormat& f) { CaptionFormat.Assign(f); }
  void SetDataFormat(const TxlsFormat& f) { DataFormat.Assign(f); }
  void SetAggregateFormat(const TxlsFormat& f) { AggregateFormat.Assign(f); }
  void SetFooterFormat(const TxlsFormat& f) { FooterFormat.Assign(f); }
  void SetHyperlinkFormat(const TxlsFormat& f) { HyperlinkFormat.Assign(f); }
  void SetNoteFormat(const TxlsNoteFormat& f) { NoteFormat.Assign(f); }
  void SetFieldFormats(const TxlsFieldFormats& c) { FieldFormats.Assign(c); }
  void SetStripStyles(const TxlsFormats& c) { StripStyles.Assign(c); }
  void SetHyperlinks(const TxlsHyperlinks& c) { Hyperlinks.Assign(c); }
  void SetNotes(const TxlsNotes& c) { Notes.Assign(c); }
  void SetCharts(const TxlsCharts& c) { Charts.Assign(c); }
  void SetPictures(const TxlsPictures& c) { Pictures.Assign(c); }
  void SetImages(const TxlsImages& c) { Images.Assign(c); }
  void SetCells(const TxlsCells& c) { Cells.Assign(c); }
  void SetMergedCells(const TxlsMergedCellList& c) { MergedCells.Assign(c); }

  const TxlsFormat* HyperlinkFormatForNewItems() const override { return &HyperlinkFormat; }

 private:
  std::string sheetTitle_ = "Sheet 1";
};

// The hyperlink format's defaults: a blue, underlined font.
void SetDefaultXLSHyperlink(TxlsFormat& format);

}  // namespace vantrix
