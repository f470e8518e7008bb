// The cell formats, field formats, strip styles and note formats in option files.
#include "export/xls/xls_format.h"
#include "export/xls/xls_ini.h"

namespace vantrix {
namespace {

using namespace xlsini;

void SaveFontKeys(const TxlsFont& font, platform::IniFile& ini, const std::string& section) {
  WriteWide(ini, section, "FontName", font.Name);
  ini.WriteInteger(section, "FontSize", font.Size);
  WriteColor(ini, section, "FontColor", font.Color);
  ini.WriteBool(section, "FontBold", font.Style.Has(xfsBold));
  ini.WriteBool(section, "FontItalic", font.Style.Has(xfsItalic));
  ini.WriteBool(section, "FontStrikeOut", font.Style.Has(xfsStrikeOut));
  ini.WriteInteger(section, "FontUnderline", font.Underline);
}

void LoadFontKeys(TxlsFont& font, const TxlsFont& defaults, const platform::IniFile& ini, const std::string& section) {
  font.Name = ReadWide(ini, section, "FontName", defaults.Name);
  font.Size = ini.ReadInteger(section, "FontSize", defaults.Size);
  font.Color = ReadColor(ini, section, "FontColor", defaults.Color);
  font.Style.Set(xfsBold, ini.ReadBool(section, "FontBold", defaults.Style.Has(xfsBold)));
  font.Style.Set(xfsItalic, ini.ReadBool(section, "FontItalic", defaults.Style.Has(xfsItalic)));
  font.Style.Set(xfsStrikeOut, ini.ReadBool(section, "FontStrikeOut", defaults.Style.Has(xfsStrikeOut)));
  font.Underline = ReadEnum(ini, section, "FontUnderline", defaults.Underline, fulDoubleAccounting + 1);
}

void SaveAlignmentKeys(const TxlsAlignment& a, platform::IniFile& ini, const std::string& section) {
  ini.WriteInteger(section, "HorAlignment", a.Horizontal);
  ini.WriteInteger(section, "VertAlignment", a.Vertical);
}

void LoadAlignmentKeys(TxlsAlignment& a, const TxlsAlignment& defaults, const platform::IniFile& ini,
                       const std::string& section) {
  a.Horizontal = ReadEnum(ini, section, "HorAlignment", defaults.Horizontal, halFill + 1);
  a.Vertical = ReadEnum(ini, section, "VertAlignment", defaults.Vertical, valJustify + 1);
}

struct BorderKey {
  const char* name;
  TxlsBorder TxlsBorders::*border;
};
constexpr BorderKey kBorderKeys[] = {{"BorderTop", &TxlsBorders::Top},
                                     {"BorderBottom", &TxlsBorders::Bottom},
                                     {"BorderLeft", &TxlsBorders::Left},
                                     {"BorderRight", &TxlsBorders::Right}};

}  // namespace

void TxlsFormat::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  SaveFontKeys(Font, ini, section);
  SaveAlignmentKeys(Alignment, ini, section);
  for (const BorderKey& key : kBorderKeys) {
    const TxlsBorder& border = Borders.*key.border;
    ini.WriteInteger(section, key.name, border.Style);
    WriteColor(ini, section, std::string(key.name) + "Color", border.Color);
  }
  ini.WriteInteger(section, "FillPattern", Fill.Pattern);
  WriteColor(ini, section, "FillBackground", Fill.Background);
  WriteColor(ini, section, "FillForeground", Fill.Foreground);
}

void TxlsFormat::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  LoadFontKeys(Font, TxlsFont(), ini, section);
  LoadAlignmentKeys(Alignment, TxlsAlignment(), ini, section);
  for (const BorderKey& key : kBorderKeys) {
    TxlsBorder& border = Borders.*key.border;
    border.Style = ReadEnum(ini, section, key.name, bstNone, bstSlantedDashDot + 1);
    border.Color = ReadColor(ini, section, std::string(key.name) + "Color", clrBlack);
  }
  Fill.Pattern = ReadEnum(ini, section, "FillPattern", ptNone, ptThinThinSpots + 1);
  Fill.Background = ReadColor(ini, section, "FillBackground", clrWhite);
  Fill.Foreground = ReadColor(ini, section, "FillForeground", clrBlack);
}

void TxlsFieldFormat::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  TxlsFormat::SaveToIniFile(ini, section);
  ini.WriteInteger(section, "Aggregate", Aggregate);
}

void TxlsFieldFormat::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  TxlsFormat::LoadFromIniFile(ini, section);
  Aggregate = ReadEnum(ini, section, "Aggregate", aggNone, aggMax + 1);
}

void TxlsFormats::SaveToIniFile(platform::IniFile& ini, const std::string& prefix) const {
  for (size_t i = 0; i < Count(); ++i) GetItem(i).SaveToIniFile(ini, prefix + std::to_string(i));
}

void TxlsFormats::LoadFromIniFile(const platform::IniFile& ini, const std::string& prefix) {
  Clear();
  for (const std::string& section : ini.ReadSectionsStartingWith(prefix)) Add().LoadFromIniFile(ini, section);
}

void TxlsNoteFormat::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  SaveFontKeys(Font, ini, section);
  SaveAlignmentKeys(Alignment, ini, section);
  ini.WriteInteger(section, "BackgroundColor", static_cast<int>(BackgroundColor));
  ini.WriteInteger(section, "ForegroundColor", static_cast<int>(ForegroundColor));
  ini.WriteInteger(section, "FillType", FillType);
  ini.WriteInteger(section, "Transparency", Transparency);
  ini.WriteInteger(section, "Orientation", Orientation);
  ini.WriteInteger(section, "Gradient", Gradient);
}

void TxlsNoteFormat::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  const TxlsNoteFormat defaults;
  LoadFontKeys(Font, defaults.Font, ini, section);
  LoadAlignmentKeys(Alignment, defaults.Alignment, ini, section);
  BackgroundColor = static_cast<uint32_t>(ini.ReadInteger(section, "BackgroundColor", kDefaultColor));
  ForegroundColor = static_cast<uint32_t>(ini.ReadInteger(section, "ForegroundColor", kDefaultColor));
  FillType = ReadEnum(ini, section, "FillType", nftSolid, nftGradient + 1);
  SetTransparency(ini.ReadInteger(section, "Transparency", 0));
  Orientation = ReadEnum(ini, section, "Orientation", xrtNoRotation, xlrClockWise + 1);
  Gradient = ReadEnum(ini, section, "Gradient", ngrHorizontal, ngrFromCenter + 1);
}

}  // namespace vantrix
