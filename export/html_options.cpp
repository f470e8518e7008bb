#include "export/html_options.h"

#include <algorithm>
#include <iterator>

#include "export/ini_helpers.h"
#include "export/library_strings.h"
#include "platform/color_text.h"
#include "platform/ini_file.h"
#include "platform/system_colors.h"

namespace vantrix {
namespace {

constexpr const char* kSection = "HTML";

struct TemplateColors {
  uint32_t background, link, vlink, alink, font, headerBg, headerFont, tableBg, tableFont, oddRowBg;
};

// By THTMLTemplate from htBW on.
constexpr TemplateColors kTemplates[] = {
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xF3F3F3},
    {0x993333, 0x7DEF69, 0xFF00FF, 0x00FF00, 0xFFFFFF, 0x0000FF, 0xFFFFFF, 0xEC7A00, 0xFFFFFF, 0xCE6B00},
    {0x669933, 0xCC6600, 0xC13F92, 0xFF0000, 0xFFFFFF, 0x3300CC, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x00F1FA},
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x000000, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xEEEEEE},
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x000000, 0xB5C6CE, 0x000000, 0xDEE7DE, 0x000000, 0xF0FBFF},
    {0x767631, 0x60E7FF, 0x39CCCC, 0x00FFFF, 0xFFFFFF, 0x93933A, 0xFFFFFF, 0x626227, 0x60E7FF, 0x007836},
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x5F605F, 0x90C8CF, 0x000000, 0xFFFFFF, 0x5F605F, 0xCFFFFF},
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x000000, 0xE68F06, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xD9FCFF},
    {0xFFFFFF, 0x0000FF, 0x800080, 0xFF0000, 0x804000, 0x996633, 0xFFFFFF, 0xFFFFFF, 0x000000, 0xCFFFFF},
};

constexpr const char* kTemplateNames[] = {"Custom", "Black&White", "Classic", "ColorFul", "Gray",
                                          "MS_Money", "Murky", "Olive", "Plain", "Simple"};

uint32_t ReadColor(const platform::IniFile& ini, const std::string& key, uint32_t current) {
  uint32_t color = current;
  if (!platform::TryStringToColor(ini.ReadString(kSection, key, ""), color)) return current;
  return color;
}

void WriteColor(platform::IniFile& ini, const std::string& key, uint32_t color) {
  ini.WriteString(kSection, key, platform::ColorToString(color));
}

std::string CommaText(const TStrings& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += ",";
    const bool quote = lines[i].empty() || lines[i].find_first_of(" ,\"") != std::string::npos;
    if (!quote) {
      out += lines[i];
      continue;
    }
    out += '"';
    for (const char c : lines[i]) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    out += '"';
  }
  return out;
}

TStrings FromCommaText(const std::string& text) {
  TStrings out;
  size_t i = 0;
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') item += text[++i];
        else if (text[i] == '"') break;
        else item += text[i];
      }
      const size_t comma = text.find(',', i);
      i = comma == std::string::npos ? text.size() : comma + 1;
    } else {
      const size_t comma = text.find(',', i);
      item = text.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
      i = comma == std::string::npos ? text.size() : comma + 1;
    }
    out.push_back(item);
  }
  return out;
}

}  // namespace

void TTableOptions::Assign(const TTableOptions& other) {
  if (&other == this) return;
  const std::string keep = BackgroundFileName;
  *this = other;
  BackgroundFileName = keep;
}

void TTableOptions::SaveToIniFile(platform::IniFile& ini, const std::string&) const {
  ini.WriteInteger(kSection, "CellPadding", CellPadding);
  ini.WriteInteger(kSection, "CellSpacing", CellSpacing);
  ini.WriteInteger(kSection, "BorderWidth", Border);
  ini.WriteString(kSection, "TableBackground", BackgroundFileName);
  ini.WriteString(kSection, "TableAdvanced", CommaText(AdvancedAttributes));
  WriteColor(ini, "OddRowBackgroundColor", OddRowBgColor);
  WriteColor(ini, "HeadFontColor", HeadersRowFontColor);
  WriteColor(ini, "DataFontColor", TableFontColor);
  WriteColor(ini, "EvenRowBackgroundColor", TableBgColor);
  WriteColor(ini, "HeadBackgroundColor", HeadersRowBgColor);
}

void TTableOptions::LoadFromIniFile(const platform::IniFile& ini, const std::string&) {
  // Pixel counts of the table's attributes: a negative one is no HTML.
  CellPadding = std::max(ini.ReadInteger(kSection, "CellPadding", CellPadding), 0);
  CellSpacing = std::max(ini.ReadInteger(kSection, "CellSpacing", CellSpacing), 0);
  Border = std::max(ini.ReadInteger(kSection, "BorderWidth", Border), 0);
  BackgroundFileName = ini.ReadString(kSection, "TableBackground", BackgroundFileName);
  AdvancedAttributes = FromCommaText(ini.ReadString(kSection, "TableAdvanced", CommaText(AdvancedAttributes)));
  OddRowBgColor = ReadColor(ini, "OddRowBackgroundColor", OddRowBgColor);
  HeadersRowFontColor = ReadColor(ini, "HeadFontColor", HeadersRowFontColor);
  TableFontColor = ReadColor(ini, "DataFontColor", TableFontColor);
  TableBgColor = ReadColor(ini, "EvenRowBackgroundColor", TableBgColor);
  HeadersRowBgColor = ReadColor(ini, "HeadBackgroundColor", HeadersRowBgColor);
}

THTMLOptions::THTMLOptions() {
  TextFont.name = "Arial";
  TextFont.color = 0xFFFFFF;
}

void THTMLOptions::Assign(const THTMLOptions& other) {
  if (&other == this) return;
  const TDefaultOptions keep = DefaultOptions;
  *this = other;
  DefaultOptions = keep;
}

void THTMLOptions::SaveToIniFile(platform::IniFile& ini, const std::string&) const {
  WriteColor(ini, "BackgroundColor", BackgroundColor);
  ini.WriteString(kSection, "BackgroundFile", BackgroundFileName);
  WriteColor(ini, "VLinkColor", VLinkColor);
  WriteColor(ini, "LinkColor", LinkColor);
  WriteColor(ini, "ALinkColor", ALinkColor);
  ini.WriteString(kSection, "FontName", TextFont.name);
  WriteColor(ini, "FontColor", TextFont.color);
  ini.WriteString(kSection, "BodyAdvanced", CommaText(AdvancedAttributes));
}

void THTMLOptions::LoadFromIniFile(const platform::IniFile& ini, const std::string&) {
  BackgroundColor = ReadColor(ini, "BackgroundColor", BackgroundColor);
  BackgroundFileName = ini.ReadString(kSection, "BackgroundFile", BackgroundFileName);
  VLinkColor = ReadColor(ini, "VLinkColor", VLinkColor);
  LinkColor = ReadColor(ini, "LinkColor", LinkColor);
  ALinkColor = ReadColor(ini, "ALinkColor", ALinkColor);
  TextFont.name = ini.ReadString(kSection, "FontName", "arial");
  TextFont.color = ReadColor(ini, "FontColor", TextFont.color);
  AdvancedAttributes = FromCommaText(ini.ReadString(kSection, "BodyAdvanced", CommaText(AdvancedAttributes)));
}

std::string TemplateToStr(THTMLTemplate value) {
  const int i = static_cast<int>(value);
  return i >= 0 && i < static_cast<int>(std::size(kTemplateNames)) ? kTemplateNames[i] : std::string();
}

void ApplyHTMLTemplate(THTMLTemplate value, THTMLOptions& html, TTableOptions& table) {
  const int i = static_cast<int>(value) - 1;
  if (i < 0 || i >= static_cast<int>(std::size(kTemplates))) return;
  const TemplateColors& t = kTemplates[i];
  html.BackgroundColor = t.background;
  html.LinkColor = t.link;
  html.VLinkColor = t.vlink;
  html.ALinkColor = t.alink;
  html.TextFont.color = t.font;
  html.TextFont.name = "Arial";
  table.HeadersRowBgColor = t.headerBg;
  table.HeadersRowFontColor = t.headerFont;
  table.TableBgColor = t.tableBg;
  table.TableFontColor = t.tableFont;
  table.OddRowBgColor = t.oddRowBg;
}

std::string HTMLColor(uint32_t color) {
  static constexpr char kHex[] = "0123456789abcdef";
  const uint32_t plain = platform::PlainColor(color);
  const unsigned bytes[3] = {plain & 0xFF, (plain >> 8) & 0xFF, (plain >> 16) & 0xFF};
  std::string out = "#";
  for (const unsigned byte : bytes) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 15]);
  }
  return out;
}

namespace {

// The colours of a template file, in the file's order, each as the section, key and where it
// lives; the font family goes after the first two.
struct TemplateColor {
  const char* section;
  const char* key;
  uint32_t* (*where)(THTMLOptions& html, TTableOptions& table);
};

constexpr TemplateColor kTemplateColors[] = {
    {"HTML options", "Background-color", [](THTMLOptions& h, TTableOptions&) { return &h.BackgroundColor; }},
    {"HTML options", "Font-color", [](THTMLOptions& h, TTableOptions&) { return &h.TextFont.color; }},
    {"HTML options", "LinkColor", [](THTMLOptions& h, TTableOptions&) { return &h.LinkColor; }},
    {"HTML options", "VLinkColor", [](THTMLOptions& h, TTableOptions&) { return &h.VLinkColor; }},
    {"HTML options", "ALinkColor", [](THTMLOptions& h, TTableOptions&) { return &h.ALinkColor; }},
    {"Table options", "Header-bgcolor", [](THTMLOptions&, TTableOptions& t) { return &t.HeadersRowBgColor; }},
    {"Table options", "Header-color", [](THTMLOptions&, TTableOptions& t) { return &t.HeadersRowFontColor; }},
    {"Table options", "Table-color", [](THTMLOptions&, TTableOptions& t) { return &t.TableFontColor; }},
    {"Table options", "Even_row-bgcolor", [](THTMLOptions&, TTableOptions& t) { return &t.TableBgColor; }},
    {"Table options", "Odd_row-bgcolor", [](THTMLOptions&, TTableOptions& t) { return &t.OddRowBgColor; }},
    {"Table options", "Border-color", [](THTMLOptions&, TTableOptions& t) { return &t.BorderColor; }},
};
constexpr size_t kColorsBeforeFont = 2;

}  // namespace

void SaveHTMLTemplateToFile(const std::string& path, const THTMLOptions& html, const TTableOptions& table) {
  platform::IniFile ini(path);
  platform::IniFile::UpdateScope update(ini);
  // The table only reads through the options it is given: copies are as good.
  THTMLOptions h = html;
  TTableOptions t = table;
  for (size_t i = 0; i < std::size(kTemplateColors); ++i) {
    if (i == kColorsBeforeFont) ini.WriteString("HTML options", "Font-family", html.TextFont.name);
    const TemplateColor& c = kTemplateColors[i];
    ini.WriteInteger(c.section, c.key, static_cast<int>(*c.where(h, t)));
  }
  if (!update.Commit()) throw EVantrixError(IniFileWriteErrorText(ini));
}

void LoadHTMLTemplateFromFile(const std::string& path, THTMLOptions& html, TTableOptions& table) {
  const platform::IniFile ini(path);
  // A file that cannot be read (a UTF-16 one among them) would give every colour its default.
  CheckIniFileReadable(ini);
  for (const TemplateColor& c : kTemplateColors) {
    uint32_t& value = *c.where(html, table);
    value = static_cast<uint32_t>(ini.ReadInteger(c.section, c.key, static_cast<int>(value)));
  }
  html.TextFont.name = ini.ReadString("HTML options", "Font-family", html.TextFont.name);
}

}  // namespace vantrix
