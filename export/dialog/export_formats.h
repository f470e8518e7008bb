#pragma once
// The export dialog's fourteen formats: their display names and save-dialog filters (library
// strings, refilled each time a dialog form starts so that a changed string table shows) and
// their file extensions.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrix {

enum TAllowedExport {
  aeXLS, aeWord, aeRTF, aeHTML, aeXML, aeDBF, aePDF, aeTXT, aeCSV, aeDIFF, aeSylk, aeLaTeX, aeSQL, aeClipboard,
};
inline constexpr int kAllowedExportCount = 14;

// A set of formats, bit i for format i (16 bits as the component stores it).
class TAllowedExports {
 public:
  constexpr TAllowedExports() = default;
  constexpr explicit TAllowedExports(uint16_t bits) : bits_(bits & kAll) {}
  static constexpr TAllowedExports All() { return TAllowedExports(kAll); }
  bool Has(TAllowedExport e) const { return (bits_ >> e) & 1u; }
  void Include(TAllowedExport e) { bits_ = static_cast<uint16_t>(bits_ | (1u << e)); }
  void Exclude(TAllowedExport e) { bits_ = static_cast<uint16_t>(bits_ & ~(1u << e)); }
  bool Empty() const { return bits_ == 0; }
  uint16_t Bits() const { return bits_; }
  bool operator==(const TAllowedExports&) const = default;

 private:
  static constexpr uint16_t kAll = 0x3FFF;
  uint16_t bits_ = 0;
};

using TExportTypeStrings = std::array<std::string, kAllowedExportCount>;

// The three columns of the table (code page 1252).
const TExportTypeStrings& ExportTypeNames();
const TExportTypeStrings& ExportTypeFilters();
const TExportTypeStrings& ExportTypeExtensions();
// Refill the names and the filters from the library strings (the clipboard has no filter).
void FillExportTypeStringArray();
void FillExportTypeFilterArray();

// A filter of "Desc|pattern|Desc|pattern" pairs as Qt's file dialogs take it:
// "Desc (*.a *.b);;...". A description's own parenthesised patterns are replaced by the pair's
// patterns, which may be separated by ";", "," or blanks, or not at all ("*.html*.htm").
QString QtFileFilter(std::string_view classicFilter);

}  // namespace vantrix
