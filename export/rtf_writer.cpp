#include "export/rtf_writer.h"

#include <algorithm>
#include <filesystem>

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/rtf_text.h"
#include "platform/spill_file.h"
#include "platform/system_colors.h"

namespace vantrix {
namespace {

// The folder a file output is written in; empty for every other output.
std::string FolderOf(const OutputStream& stream) {
  const auto* file = dynamic_cast<const FileOutputStream*>(&stream);
  if (file == nullptr) return {};
  const std::string folder = std::filesystem::path(file->Path()).parent_path().string();
  return folder.empty() ? std::string(".") : folder;
}

std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out) c = static_cast<char>(platform::Cp1252FoldCase(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

TVantrixRTFWriter::TVantrixRTFWriter(TVantrix3& exporter, OutputStream& stream)
    : TVantrixWriter(exporter, stream), spillFolder_(FolderOf(stream)) {}

TVantrixRTFWriter::~TVantrixRTFWriter() = default;

void TVantrixRTFWriter::RaiseSpillError(const std::string& reason) const {
  const auto& file = static_cast<const FileOutputStream&>(Stream());
  throw EVantrixError("Cannot write the file \"" + platform::ExternalTextToCp1252(file.Path()) + "\": " + reason);
}

void TVantrixRTFWriter::SpillBody() {
  if (!spill_) {
    spill_ = std::make_unique<platform::SpillFile>();
    if (!spill_->Open(spillFolder_)) RaiseSpillError(spill_->Error());
  }
  if (!spill_->Write(body_.data(), body_.size())) RaiseSpillError(spill_->Error());
  body_.clear();
}

void TVantrixRTFWriter::WriteHeader() {
  Add("\\rtf" + std::to_string(Version));
  Add("\\" + CharacterSet);
  Add("\\deff" + std::to_string(DefaultFont));
  AddLine("\\deftab" + std::to_string(DefaultTab));
}

int TVantrixRTFWriter::AddFont(const std::string& name) {
  const int number = fonts_.empty() ? 0 : fonts_.back().number + 1;
  fonts_.push_back({number, "nil", name});
  fontIndex_.emplace(Folded(name), number);
  return number;
}

void TVantrixRTFWriter::SetFont(const TVantrixFont& font, bool writeIt, std::string& s) {
  const auto found = fontIndex_.find(Folded(font.name));
  const int number = found != fontIndex_.end() ? found->second : AddFont(font.name);
  // Half points; a size set in code is held to what a style file may give.
  s = "\\f" + std::to_string(number) + "\\fs" + std::to_string(BoundedFontSize(font.size) * 2);
  if (writeIt) AddLine(s);
}

int TVantrixRTFWriter::AddColor(uint32_t color) {
  const uint32_t plain = platform::PlainColor(color);
  colors_.push_back(plain);
  const int index = static_cast<int>(colors_.size()) - 1;
  colorIndex_.emplace(plain, index);
  return index;
}

void TVantrixRTFWriter::GetColorText(uint32_t color, TRTFColorKind kind, std::string& s) {
  const auto found = colorIndex_.find(platform::PlainColor(color));
  const int index = found != colorIndex_.end() ? found->second : AddColor(color);
  s = kind == ctText ? "\\cf" : kind == ctBackground ? "\\cbpat" : "\\highlight";
  s += std::to_string(index);
}

std::string TVantrixRTFWriter::AlignToStr(TVantrixColAlign align) const {
  switch (align) {
    case ecaLeft: return "\\ql";
    case ecaCenter: return "\\qc";
    case ecaRight: return "\\qr";
    default: return std::string();
  }
}

void TVantrixRTFWriter::Flush() {
  std::string tables = "{\\fonttbl";
  for (const FontItem& font : fonts_) {
    tables += "{\\f" + std::to_string(font.number) + "\\f" + font.family + " ";
    platform::AppendRtfText(tables, font.name);
    tables += ";}";
  }
  tables += "}\r\n{\\colortbl";
  for (const uint32_t color : colors_)
    tables += "\\red" + std::to_string(color & 0xFF) + "\\green" + std::to_string((color >> 8) & 0xFF) + "\\blue" +
              std::to_string((color >> 16) & 0xFF) + ";";
  tables += "}\r\n";
  Stream().Write(front_);
  Stream().Write(tables);
  if (spill_) {
    // The body set aside, back a chunk at a time, then what is still held.
    std::string chunk(kBodyChunk, '\0');
    for (size_t at = 0; at < spill_->Size();) {
      const long long n = spill_->ReadAt(at, chunk.data(), std::min(chunk.size(), spill_->Size() - at));
      if (n < 0) RaiseSpillError(spill_->Error());
      if (n == 0) RaiseSpillError("a temporary file beside it ended early");
      Stream().Write(chunk.data(), static_cast<size_t>(n));
      at += static_cast<size_t>(n);
    }
    spill_.reset();
  }
  Stream().Write(body_);
  front_.clear();
  body_.clear();
  body_.shrink_to_fit();
}

}  // namespace vantrix
