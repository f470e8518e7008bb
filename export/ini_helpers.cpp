#include "export/ini_helpers.h"

#include "export/library_strings.h"
#include "platform/color_text.h"
#include "platform/cp1252.h"

namespace vantrix {

void EditFontStyle(TVantrixFont& font, TFontStyle style, bool on) {
  const uint8_t bit = static_cast<uint8_t>(1u << style);
  font.styles = on ? static_cast<uint8_t>(font.styles | bit) : static_cast<uint8_t>(font.styles & ~bit);
}

void ClearIniFile(platform::IniFile& ini) { ini.EraseAllSections(); }

void CheckIniFileReadable(const platform::IniFile& ini) {
  using State = platform::IniFile::ReadState;
  const State state = ini.State();
  if (state == State::kRead) return;
  std::string message = "Cannot read the file \"" + platform::ExternalTextToCp1252(ini.FileName()) + "\"";
  if (!ini.ReadError().empty()) message += ": " + platform::ExternalTextToCp1252(ini.ReadError());
  if (state == State::kUtf16) message += "; save it as UTF-8 or as ANSI (code page 1252)";
  throw EVantrixError(message);
}

std::string IniFileWriteReason(const platform::IniFile& ini) {
  return ini.WriteError().empty() ? std::string() : ": " + platform::ExternalTextToCp1252(ini.WriteError());
}

std::string IniFileWriteErrorText(const platform::IniFile& ini) {
  return "Cannot write the file \"" + platform::ExternalTextToCp1252(ini.FileName()) + "\"" + IniFileWriteReason(ini);
}

bool IniFileSectionExists(const platform::IniFile& ini, const std::string& section) {
  return ini.SectionExists(section);
}

bool IniFileValueExists(const platform::IniFile& ini, const std::string& section, const std::string& key) {
  return ini.ValueExists(section, key);
}

void SaveFontToIniFile(const TVantrixFont& font, platform::IniFile& ini, const std::string& section) {
  ini.WriteString(section, "FontName", font.name);
  ini.WriteBool(section, "FontBold", font.HasStyle(fsBold));
  ini.WriteBool(section, "FontItalic", font.HasStyle(fsItalic));
  ini.WriteBool(section, "FontUnderline", font.HasStyle(fsUnderline));
  ini.WriteBool(section, "FontStrikeOut", font.HasStyle(fsStrikeOut));
  ini.WriteInteger(section, "FontSize", font.size);
  ini.WriteString(section, "FontColor", platform::ColorToString(font.color));
  ini.WriteInteger(section, "FontCharset", font.charset);
}

void LoadFontFromIniFile(TVantrixFont& font, const TVantrixFont& defaultFont, const platform::IniFile& ini,
                         const std::string& section) {
  font.name = ini.ReadString(section, "FontName", defaultFont.name);
  EditFontStyle(font, fsBold, ini.ReadBool(section, "FontBold", defaultFont.HasStyle(fsBold)));
  EditFontStyle(font, fsItalic, ini.ReadBool(section, "FontItalic", defaultFont.HasStyle(fsItalic)));
  EditFontStyle(font, fsUnderline, ini.ReadBool(section, "FontUnderline", defaultFont.HasStyle(fsUnderline)));
  EditFontStyle(font, fsStrikeOut, ini.ReadBool(section, "FontStrikeOut", defaultFont.HasStyle(fsStrikeOut)));
  font.size = BoundedFontSize(ini.ReadInteger(section, "FontSize", defaultFont.size));
  uint32_t color = defaultFont.color;
  if (!platform::TryStringToColor(ini.ReadString(section, "FontColor", ""), color)) color = defaultFont.color;
  font.color = color;
  // A character set is one byte wherever a font is made from it.
  const int charset = ini.ReadInteger(section, "FontCharset", defaultFont.charset);
  font.charset = charset >= 0 && charset <= 255 ? charset : defaultFont.charset;
}

std::vector<std::string> ReadListSection(const platform::IniFile& ini, const std::string& section) {
  std::vector<std::string> lines;
  for (const std::string& key : ini.ReadSection(section)) lines.push_back(ini.ReadString(section, key, ""));
  return lines;
}

std::vector<std::string> ReadNameValueListSection(const platform::IniFile& ini, const std::string& section) {
  std::vector<std::string> lines;
  for (const std::string& key : ini.ReadSection(section)) {
    const std::string value = ini.ReadString(section, key, "");
    bool numbered = key.size() > 4 && (key[0] == 'l' || key[0] == 'L') && (key[1] == 'i' || key[1] == 'I') &&
                    (key[2] == 'n' || key[2] == 'N') && (key[3] == 'e' || key[3] == 'E');
    for (size_t i = 4; numbered && i < key.size(); ++i) numbered = key[i] >= '0' && key[i] <= '9';
    lines.push_back(numbered ? value : key + "=" + value);
  }
  return lines;
}

void WriteListSection(platform::IniFile& ini, const std::string& section, const std::string& keyPrefix,
                      const std::vector<std::string>& lines) {
  ini.EraseSection(section);
  for (size_t i = 0; i < lines.size(); ++i) ini.WriteString(section, keyPrefix + std::to_string(i), lines[i]);
}

}  // namespace vantrix
