#pragma once
// How the rich-text exporter styles a cell, a caption, a header or a footer line: a font, a
// background and a highlight colour with their switches, and the paragraph alignment; the
// lists of strip styles that alternate by row or column; and the exporter's options that hold
// them. The styles save themselves to INI files (the export dialog's style files).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/page_units.h"
#include "export/string_list.h"
#include "export/vantrix_font.h"

namespace platform {
class IniFile;
}

namespace vantrix {

enum TrtfTextAlignment { talLeft, talRight, talCenter, talFill };
enum TrtfStripType { stNone, stCol, stRow };

class TrtfStyle {
 public:
  TrtfStyle() { SetDefault(); }
  virtual ~TrtfStyle() = default;
  TrtfStyle(const TrtfStyle&) = default;
  TrtfStyle& operator=(const TrtfStyle&) = default;

  TVantrixFont Font;
  uint32_t BackgroundColor = 0xFFFFFF;
  uint32_t HighlightColor = 0xFFFFFF;
  bool AllowHighlight = false;
  bool AllowBackground = true;
  TrtfTextAlignment Alignment = talLeft;

  // Arial 10 in black without styles, both colours white, highlight off, background on, left.
  virtual void SetDefault();
  void Assign(const TrtfStyle& other) { *this = other; }

  // "FontName", "FontSize", "FontColor", "FontBold", "FontItalic", "FontUnderline",
  // "FontStrikeOut", "BackgroundColor", "HighlightColor", "AllowHighlight", "AllowBackground",
  // "Alignment", in this order; colours as integers.
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const;
  // Back to the defaults first, then every key read with that value as its default.
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section);

  bool operator==(const TrtfStyle&) const = default;
};

// The defaults made bold and centred: what a caption looks like unless told otherwise.
void SetDefaultRTFCaption(TrtfStyle& style);

class TrtfStyles {
 public:
  // The owner names the object holding the list; it is never dereferenced.
  explicit TrtfStyles(const void* owner = nullptr) : owner_(owner) {}
  TrtfStyles(const TrtfStyles&) = delete;
  TrtfStyles& operator=(const TrtfStyles&) = delete;

  TrtfStyle& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TrtfStyle& GetItem(int i) const { return *items_.at(static_cast<size_t>(i)); }
  TrtfStyle& operator[](int i) const { return GetItem(i); }
  void SetItem(int i, const TrtfStyle& style) { GetItem(i).Assign(style); }
  void Clear() { items_.clear(); }
  void Delete(int i) { items_.erase(items_.begin() + i); }
  // As many styles as the other list, each a copy of its own.
  void Assign(const TrtfStyles& other);
  const void* Owner() const { return owner_; }

  // Style i in section prefix + i (decimal, from 0).
  void SaveToIniFile(platform::IniFile& ini, const std::string& prefix) const;
  // Cleared, then one style per section whose name begins with the prefix (case ignored), in
  // the file's section order.
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& prefix);

 private:
  const void* owner_;
  std::vector<std::unique_ptr<TrtfStyle>> items_;
};

// The rich-text exporter's options: the caption style starts as the data style made bold and
// centred.
class TRTFOptions {
 public:
  TRTFOptions();
  TRTFOptions(const TRTFOptions&) = delete;
  TRTFOptions& operator=(const TRTFOptions&) = delete;

  TStrings CaptionAligns;  // column name "=" alignment ("Center", "Right", anything else left)
  TrtfStyle CaptionStyle, DataStyle, HeaderStyle, FooterStyle;
  TVantrixPageOrientation PageOrientation = poPortrait;
  TrtfStyles StripStyles{this};
  TrtfStripType StripType = stNone;

  void SetCaptionStyle(const TrtfStyle& style) { CaptionStyle.Assign(style); }
  void SetDataStyle(const TrtfStyle& style) { DataStyle.Assign(style); }
  void SetHeaderStyle(const TrtfStyle& style) { HeaderStyle.Assign(style); }
  void SetFooterStyle(const TrtfStyle& style) { FooterStyle.Assign(style); }
  void SetStripStyles(const TrtfStyles& styles) { StripStyles.Assign(styles); }
  void Assign(const TRTFOptions& other);
};

}  // namespace vantrix
