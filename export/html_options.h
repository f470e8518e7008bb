#pragma once
// The HTML exporter's options: the table (geometry and row colours), the page (colours, links
// and text font), the navigation bars of a multi-file export, the nine colour templates that
// preset them, the template files (.htf) and the options' INI persistence.
#include <cstdint>
#include <string>

#include "export/html_types.h"
#include "export/string_list.h"
#include "export/vantrix_font.h"

namespace platform {
class IniFile;
}

namespace vantrix {

// Colours are 0x00BBGGRR.
class TTableOptions {
 public:
  int CellPadding = 4;
  int CellSpacing = 1;
  int Border = 1;
  TStrings AdvancedAttributes;  // kept and saved, never written into a page
  uint32_t OddRowBgColor = 0xCE6B00, HeadersRowFontColor = 0xFFFFFF, TableFontColor = 0xFFFFFF,
           TableBgColor = 0xEC7A00, HeadersRowBgColor = 0x0000FF;
  uint32_t BorderColor = 0xFFFFFF;  // white: no border colour
  std::string BackgroundFileName;

  // Everything but the background file.
  void Assign(const TTableOptions& other);
  // Always in section "HTML", whatever section is named.
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section);
};

class THTMLOptions {
 public:
  THTMLOptions();

  uint32_t BackgroundColor = 0x993333;
  std::string BackgroundFileName;
  uint32_t VLinkColor = 0xFF00FF, LinkColor = 0x7DEF69, ALinkColor = 0x00FF00;
  TVantrixFont TextFont;
  TStrings AdvancedAttributes;
  TDefaultOptions DefaultOptions = DefaultOptionsOf({doFontSize});

  // Everything but the default options.
  void Assign(const THTMLOptions& other);
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section);
};

class TVantrixHTMLNavigation {
 public:
  std::string IndexLinkTemplate;
  bool OnBottom = true;
  bool OnTop = true;
  std::string IndexLinkTitle = "Index", FirstLinkTitle = "First", PriorLinkTitle = "Prior", NextLinkTitle = "Next",
              LastLinkTitle = "Last";
  void Assign(const TVantrixHTMLNavigation& other) { *this = other; }
};

enum THTMLTemplate { htCustom, htBW, htClassic, htColorFul, htGray, htMS_Money, htMurky, htOlive, htPlain, htSimple };

// "Custom", "Black&White", "Classic", ... as the dialog lists them.
std::string TemplateToStr(THTMLTemplate value);
// The template's colours and font into the options; htCustom changes nothing.
void ApplyHTMLTemplate(THTMLTemplate value, THTMLOptions& html, TTableOptions& table);

// A colour as a page writes it: "#" and six lower-case hex digits, RRGGBB (system colours
// resolved first).
std::string HTMLColor(uint32_t color);

// Template files: "HTML options" and "Table options" sections of decimal colours and the font
// name; loading keeps the present value of every key that is missing.
void SaveHTMLTemplateToFile(const std::string& path, const THTMLOptions& html, const TTableOptions& table);
void LoadHTMLTemplateFromFile(const std::string& path, THTMLOptions& html, TTableOptions& table);

}  // namespace vantrix
