#pragma once
// The rich-text exporter: an optional header block, one table (a caption row and a row per
// record) and an optional footer block, each cell styled by a style object that the events
// may change. Every text is escaped for RTF and code page 1252 bytes go out as \'hh, so any
// reader shows them.
#include <functional>
#include <string>

#include "export/rtf_style.h"
#include "export/rtf_writer.h"
#include "export/text_measure.h"
#include "export/vantrix3_text.h"

namespace vantrix {

class TVantrix3RTF : public TVantrix3FormatText {
 public:
  using TrtfGetStyleEvent = std::function<void(TVantrix3& sender, TrtfStyle& style)>;
  using TrtfGetCaptionStyleEvent = std::function<void(TVantrix3& sender, int colNo, TrtfStyle& style)>;
  using TrtfGetDataStyleEvent = std::function<void(TVantrix3& sender, int row, int col, TrtfStyle& style)>;

  TRTFOptions& Options() { return options_; }
  const TRTFOptions& Options() const { return options_; }
  void SetOptions(const TRTFOptions& options) { options_.Assign(options); }

  // Each handler changes a copy of the style it is given, for that block or cell only.
  TrtfGetStyleEvent OnGetHeaderStyle, OnGetFooterStyle;
  TrtfGetCaptionStyleEvent OnGetCaptionStyle;
  TrtfGetDataStyleEvent OnGetDataStyle;

  // What the width of "X" is measured with (cells are that many twips per character); the
  // display's font metrics by default.
  void SetTextMeasure(const TextMeasure* measure) { measure_ = measure; }

  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  // "\", "{", "}" escaped and bytes above 127 as \'hh.
  void NormalString(std::string& text) const override;

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  void BeforeExport() override;
  void EndExport() override;
  void WriteCaptionRow() override;
  void WriteDataRow() override;
  std::string GetColCaption(int index) override;
  void GetColData(const TVantrixCol& col, std::string& text) override;

 private:
  struct StyleStrings {
    std::string align, font, color, fontStyle, background, highlight;
    // Font, colour and styles, and always one blank: a cell "12.5" never runs into "\cf0".
    std::string FontPart() const { return font + color + fontStyle + " "; }
  };
  TVantrixRTFWriter& Writer() const { return *static_cast<TVantrixRTFWriter*>(GetWriter()); }
  void StyleToStrs(const TrtfStyle& style, StyleStrings& out);
  void WriteBlock(const TStrings& lines, const TrtfStyle& blockStyle, const TrtfGetStyleEvent& event);

  TRTFOptions options_;
  // The caption alignments by column name, for the run: each caption looks its column up.
  TNameIndex captionAligns_;
  const TextMeasure* measure_ = nullptr;
  StyleStrings strings_;
  TrtfStyle cellStyle_;
  std::string cell_;
};

}  // namespace vantrix
