#pragma once
// How the workbook model writes its values into option files: palette colours as colour
// texts, enumerations as ordinals, wide texts as code page 1252. Reading never fails: a key
// that is missing, or holds something that is not a value of its kind (a colour text that
// names no colour, an ordinal out of range), gives the key's default and the rest still loads.
#include <algorithm>
#include <string>

#include "export/xls/xls_palette.h"
#include "export/xls/xls_utils.h"
#include "platform/ini_file.h"

namespace vantrix::xlsini {

inline void WriteColor(platform::IniFile& ini, const std::string& section, const std::string& key, TxlsColor c) {
  ini.WriteString(section, key, XLSClr2Str(c));
}

inline TxlsColor ReadColor(const platform::IniFile& ini, const std::string& section, const std::string& key,
                           TxlsColor def) {
  return Str2XLSClrDef(ini.ReadString(section, key, XLSClr2Str(def)), def);
}

inline void WriteWide(platform::IniFile& ini, const std::string& section, const std::string& key,
                      std::u16string_view text) {
  ini.WriteString(section, key, WideToCp1252(text));
}

inline WideString ReadWide(const platform::IniFile& ini, const std::string& section, const std::string& key,
                           std::u16string_view def) {
  return Cp1252ToWide(ini.ReadString(section, key, WideToCp1252(def)));
}

// An ordinal of an enumeration with count values; def when missing or out of range.
template <class E>
E ReadEnum(const platform::IniFile& ini, const std::string& section, const std::string& key, E def, int count) {
  const int v = ini.ReadInteger(section, key, static_cast<int>(def));
  return v >= 0 && v < count ? static_cast<E>(v) : def;
}

// An integer kept within the field's range.
inline int ReadClamped(const platform::IniFile& ini, const std::string& section, const std::string& key, int def,
                       int low, int high) {
  return std::clamp(ini.ReadInteger(section, key, def), low, high);
}

// A row or column number the records hold in 16 bits (0 means not set): a larger number in a
// hand-edited file stops at the last one instead of wrapping round to a cell near the top.
inline int ReadWord(const platform::IniFile& ini, const std::string& section, const std::string& key, int def) {
  return ReadClamped(ini, section, key, def, 0, 65535);
}

// A column number the records hold in 8 bits.
inline int ReadByte(const platform::IniFile& ini, const std::string& section, const std::string& key, int def) {
  return ReadClamped(ini, section, key, def, 0, 255);
}

}  // namespace vantrix::xlsini
