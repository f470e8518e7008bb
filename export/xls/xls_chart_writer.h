#pragma once
// The chart substream of a chart embedded in a sheet: its page settings, the chart area, a
// series per data range (values and categories as ranges of the written sheet), the default
// texts, the axes and plot area, the chart type with its legend, and the title.
#include <cstdint>
#include <vector>

#include "export/xls/xls_chart.h"

namespace vantrix {

class TxlsExportRun;
class TxlsSheet;
class TxlsRecordWriter;

class TxlsChartWriter {
 public:
  explicit TxlsChartWriter(TxlsExportRun& run);

  // The chart's records, its ranges on the sheet that the external reference refSheet
  // names (the position of the sheet among those written).
  void WriteXLSChart(const TxlsSheet& sheet, uint16_t refSheet, const TxlsChart& chart);

  // A series' values or a chart's category labels on the sheet being written: a field's
  // cells or the range given, 1-based; all zero when there is none.
  static TxlsDataRange SeriesRange(const TxlsSheet& sheet, const TxlsChartSeries& series);
  static TxlsDataRange CategoryRange(const TxlsSheet& sheet, const TxlsChart& chart);
  // The AI record body: the link (0 title, 1 values, 2 categories, 3 bubbles) and, for a
  // range, the reference to it on that sheet.
  static std::vector<uint8_t> AIBody(uint8_t link, uint16_t refSheet, const TxlsDataRange& range);

 private:
  void Begin();
  void End();
  void Record(uint16_t id, const std::vector<uint8_t>& body);
  void WordRecord(uint16_t id, uint16_t value);
  void WritePageSettings(const TxlsSheet& sheet);
  void WriteSeries(const TxlsSheet& sheet, uint16_t refSheet, const TxlsChart& chart, size_t index);
  void WriteDefaultTexts();
  void WriteAxes(const TxlsChart& chart);
  void WriteTitle(const TxlsChart& chart);
  void SeriesText(std::u16string_view text);

  TxlsExportRun& run_;
  TxlsRecordWriter& w_;
};

}  // namespace vantrix
