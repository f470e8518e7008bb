#include "export/xls/xls_link_note.h"

#include <algorithm>

#include "export/ini_helpers.h"
#include "export/xls/xls_ini.h"

namespace vantrix {
namespace {

using namespace xlsini;

constexpr uint8_t kStdLinkClsid[16] = {0xD0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                       0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr uint8_t kUrlMonikerClsid[16] = {0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                          0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr uint8_t kFileMonikerClsid[16] = {0x03, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void AppendWide(std::vector<uint8_t>& out, std::u16string_view text, bool terminated) {
  for (char16_t c : text) AppendWord(out, c);
  if (terminated) AppendWord(out, 0);
}

}  // namespace

// --- TxlsHyperlink ---------------------------------------------------------------------------

TxlsHyperlink::TxlsHyperlink(TxlsCollectionBase* collection) : TxlsCustomItem(collection) {
  if (const TxlsItemsOwner* owner = Owner(); owner != nullptr)
    if (const TxlsFormat* format = owner->HyperlinkFormatForNewItems(); format != nullptr) Format.Assign(*format);
}

void TxlsHyperlink::Assign(const TxlsHyperlink& source) {
  if (&source == this) return;
  Col = source.Col;
  Format.Assign(source.Format);
  Row = source.Row;
  Style = source.Style;
  Target = source.Target;
  Title = source.Title;
  ScreenTip = source.ScreenTip;
}

bool TxlsHyperlink::IsValid() const {
  return Col >= 1 && Col <= kXLSMaxCols && Row >= 1 && Row <= kXLSMaxRows && !Title.empty() && !Target.empty();
}

std::string TxlsHyperlink::GetShortTarget() const { return WideToCp1252(Target); }

uint32_t TxlsHyperlink::GetSize() const {
  uint32_t size = 38 + 2 * static_cast<uint32_t>(Title.size());
  if (Style == hlsURL) return size + 22 + 2 * static_cast<uint32_t>(Target.size());
  return size + 57 + static_cast<uint32_t>(GetShortTarget().size()) + 2 * static_cast<uint32_t>(Target.size());
}

std::vector<uint8_t> TxlsHyperlink::GetBody() const {
  std::vector<uint8_t> body;
  body.reserve(GetSize());
  const auto row = static_cast<uint16_t>(Row - 1);
  const auto col = static_cast<uint16_t>(Col - 1);
  for (const uint16_t v : {row, row, col, col}) AppendWord(body, v);
  body.insert(body.end(), std::begin(kStdLinkClsid), std::end(kStdLinkClsid));
  AppendInteger(body, 2);
  AppendInteger(body, 0x17);
  AppendInteger(body, static_cast<uint32_t>(Title.size() + 1));
  AppendWide(body, Title, true);
  if (Style == hlsURL) {
    body.insert(body.end(), std::begin(kUrlMonikerClsid), std::end(kUrlMonikerClsid));
    AppendInteger(body, static_cast<uint32_t>(2 * Target.size() + 2));
    AppendWide(body, Target, true);
  } else {
    const std::string path = GetShortTarget();
    body.insert(body.end(), std::begin(kFileMonikerClsid), std::end(kFileMonikerClsid));
    AppendWord(body, 0);
    AppendInteger(body, static_cast<uint32_t>(path.size() + 1));
    body.insert(body.end(), path.begin(), path.end());
    AppendByte(body, 0);
    for (const uint8_t b : {0xFF, 0xFF, 0xAD, 0xDE}) AppendByte(body, b);
    body.resize(body.size() + 20, 0);
    AppendInteger(body, static_cast<uint32_t>(6 + 2 * Target.size()));
    AppendInteger(body, static_cast<uint32_t>(2 * Target.size()));
    AppendWord(body, 0x0003);
    AppendWide(body, Target, false);
  }
  return body;
}

std::string TxlsHyperlink::GetDisplayName() const {
  return Title.empty() ? TxlsCustomItem::GetDisplayName() : WideToCp1252(Title);
}

void TxlsHyperlink::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "Col", Col);
  ini.WriteInteger(section, "Row", Row);
  ini.WriteInteger(section, "Style", Style);
  WriteWide(ini, section, "Title", Title);
  WriteWide(ini, section, "Target", Target);
  WriteWide(ini, section, "ScreenTip", ScreenTip);
}

void TxlsHyperlink::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  // A link may sit in the sheet's last column, 256.
  Col = ReadClamped(ini, section, "Col", 0, 0, kXLSMaxCols);
  Row = ReadWord(ini, section, "Row", 0);
  Style = ReadEnum(ini, section, "Style", hlsURL, hlsLocalFile + 1);
  Title = ReadWide(ini, section, "Title", u"");
  Target = ReadWide(ini, section, "Target", u"");
  ScreenTip = ReadWide(ini, section, "ScreenTip", u"");
}

// --- TxlsNote --------------------------------------------------------------------------------

TxlsNote::TxlsNote(TxlsCollectionBase* collection) : TxlsCustomItem(collection) {
  if (const TxlsItemsOwner* owner = Owner(); owner != nullptr)
    if (const TxlsNoteFormat* format = owner->NoteFormatForNewItems(); format != nullptr) Format.Assign(*format);
}

void TxlsNote::Assign(const TxlsNote& source) {
  if (&source == this) return;
  Row = source.Row;
  Col = source.Col;
  Lines = source.Lines;
  Format.Assign(source.Format);
}

std::string TxlsNote::LinesText() const {
  std::string text;
  for (const std::string& line : Lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool TxlsNote::IsValid() const {
  return Col >= 1 && Col <= kXLSMaxCols - 1 && Row >= 1 && Row <= kXLSMaxRows && !Lines.empty();
}

TMSO_Anchor TxlsNote::GetAnchor() const {
  TMSO_Anchor anchor;
  anchor.Col1 = static_cast<uint16_t>(std::clamp(Col, 0, kXLSMaxCols - 1));
  anchor.Row1 = static_cast<uint16_t>(Row >= 3 ? std::min(Row - 2, kXLSMaxRows - 1) : 0);
  anchor.Col2 = static_cast<uint16_t>(std::min(anchor.Col1 + 2, kXLSMaxCols - 1));
  anchor.Row2 = static_cast<uint16_t>(std::min(anchor.Row1 + 5, kXLSMaxRows - 1));
  return anchor;
}

void TxlsNote::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "Col", Col);
  ini.WriteInteger(section, "Row", Row);
  // The lines section is rewritten whole, so no line of an older, longer note stays behind.
  WriteListSection(ini, section + "_LINES", "line", Lines);
  Format.SaveToIniFile(ini, section);
}

void TxlsNote::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  // The box takes the column right of the note's: the last column cannot hold one.
  Col = ReadClamped(ini, section, "Col", 0, 0, kXLSMaxCols - 1);
  Row = ReadWord(ini, section, "Row", 0);
  Lines.clear();
  const std::string lines = section + "_LINES";
  if (IniFileSectionExists(ini, lines))
    for (const std::string& key : ini.ReadSection(lines)) Lines.push_back(ini.ReadString(lines, key, ""));
  Format.LoadFromIniFile(ini, section);
}

}  // namespace vantrix
