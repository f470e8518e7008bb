#include "export/xls/xls_chart.h"

#include <algorithm>

#include "export/xls/xls_ini.h"
#include "export/xls/xls_link_note.h"

namespace vantrix {
namespace {

using namespace xlsini;

uint16_t ColumnOf(int col) { return static_cast<uint16_t>(std::clamp(col, 0, kXLSMaxCols - 1)); }
uint16_t RowOf(int row) { return static_cast<uint16_t>(std::clamp(row, 0, kXLSMaxRows - 1)); }

}  // namespace

void TxlsDataRange::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "Col1", Col1);
  ini.WriteInteger(section, "Row1", Row1);
  ini.WriteInteger(section, "Col2", Col2);
  ini.WriteInteger(section, "Row2", Row2);
}

void TxlsDataRange::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  Col1 = static_cast<uint8_t>(ReadByte(ini, section, "Col1", 0));
  Row1 = static_cast<uint16_t>(ReadWord(ini, section, "Row1", 0));
  Col2 = static_cast<uint8_t>(ReadByte(ini, section, "Col2", 0));
  Row2 = static_cast<uint16_t>(ReadWord(ini, section, "Row2", 0));
}

void TxlsChartPosition::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "ChartPlacement", AutoPosition.Placement);
  ini.WriteInteger(section, "ChartHeight", AutoPosition.Height);
  ini.WriteInteger(section, "ChartLeft", AutoPosition.Left);
  ini.WriteInteger(section, "ChartTop", AutoPosition.Top);
  ini.WriteInteger(section, "ChartWidth", AutoPosition.Width);
  ini.WriteInteger(section, "X1", CustomPosition.X1);
  ini.WriteInteger(section, "Y1", CustomPosition.Y1);
  ini.WriteInteger(section, "X2", CustomPosition.X2);
  ini.WriteInteger(section, "Y2", CustomPosition.Y2);
  ini.WriteInteger(section, "PositionType", PositionType);
}

void TxlsChartPosition::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  AutoPosition.Placement = ReadEnum(ini, section, "ChartPlacement", cpBottom, cpRight + 1);
  AutoPosition.Height = ini.ReadInteger(section, "ChartHeight", 10);
  AutoPosition.Left = ini.ReadInteger(section, "ChartLeft", 0);
  AutoPosition.Top = ini.ReadInteger(section, "ChartTop", 0);
  AutoPosition.Width = ini.ReadInteger(section, "ChartWidth", 5);
  CustomPosition.X1 = static_cast<uint8_t>(ReadByte(ini, section, "X1", 0));
  CustomPosition.Y1 = static_cast<uint16_t>(ReadWord(ini, section, "Y1", 0));
  CustomPosition.X2 = static_cast<uint8_t>(ReadByte(ini, section, "X2", 0));
  CustomPosition.Y2 = static_cast<uint16_t>(ReadWord(ini, section, "Y2", 0));
  PositionType = ReadEnum(ini, section, "PositionType", cptAuto, cptCustom + 1);
}

// --- TxlsChartSeries -------------------------------------------------------------------------

void TxlsChartSeries::Assign(const TxlsChartSeries& source) {
  if (&source == this) return;
  Color = source.Color;
  DataColumn = source.DataColumn;
  DataRange = source.DataRange;
  DataRangeType = source.DataRangeType;
  Title = source.Title;
}

std::string TxlsChartSeries::GetDisplayName() const {
  return Title.empty() ? TxlsCustomItem::GetDisplayName() : WideToCp1252(Title);
}

void TxlsChartSeries::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "Color", Color);
  WriteWide(ini, section, "Title", Title);
  ini.WriteString(section, "Column", DataColumn);
  ini.WriteInteger(section, "DataRangeType", DataRangeType);
  DataRange.SaveToIniFile(ini, section);
}

void TxlsChartSeries::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  Color = XLSColorFromOrdinal(ini.ReadInteger(section, "Color", clrBlack), clrBlack);
  Title = ReadWide(ini, section, "Title", u"");
  DataColumn = ini.ReadString(section, "Column", "");
  DataRangeType = ReadEnum(ini, section, "DataRangeType", rtColumn, rtCustom + 1);
  DataRange.LoadFromIniFile(ini, section);
}

// --- TxlsChart -------------------------------------------------------------------------------

void TxlsChart::Assign(const TxlsChart& source) {
  if (&source == this) return;
  AutoColor = source.AutoColor;
  CategoryLabels = source.CategoryLabels;
  CategoryLabelsType = source.CategoryLabelsType;
  CategoryLabelsColumn = source.CategoryLabelsColumn;
  LegendPlacement = source.LegendPlacement;
  Position = source.Position;
  Series.Assign(source.Series);
  ShowLegend = source.ShowLegend;
  Style = source.Style;
  Title = source.Title;
}

const TxlsSheetLayout* TxlsChart::GetSheet() const {
  const TxlsItemsOwner* owner = Owner();
  return owner != nullptr ? owner->SheetLayout() : nullptr;
}

TMSO_Anchor TxlsChart::GetAnchor() const {
  TMSO_Anchor anchor;
  const TxlsSheetLayout* sheet = GetSheet();
  if (sheet == nullptr) return anchor;
  if (Position.PositionType == cptCustom) {
    const TxlsChartCustomPosition& p = Position.CustomPosition;
    anchor.Col1 = ColumnOf(p.X1 - 1);
    anchor.Row1 = RowOf(p.Y1 - 1);
    anchor.Col2 = ColumnOf(p.X2 - 1);
    anchor.Row2 = RowOf(p.Y2 - 1);
    return anchor;
  }
  const std::optional<TxlsUsedRange> used = sheet->WrittenRange();
  if (!used) return anchor;
  const TxlsChartAutoPosition& p = Position.AutoPosition;
  long long top = 0, left = 0;
  if (p.Placement == cpBottom) {
    top = std::max<long long>(static_cast<long long>(used->LastRow) + p.Top, 0) + 1;
    left = std::max<long long>(static_cast<long long>(used->FirstCol) + p.Left, 0);
  } else {
    top = std::max<long long>(p.Top, 0);
    left = std::max<long long>(static_cast<long long>(used->LastCol) + p.Left, 0) + 1;
  }
  const long long bottom = std::max<long long>(top + p.Height, 0);
  const long long right = std::max<long long>(left + p.Width, 0);
  anchor.Col1 = ColumnOf(static_cast<int>(std::min<long long>(left, kXLSMaxCols)));
  anchor.Row1 = RowOf(static_cast<int>(std::min<long long>(top, kXLSMaxRows)));
  anchor.Col2 = ColumnOf(static_cast<int>(std::min<long long>(right, kXLSMaxCols)));
  anchor.Row2 = RowOf(static_cast<int>(std::min<long long>(bottom, kXLSMaxRows)));
  return anchor;
}

std::string TxlsChart::GetDisplayName() const {
  return Title.empty() ? TxlsCustomItem::GetDisplayName() : WideToCp1252(Title);
}

void TxlsChart::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteBool(section, "AutoColor", AutoColor);
  ini.WriteInteger(section, "LegendPlacement", LegendPlacement);
  ini.WriteBool(section, "ShowLegend", ShowLegend);
  ini.WriteInteger(section, "Style", Style);
  WriteWide(ini, section, "Title", Title);
  ini.WriteInteger(section, "CategoryLabelsType", CategoryLabelsType);
  ini.WriteString(section, "CategoryLabelsColumn", CategoryLabelsColumn);
  CategoryLabels.SaveToIniFile(ini, section);
  Position.SaveToIniFile(ini, section);
  // Reading takes every series section under this one, so none of an earlier save may stay.
  const std::string prefix = section + "_SERIES_";
  ini.EraseSectionsStartingWith(prefix);
  for (size_t i = 0; i < Series.Count(); ++i) Series[i].SaveToIniFile(ini, prefix + std::to_string(i));
}

void TxlsChart::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  AutoColor = ini.ReadBool(section, "AutoColor", true);
  LegendPlacement = ReadEnum(ini, section, "LegendPlacement", clpRight, clpLeft + 1);
  ShowLegend = ini.ReadBool(section, "ShowLegend", true);
  Style = ReadEnum(ini, section, "Style", xcsColumn, xcsRadarArea + 1);
  Title = ReadWide(ini, section, "Title", u"");
  CategoryLabelsType = ReadEnum(ini, section, "CategoryLabelsType", rtColumn, rtCustom + 1);
  CategoryLabelsColumn = ini.ReadString(section, "CategoryLabelsColumn", "");
  Series.Clear();
  const std::string prefix = section + "_SERIES_";
  for (const std::string& name : ini.ReadSectionsStartingWith(prefix)) Series.Add().LoadFromIniFile(ini, name);
  CategoryLabels.LoadFromIniFile(ini, section);
  Position.LoadFromIniFile(ini, section);
}

}  // namespace vantrix
