#pragma once
// The rich-text exporter's writer. Fonts and colours are found while the body is written, yet
// their tables stand before it: the front, the two tables and the body are kept apart and
// written in order at the end, each new font or colour appended to its table as the
// document's readers number them. The body, which grows with the rows, is set aside on the
// disk beside a file output a chunk at a time, so memory stays flat however long the document
// (other outputs hold the whole document anyway, and keep the body in memory). Looking a
// font or a colour up costs the same however many there are.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "export/vantrix_font.h"
#include "export/writer.h"

namespace platform {
class SpillFile;
}

namespace vantrix {

enum TRTFColorKind { ctText, ctBackground, ctHighlight };

class TVantrixRTFWriter : public TVantrixWriter {
 public:
  struct FontItem {
    int number;
    std::string family, name;
  };

  TVantrixRTFWriter(TVantrix3& exporter, OutputStream& stream);
  ~TVantrixRTFWriter() override;

  // The body held in memory before it goes to the disk.
  static constexpr size_t kBodyChunk = 1 << 20;

  // The header: version 1, default font 0, default tab 720, character set "ansi".
  int Version = 1;
  int DefaultTab = 720;
  int DefaultFont = 0;
  std::string CharacterSet = "ansi";

  // Text of the document, in order. Until both tables are placed it goes before them.
  void Add(std::string_view text) {
    Target().append(text);
    if (body_.size() >= kBodyChunk && !spillFolder_.empty()) SpillBody();
  }
  void AddLine(std::string_view text) {
    std::string& target = Target();
    target.append(text);
    target.append("\r\n");
    if (body_.size() >= kBodyChunk && !spillFolder_.empty()) SpillBody();
  }
  void WriteBOF() { Add("{"); }
  void WriteEOF() { Add("}"); }
  void WritePara() { AddLine("\\par"); }
  void WriteHeader();
  // Place the tables here; their entries are written with the document.
  void WriteFontTable() { fontTablePlaced_ = true; }
  void WriteColorTable() { colorTablePlaced_ = true; }

  // A font by name (case ignored), added with the next number when new; s = "\f<n>\fs<2 ×
  // size>", also written as a line when asked.
  void SetFont(const TVantrixFont& font, bool writeIt, std::string& s);
  int AddFont(const std::string& name);
  // A colour (system colours resolved), added when new; s = "\cf", "\cbpat" or "\highlight"
  // with its index.
  void GetColorText(uint32_t color, TRTFColorKind kind, std::string& s);
  int AddColor(uint32_t color);
  std::string AlignToStr(TVantrixColAlign align) const override;

  int FontCount() const { return static_cast<int>(fonts_.size()); }
  int ColorCount() const { return static_cast<int>(colors_.size()); }
  // The whole document to the output. Raises EVantrixError when the body set aside can't be
  // read back.
  void Flush();

 private:
  std::string& Target() { return fontTablePlaced_ && colorTablePlaced_ ? body_ : front_; }
  // The body held so far to the disk (once it is a chunk long and the output is a file);
  // raises EVantrixError when it can't be written.
  void SpillBody();
  [[noreturn]] void RaiseSpillError(const std::string& reason) const;

  std::string front_, body_;
  // The folder of the output file, where the body is set aside (a temporary folder may live
  // in memory, the output's has room for the document); empty for other outputs.
  std::string spillFolder_;
  std::unique_ptr<platform::SpillFile> spill_;
  bool fontTablePlaced_ = false, colorTablePlaced_ = false;
  std::vector<FontItem> fonts_;
  std::unordered_map<std::string, int> fontIndex_;  // case-folded name
  std::vector<uint32_t> colors_;                    // 0x00BBGGRR
  std::unordered_map<uint32_t, int> colorIndex_;
};

}  // namespace vantrix
