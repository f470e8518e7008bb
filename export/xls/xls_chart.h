#pragma once
// Charts embedded in a sheet, built from cell ranges: their series, category labels and
// position (after the data or beside it, or at given cells).
#include <cstdint>
#include <string>

#include "export/xls/xls_bytes.h"
#include "export/xls/xls_collection.h"
#include "export/xls/xls_palette.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

enum TxlsRangeType { rtColumn, rtCustom };
enum TxlsChartStyle {
  xcsColumn, xcsColumn3d, xcsBar, xcsBar3d, xcsLine, xcsLineMark, xcsLine3d, xcsPie, xcsPie3d, xcsArea, xcsArea3d,
  xcsSurface, xcsSurface3d, xcsRadar, xcsRadarArea,
};
enum TxlsChartLegendPlacement { clpBottom, clpCorner, clpTop, clpRight, clpLeft };
enum TxlsChartPositionType { cptAuto, cptCustom };
enum TxlsChartPlacement { cpBottom, cpRight };

// A block of cells (columns and rows as the chart records take them).
struct TxlsDataRange {
  uint8_t Col1 = 0, Col2 = 0;
  uint16_t Row1 = 0, Row2 = 0;
  bool operator==(const TxlsDataRange&) const = default;
  void Assign(const TxlsDataRange& source) { *this = source; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section);
};

// Where an automatically placed chart goes, in rows and columns from the data.
struct TxlsChartAutoPosition {
  TxlsChartPlacement Placement = cpBottom;
  int Height = 10, Left = 0, Top = 0, Width = 5;
  bool operator==(const TxlsChartAutoPosition&) const = default;
};

// The cells of a chart placed by hand: columns X, rows Y, from 1.
struct TxlsChartCustomPosition {
  uint8_t X1 = 0, X2 = 0;
  uint16_t Y1 = 0, Y2 = 0;
  bool operator==(const TxlsChartCustomPosition&) const = default;
};

struct TxlsChartPosition {
  TxlsChartAutoPosition AutoPosition;
  TxlsChartCustomPosition CustomPosition;
  TxlsChartPositionType PositionType = cptAuto;
  bool operator==(const TxlsChartPosition&) const = default;
  void Assign(const TxlsChartPosition& source) { *this = source; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section);
};

class TxlsChartSeries : public TxlsCustomItem {
 public:
  explicit TxlsChartSeries(TxlsCollectionBase* collection = nullptr) : TxlsCustomItem(collection) {}

  TxlsColor Color = clrAqua;
  std::string DataColumn;
  TxlsDataRange DataRange;
  TxlsRangeType DataRangeType = rtColumn;
  WideString Title;

  void Assign(const TxlsChartSeries& source);
  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsChartSeries"; }
  TxlsItemType GetItemType() const override { return itSeries; }
  // "Color" is kept as an ordinal; a series read without it is clrBlack.
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsChartSeriesList : public TxlsCollection<TxlsChartSeries> {
 public:
  using TxlsCollection::TxlsCollection;
};

class TxlsChart : public TxlsCustomItem, public TxlsItemsOwner {
 public:
  explicit TxlsChart(TxlsCollectionBase* collection = nullptr) : TxlsCustomItem(collection), Series(this) {}

  bool AutoColor = true;
  TxlsDataRange CategoryLabels;
  TxlsRangeType CategoryLabelsType = rtColumn;
  std::string CategoryLabelsColumn;
  TxlsChartLegendPlacement LegendPlacement = clpRight;
  TxlsChartPosition Position;
  TxlsChartSeriesList Series;
  bool ShowLegend = true;
  TxlsChartStyle Style = xcsColumn;
  WideString Title;

  void Assign(const TxlsChart& source);
  // The exporter's sheet the chart is placed on, or null.
  const TxlsSheetLayout* GetSheet() const;
  // The chart's cells: custom positions as given (from 1), automatic ones below or right of
  // the sheet's used range once the sheet has been written; offsets 0, all zero without a
  // sheet. Kept inside the sheet.
  TMSO_Anchor GetAnchor() const;

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsChart"; }
  TxlsItemType GetItemType() const override { return itChart; }
  // The chart's keys, then series i in the section section + "_SERIES_" + i (older series
  // sections of that section are removed first).
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsCharts : public TxlsCollection<TxlsChart> {
 public:
  using TxlsCollection::TxlsCollection;
};

}  // namespace vantrix
