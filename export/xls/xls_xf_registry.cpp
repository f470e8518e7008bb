#include "export/xls/xls_xf_registry.h"

#include <memory>

#include "export/xls/xls_error.h"

namespace vantrix {
namespace {

constexpr int kMaxIndex = 0xFFFF;

int NextIndex(int& counter, const char* what) {
  if (counter >= kMaxIndex) throw ExlsFileError(std::string("A workbook holds at most 65,535 ") + what);
  return ++counter;
}

bool IsGeneral(std::u16string_view text) { return text.empty() || text == u"General"; }

}  // namespace

uint16_t TxlsXFRegistry::AddXF(std::u16string_view formatText, const TxlsFormat* format) {
  const bool general = IsGeneral(formatText);
  if (general && format == nullptr) return kDefaultCellXF;
  if (!general) candidateText_.FormatText.assign(formatText.substr(0, kMaxFormatLength));
  TxlsXFormat candidate(nullptr, general ? nullptr : &candidateText_);
  if (format != nullptr) {
    if (!format->Font.IsEqual(&defaultFont_)) {
      candidateFont_.Assign(format->Font);
      candidate.Font = &candidateFont_;
    }
    candidate.Borders = format->Borders;
    candidate.Fill = format->Fill;
    candidate.Alignment = format->Alignment;
    candidate.Wrap = format->Wrap;
    candidate.Rotation = format->Rotation;
  }
  if (const int found = XFormats.FormatIndexByFormat(candidate); found >= 0) return static_cast<uint16_t>(found);

  auto xf = std::make_unique<TxlsXFormat>(candidate);
  if (candidate.Font != nullptr) {
    int position = Fonts.ListIndexByFont(*candidate.Font);
    if (position < 0) {
      AddFont(*candidate.Font);
      position = static_cast<int>(Fonts.Count()) - 1;
    }
    xf->Font = Fonts.Get(static_cast<size_t>(position));
  }
  if (candidate.TextFormat != nullptr) xf->TextFormat = RegisterTextFormat(candidate.TextFormat->FormatText);
  xf->XFIndex = static_cast<uint16_t>(NextIndex(xfCounter_, "cell formats"));
  return XFormats.Add(std::move(xf))->XFIndex;
}

uint16_t TxlsXFRegistry::AddFont(const TxlsFont& font) {
  if (const int index = Fonts.FontIndexByFont(font); index >= 0) return static_cast<uint16_t>(index);
  auto entry = std::make_unique<TxlsFont>();
  entry->Assign(font);
  entry->FontIndex = static_cast<uint16_t>(NextIndex(fontCounter_, "fonts"));
  return Fonts.Add(std::move(entry))->FontIndex;
}

TxlsTextFormat* TxlsXFRegistry::RegisterTextFormat(std::u16string_view text) {
  if (const int position = TextFormats.ListIndexByString(text); position >= 0)
    return TextFormats.Get(static_cast<size_t>(position));
  auto entry = std::make_unique<TxlsTextFormat>();
  entry->FormatText.assign(text);
  entry->FormatIndex = static_cast<uint16_t>(NextIndex(formatCounter_, "number formats"));
  return TextFormats.Add(std::move(entry));
}

const TxlsFont* TxlsXFRegistry::FontOfXF(int xfIndex) const {
  const TxlsXFormat* xf = XF(xfIndex);
  return xf != nullptr ? xf->Font : nullptr;
}

}  // namespace vantrix
