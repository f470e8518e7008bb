#include "export/rtf_style.h"

#include "platform/ini_file.h"

namespace vantrix {

void TrtfStyle::SetDefault() {
  Font = TVantrixFont();
  Font.name = "Arial";
  Font.size = 10;
  Font.styles = 0;
  Font.color = 0x000000;
  BackgroundColor = 0xFFFFFF;
  HighlightColor = 0xFFFFFF;
  AllowHighlight = false;
  AllowBackground = true;
  Alignment = talLeft;
}

void TrtfStyle::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteString(section, "FontName", Font.name);
  ini.WriteInteger(section, "FontSize", Font.size);
  ini.WriteInteger(section, "FontColor", static_cast<int>(Font.color));
  ini.WriteBool(section, "FontBold", Font.HasStyle(fsBold));
  ini.WriteBool(section, "FontItalic", Font.HasStyle(fsItalic));
  ini.WriteBool(section, "FontUnderline", Font.HasStyle(fsUnderline));
  ini.WriteBool(section, "FontStrikeOut", Font.HasStyle(fsStrikeOut));
  ini.WriteInteger(section, "BackgroundColor", static_cast<int>(BackgroundColor));
  ini.WriteInteger(section, "HighlightColor", static_cast<int>(HighlightColor));
  ini.WriteBool(section, "AllowHighlight", AllowHighlight);
  ini.WriteBool(section, "AllowBackground", AllowBackground);
  ini.WriteInteger(section, "Alignment", static_cast<int>(Alignment));
}

void TrtfStyle::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  SetDefault();
  Font.name = ini.ReadString(section, "FontName", Font.name);
  Font.size = BoundedFontSize(ini.ReadInteger(section, "FontSize", Font.size));
  Font.color = static_cast<uint32_t>(ini.ReadInteger(section, "FontColor", static_cast<int>(Font.color)));
  EditFontStyle(Font, fsBold, ini.ReadBool(section, "FontBold", Font.HasStyle(fsBold)));
  EditFontStyle(Font, fsItalic, ini.ReadBool(section, "FontItalic", Font.HasStyle(fsItalic)));
  EditFontStyle(Font, fsUnderline, ini.ReadBool(section, "FontUnderline", Font.HasStyle(fsUnderline)));
  EditFontStyle(Font, fsStrikeOut, ini.ReadBool(section, "FontStrikeOut", Font.HasStyle(fsStrikeOut)));
  BackgroundColor =
      static_cast<uint32_t>(ini.ReadInteger(section, "BackgroundColor", static_cast<int>(BackgroundColor)));
  HighlightColor = static_cast<uint32_t>(ini.ReadInteger(section, "HighlightColor", static_cast<int>(HighlightColor)));
  AllowHighlight = ini.ReadBool(section, "AllowHighlight", AllowHighlight);
  AllowBackground = ini.ReadBool(section, "AllowBackground", AllowBackground);
  const int alignment = ini.ReadInteger(section, "Alignment", static_cast<int>(Alignment));
  // A value no alignment has would select no paragraph form at all: keep the default.
  if (alignment >= talLeft && alignment <= talFill) Alignment = static_cast<TrtfTextAlignment>(alignment);
}

void SetDefaultRTFCaption(TrtfStyle& style) {
  style.SetDefault();
  EditFontStyle(style.Font, fsBold, true);
  style.Alignment = talCenter;
}

TrtfStyle& TrtfStyles::Add() {
  items_.push_back(std::make_unique<TrtfStyle>());
  return *items_.back();
}

void TrtfStyles::Assign(const TrtfStyles& other) {
  if (&other == this) return;
  items_.clear();
  for (const auto& style : other.items_) Add().Assign(*style);
}

void TrtfStyles::SaveToIniFile(platform::IniFile& ini, const std::string& prefix) const {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->SaveToIniFile(ini, prefix + std::to_string(i));
}

void TrtfStyles::LoadFromIniFile(const platform::IniFile& ini, const std::string& prefix) {
  items_.clear();
  for (const std::string& section : ini.ReadSectionsStartingWith(prefix)) Add().LoadFromIniFile(ini, section);
}

TRTFOptions::TRTFOptions() {
  CaptionStyle.Assign(DataStyle);
  EditFontStyle(CaptionStyle.Font, fsBold, true);
  CaptionStyle.Alignment = talCenter;
}

void TRTFOptions::Assign(const TRTFOptions& other) {
  if (&other == this) return;
  CaptionAligns = other.CaptionAligns;
  CaptionStyle.Assign(other.CaptionStyle);
  DataStyle.Assign(other.DataStyle);
  PageOrientation = other.PageOrientation;
  StripStyles.Assign(other.StripStyles);
  StripType = other.StripType;
  HeaderStyle.Assign(other.HeaderStyle);
  FooterStyle.Assign(other.FooterStyle);
}

}  // namespace vantrix
