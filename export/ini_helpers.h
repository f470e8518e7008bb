#pragma once
// INI functions of the export library on the program's INI file class, and font persistence.
#include <string>
#include <vector>

#include "export/vantrix_font.h"
#include "platform/ini_file.h"

namespace vantrix {

// Erases every section of the file.
void ClearIniFile(platform::IniFile& ini);
// Raises EVantrixError, naming the file and why, when the file exists but cannot be read (a
// UTF-16 file among them): loading it would give every option its default without a word.
void CheckIniFileReadable(const platform::IniFile& ini);
// Why the file's last save failed, ready to follow a message (": Permission denied"); empty
// when nothing was said.
std::string IniFileWriteReason(const platform::IniFile& ini);
// "Cannot write the file "<path>"" and the reason: the words an options, style or template
// file that could not be saved is told in.
std::string IniFileWriteErrorText(const platform::IniFile& ini);
// The section has at least one key (a bare header does not count).
bool IniFileSectionExists(const platform::IniFile& ini, const std::string& section);
bool IniFileValueExists(const platform::IniFile& ini, const std::string& section, const std::string& key);

// "FontName", "FontBold", "FontItalic", "FontUnderline", "FontStrikeOut", "FontSize",
// "FontColor" (a colour identifier or "$" and eight hexadecimal digits), "FontCharset", in
// this order.
void SaveFontToIniFile(const TVantrixFont& font, platform::IniFile& ini, const std::string& section);
// The same keys, each with the default font's value when missing or unreadable.
void LoadFontFromIniFile(TVantrixFont& font, const TVantrixFont& defaultFont, const platform::IniFile& ini,
                         const std::string& section);

// The values of a list section in key order: each entry's text after its first "=" (an entry
// "line0=col=Caption" gives "col=Caption").
std::vector<std::string> ReadListSection(const platform::IniFile& ini, const std::string& section);
// A list of "name=value" lines (column widths, alignments, lengths) saved as "line<i>" keys:
// each such entry is the text after its first "=", as ReadListSection reads it; an entry
// whose key is no "line<i>" is taken whole ("Canal=R"), as such sections were written by
// hand or read by older versions.
std::vector<std::string> ReadNameValueListSection(const platform::IniFile& ini, const std::string& section);
// Erases the section, then writes one key per line: prefix followed by the line's index.
void WriteListSection(platform::IniFile& ini, const std::string& section, const std::string& keyPrefix,
                      const std::vector<std::string>& lines);

}  // namespace vantrix
