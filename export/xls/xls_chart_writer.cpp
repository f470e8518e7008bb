#include "export/xls/xls_chart_writer.h"

#include <algorithm>

#include "export/xls/xls_export_run.h"
#include "export/xls/xls_palette.h"
#include "export/xls/xls_record_writer.h"
#include "export/xls/xls_sheet.h"

namespace vantrix {
namespace {

namespace id {
constexpr uint16_t kBegin = 0x1033, kEnd = 0x1034, kSetup = 0x00A1, kPrintSize = 0x0033, kFbi = 0x1060,
                   kUnits = 0x1001, kChart = 0x1002, kScl = 0x00A0, kPlotGrowth = 0x1064, kFrame = 0x1032,
                   kLineFormat = 0x1007, kAreaFormat = 0x100A, kSeries = 0x1003, kAI = 0x1051,
                   kSeriesText = 0x100D, kDataFormat = 0x1006, kBarShape = 0x105F, kSerToCrt = 0x1045,
                   kShtProps = 0x1044, kDefaultText = 0x1024, kText = 0x1025, kPos = 0x104F, kFontX = 0x1026,
                   kAxesUsed = 0x1046, kAxisParent = 0x1041, kAxis = 0x101D, kCatSerRange = 0x1020,
                   kAxcExt = 0x1062, kTick = 0x101E, kValueRange = 0x101F, kAxisLineFormat = 0x1021,
                   kPlotArea = 0x1035, kChartFormat = 0x1014, kBar = 0x1017, kLine = 0x1018, kPie = 0x1019,
                   kArea = 0x101A, kSurface = 0x103F, kRadar = 0x103E, kRadarArea = 0x1040, kChart3d = 0x103A,
                   kLegend = 0x1015, kObjectLink = 0x1027, kSIIndex = 0x1065;
}  // namespace id

std::vector<uint8_t> Words(std::initializer_list<uint16_t> words) {
  std::vector<uint8_t> body;
  for (const uint16_t w : words) AppendWord(body, w);
  return body;
}

std::vector<uint8_t> LineFormat(uint32_t color, uint16_t pattern, uint16_t weight, uint16_t flags, uint16_t index) {
  std::vector<uint8_t> body;
  AppendInteger(body, color);
  for (const uint16_t w : {pattern, weight, flags, index}) AppendWord(body, w);
  return body;
}

std::vector<uint8_t> AreaFormat(uint32_t fore, uint32_t back, uint16_t pattern, uint16_t flags, uint16_t foreIndex,
                                uint16_t backIndex) {
  std::vector<uint8_t> body;
  AppendInteger(body, fore);
  AppendInteger(body, back);
  for (const uint16_t w : {pattern, flags, foreIndex, backIndex}) AppendWord(body, w);
  return body;
}

std::vector<uint8_t> Pos(uint16_t topLeftMode, std::initializer_list<uint32_t> values) {
  std::vector<uint8_t> body = Words({topLeftMode, 2});
  for (const uint32_t v : values) AppendInteger(body, v);
  body.resize(20, 0);
  return body;
}

std::vector<uint8_t> TextBody() {
  std::vector<uint8_t> body = {2, 2};
  AppendWord(body, 1);  // transparent background
  AppendInteger(body, 0);
  for (const uint32_t v : {1643u, 82u, 714u, 397u}) AppendInteger(body, v);
  for (const uint16_t w : {uint16_t{0x0081}, uint16_t{77}, uint16_t{0x3D20}, uint16_t{0}}) AppendWord(body, w);
  return body;
}

bool Known(const TxlsDataRange& r) { return r.Col1 > 0 && r.Row1 > 0 && r.Col2 >= r.Col1 && r.Row2 >= r.Row1; }

uint16_t CellCount(const TxlsDataRange& r) {
  if (!Known(r)) return 0;
  return static_cast<uint16_t>(std::min(0xFFFF, (r.Row2 - r.Row1 + 1) * (r.Col2 - r.Col1 + 1)));
}

bool Is3d(TxlsChartStyle style) {
  return style == xcsColumn3d || style == xcsBar3d || style == xcsLine3d || style == xcsPie3d ||
         style == xcsArea3d || style == xcsSurface3d;
}

}  // namespace

TxlsChartWriter::TxlsChartWriter(TxlsExportRun& run) : run_(run), w_(run.Records) {}

void TxlsChartWriter::Begin() { w_.WriteRecord(id::kBegin, TxlsConstBytes()); }
void TxlsChartWriter::End() { w_.WriteRecord(id::kEnd, TxlsConstBytes()); }
void TxlsChartWriter::Record(uint16_t rid, const std::vector<uint8_t>& body) { w_.WriteRecord(rid, body); }
void TxlsChartWriter::WordRecord(uint16_t rid, uint16_t value) { w_.WriteWordRecord(rid, value); }

TxlsDataRange TxlsChartWriter::SeriesRange(const TxlsSheet& sheet, const TxlsChartSeries& series) {
  TxlsDataRange range;
  if (series.DataRangeType == rtCustom) range = series.DataRange;
  else sheet.FieldColumns.AssignColumnToDataRange(series.DataColumn, range);
  return Known(range) ? range : TxlsDataRange();
}

TxlsDataRange TxlsChartWriter::CategoryRange(const TxlsSheet& sheet, const TxlsChart& chart) {
  TxlsDataRange range;
  if (chart.CategoryLabelsType == rtCustom) range = chart.CategoryLabels;
  else if (!chart.CategoryLabelsColumn.empty()) sheet.FieldColumns.AssignColumnToDataRange(chart.CategoryLabelsColumn, range);
  return Known(range) ? range : TxlsDataRange();
}

std::vector<uint8_t> TxlsChartWriter::AIBody(uint8_t link, uint16_t refSheet, const TxlsDataRange& range) {
  const bool withRange = (link == 1 || link == 2) && Known(range);
  std::vector<uint8_t> body = {link, static_cast<uint8_t>(withRange ? 2 : 1)};
  AppendWord(body, 0);  // flags
  AppendWord(body, 0);  // number format
  AppendWord(body, withRange ? 11 : 0);
  if (withRange) {
    body.push_back(0x3B);  // an absolute area on another sheet
    for (const int v : {int{refSheet}, range.Row1 - 1, range.Row2 - 1, range.Col1 - 1, range.Col2 - 1})
      AppendWord(body, static_cast<uint16_t>(v));
  }
  return body;
}

void TxlsChartWriter::SeriesText(std::u16string_view text) {
  text = text.substr(0, 255);
  std::vector<uint8_t> body = Words({0});
  body.push_back(static_cast<uint8_t>(text.size()));
  body.push_back(1);
  for (const char16_t c : text) AppendWord(body, c);
  Record(id::kSeriesText, body);
}

void TxlsChartWriter::WritePageSettings(const TxlsSheet& sheet) {
  w_.WriteBOF(biffid::kBOFChart);
  run_.SheetRecords.WriteCatchword(biffid::kHeader, sheet.Options.PageHeader);
  run_.SheetRecords.WriteCatchword(biffid::kFooter, sheet.Options.PageFooter);
  WordRecord(biffid::kHCenter, 0);
  WordRecord(biffid::kVCenter, 0);
  std::vector<uint8_t> setup = Words({0, 18, 1, 1, 1, 0x003B, 0, 2208});
  AppendDouble(setup, 0.0);
  AppendDouble(setup, 0.0);
  AppendWord(setup, 1);
  Record(id::kSetup, setup);
  WordRecord(id::kPrintSize, 3);
  for (const auto& [a, b] : {std::pair<uint16_t, uint16_t>{240, 0}, {200, 1}, {200, 0}})
    Record(id::kFbi, Words({0x1635, 0x111C, a, b, 0}));
  WordRecord(biffid::kProtect, 0);
  WordRecord(id::kUnits, 0);
}

void TxlsChartWriter::WriteSeries(const TxlsSheet& sheet, uint16_t refSheet, const TxlsChart& chart, size_t index) {
  const TxlsChartSeries& series = chart.Series.GetItem(index);
  const TxlsDataRange values = SeriesRange(sheet, series);
  const TxlsDataRange categories = CategoryRange(sheet, chart);
  const uint16_t valueCount = CellCount(values);
  const uint16_t categoryCount = Known(categories) ? CellCount(categories) : valueCount;
  Record(id::kSeries, Words({1, 1, categoryCount, valueCount, 1, 0}));
  Begin();
  Record(id::kAI, AIBody(0, refSheet, {}));
  SeriesText(series.Title);
  Record(id::kAI, AIBody(1, refSheet, values));
  Record(id::kAI, AIBody(2, refSheet, categories));
  Record(id::kAI, AIBody(3, refSheet, {}));
  const uint16_t n = static_cast<uint16_t>(index);
  Record(id::kDataFormat, Words({0xFFFF, n, n, 0}));
  Begin();
  WordRecord(id::kBarShape, 0);
  Record(id::kLineFormat, LineFormat(0, 0, 0, 0, 8));
  // The colour given as a value too, for readers that take the value over the index.
  Record(id::kAreaFormat, AreaFormat(XLSColorValue(series.Color), 0x909090, 1, 0, XLSPaletteIndex(series.Color), 8));
  End();
  WordRecord(id::kSerToCrt, 0);
  End();
}

void TxlsChartWriter::WriteDefaultTexts() {
  Record(id::kShtProps, {0x0A, 0x00, 0x00, 0x00});
  for (const uint16_t kind : {uint16_t{2}, uint16_t{3}}) {
    WordRecord(id::kDefaultText, kind);
    Record(id::kText, TextBody());
    Begin();
    Record(id::kPos, Pos(2, {}));
    WordRecord(id::kFontX, 0);
    Record(id::kAI, AIBody(0, 0, {}));
    End();
  }
}

void TxlsChartWriter::WriteAxes(const TxlsChart& chart) {
  WordRecord(id::kAxesUsed, 1);
  std::vector<uint8_t> parent = Words({0});
  for (const uint32_t v : {490u, 895u, 2606u, 2456u}) AppendInteger(parent, v);
  Record(id::kAxisParent, parent);
  Begin();
  Record(id::kPos, Pos(2, {129, 719, 2968, 3105}));
  std::vector<uint8_t> tick = {2, 0, 3, 1};
  AppendInteger(tick, 0);
  tick.resize(tick.size() + 16, 0);
  for (const uint16_t w : {uint16_t{0x0023}, uint16_t{77}, uint16_t{0}}) AppendWord(tick, w);
  for (const uint16_t axis : {uint16_t{0}, uint16_t{1}}) {
    std::vector<uint8_t> body = Words({axis});
    body.resize(18, 0);
    Record(id::kAxis, body);
    Begin();
    if (axis == 0) {
      Record(id::kCatSerRange, Words({1, 1, 1, 1}));
      Record(id::kAxcExt, Words({0, 0, 1, 0, 1, 0, 0, 0, 0x00EF}));
      Record(id::kTick, tick);
    } else {
      std::vector<uint8_t> range;
      for (int i = 0; i < 5; ++i) AppendDouble(range, 0.0);
      AppendWord(range, 0x001F);  // everything automatic
      Record(id::kValueRange, range);
      Record(id::kTick, tick);
      WordRecord(id::kAxisLineFormat, 1);
      Record(id::kLineFormat, LineFormat(0, 0, 0xFFFF, 9, 77));
    }
    End();
  }
  Record(id::kPlotArea, {});
  Record(id::kFrame, Words({0, 3}));
  Begin();
  Record(id::kLineFormat, LineFormat(0x808080, 0, 0, 0, 23));
  Record(id::kAreaFormat, AreaFormat(0xC0C0C0, 0, 1, 0, 22, 79));
  End();

  std::vector<uint8_t> format(16, 0);
  AppendWord(format, chart.Style == xcsPie || chart.Style == xcsPie3d ? 1 : 0);  // vary the colours of a pie
  AppendWord(format, 0);
  Record(id::kChartFormat, format);
  Begin();
  switch (chart.Style) {
    case xcsColumn:
    case xcsColumn3d: Record(id::kBar, Words({0, 150, 0})); break;
    case xcsBar:
    case xcsBar3d: Record(id::kBar, Words({0, 150, 1})); break;
    case xcsLine:
    case xcsLineMark:
    case xcsLine3d: WordRecord(id::kLine, 0); break;
    case xcsPie:
    case xcsPie3d: Record(id::kPie, Words({0, 0, 1})); break;
    case xcsArea:
    case xcsArea3d: WordRecord(id::kArea, 0); break;
    case xcsSurface:
    case xcsSurface3d: WordRecord(id::kSurface, 0); break;
    case xcsRadar: WordRecord(id::kRadar, 0); break;
    case xcsRadarArea: WordRecord(id::kRadarArea, 0); break;
  }
  if (Is3d(chart.Style)) Record(id::kChart3d, Words({20, 15, 30, 100, 100, 150, 0x0015}));
  if (chart.ShowLegend) {
    std::vector<uint8_t> legend;
    for (const uint32_t v : {3239u, 1947u, 710u, 333u}) AppendInteger(legend, v);
    legend.push_back(static_cast<uint8_t>(chart.LegendPlacement));
    legend.push_back(1);
    AppendWord(legend, 0x001F);
    Record(id::kLegend, legend);
    Begin();
    Record(id::kPos, Pos(5, {3239, 1947, 0, 0}));
    Record(id::kText, TextBody());
    Begin();
    Record(id::kPos, Pos(2, {}));
    Record(id::kAI, AIBody(0, 0, {}));
    End();
    End();
  }
  End();  // the chart format
  End();  // the axis parent
}

void TxlsChartWriter::WriteTitle(const TxlsChart& chart) {
  if (chart.Title.empty()) return;
  Record(id::kText, TextBody());
  Begin();
  Record(id::kPos, Pos(2, {0, 0, 52, 22}));
  WordRecord(id::kFontX, 0);
  Record(id::kAI, AIBody(0, 0, {}));
  SeriesText(chart.Title);
  Record(id::kObjectLink, Words({1, 0, 0}));
  End();
}

void TxlsChartWriter::WriteXLSChart(const TxlsSheet& sheet, uint16_t refSheet, const TxlsChart& chart) {
  WritePageSettings(sheet);
  std::vector<uint8_t> body;
  for (const uint32_t v : {0x0000F000u, 0u, 0x00EFFFE8u, 0x00B27FD0u}) AppendInteger(body, v);
  Record(id::kChart, body);
  Begin();
  Record(id::kScl, Words({1, 1}));
  std::vector<uint8_t> growth;
  AppendInteger(growth, 0x00010000);
  AppendInteger(growth, 0x00010000);
  Record(id::kPlotGrowth, growth);
  Record(id::kFrame, Words({0, 2}));
  Begin();
  Record(id::kLineFormat, LineFormat(0, 0, 0xFFFF, 9, 77));
  Record(id::kAreaFormat, AreaFormat(0xFFFFFF, 0, 1, 1, 78, 77));
  End();
  for (size_t i = 0; i < chart.Series.Count(); ++i) WriteSeries(sheet, refSheet, chart, i);
  WriteDefaultTexts();
  WriteAxes(chart);
  WriteTitle(chart);
  End();  // the chart

  std::vector<uint8_t> dimensions;
  AppendInteger(dimensions, 0);
  AppendInteger(dimensions, 13);
  AppendWord(dimensions, 0);
  AppendWord(dimensions, 1);
  AppendWord(dimensions, 0);
  Record(biffid::kDimensions, dimensions);
  for (const uint16_t index : {uint16_t{1}, uint16_t{2}, uint16_t{3}}) WordRecord(id::kSIIndex, index);
  w_.WriteEOF();
}

}  // namespace vantrix
