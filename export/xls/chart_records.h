#pragma once
// Typed access to the records of a chart substream, one class per record kind, for a caller
// that looks into the charts a workbook holds (the reader keeps chart substreams as they were
// read). Each class lists its fields in XLS_FIELD rows; whoever makes a record gives its id.
#include <string>

#include "export/xls/record_fields.h"

namespace vantrix {

class TchartFBI : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Width, uint16_t, 0)
  XLS_FIELD(Height, uint16_t, 2)
  XLS_FIELD(HeightApplied, uint16_t, 4)
  XLS_FIELD(Scale, uint16_t, 6)
  XLS_FIELD(FontIndex, uint16_t, 8)
};

class TchartChart : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Top, uint32_t, 0)
  XLS_FIELD(Left, uint32_t, 4)
  XLS_FIELD(Width, uint32_t, 8)
  XLS_FIELD(Height, uint32_t, 12)
};

class TchartPlotGrowth : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Horizontal, uint32_t, 0)
  XLS_FIELD(Vertical, uint32_t, 4)
};

class TchartFrame : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(FrameType, uint16_t, 0)
  XLS_FIELD(Flags, uint16_t, 2)
};

class TchartLineFormat : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Color, uint32_t, 0)
  XLS_FIELD(Pattern, uint16_t, 4)
  XLS_FIELD(Weight, uint16_t, 6)
  XLS_FIELD(FormatFlags, uint16_t, 8)
  XLS_FIELD(ColorIndex, uint16_t, 10)
};

class TchartAreaFormat : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(ForegroundColor, uint32_t, 0)
  XLS_FIELD(BackgroundColor, uint32_t, 4)
  XLS_FIELD(Pattern, uint16_t, 8)
  XLS_FIELD(FormatFlags, uint16_t, 10)
  XLS_FIELD(ForegroundColorIndex, uint16_t, 12)
  XLS_FIELD(BackgroundColorIndex, uint16_t, 14)
};

class TchartSeries : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(CategoryType, uint16_t, 0)
  XLS_FIELD(ValueType, uint16_t, 2)
  XLS_FIELD(CategoryCount, uint16_t, 4)
  XLS_FIELD(ValueCount, uint16_t, 6)
  XLS_FIELD(BubbleType, uint16_t, 8)
  XLS_FIELD(BubbleCount, uint16_t, 10)
};

class TchartAI : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(LinkType, uint8_t, 0)
  XLS_FIELD(ReferenceType, uint8_t, 1)
  XLS_FIELD(Flags, uint16_t, 2)
  XLS_FIELD(FormatIndex, uint16_t, 4)
  XLS_FIELD(FormulaSize, uint16_t, 6)
};

class TchartDataFormat : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(PointNumber, uint16_t, 0)
  XLS_FIELD(SeriesIndex, uint16_t, 2)
  XLS_FIELD(SeriesNumber, uint16_t, 4)
  XLS_FIELD(FormatFlags, uint16_t, 6)
};

class TchartSerToCRT : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(ChartGroupIndex, uint16_t, 0)
};

class TchartShtProps : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(PropertyFlags, uint16_t, 0)
  XLS_FIELD(EmptyAs, uint8_t, 2)
  XLS_FIELD(Unknown, uint8_t, 3)
};

class TchartDefaultText : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(ObjectID, uint16_t, 0)
};

class TchartText : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(HorizontalAlignment, uint8_t, 0)
  XLS_FIELD(VerticalAlignment, uint8_t, 1)
  XLS_FIELD(BackgroundMode, uint16_t, 2)
  XLS_FIELD(Color, uint32_t, 4)
  XLS_FIELD(Left, uint32_t, 8)
  XLS_FIELD(Top, uint32_t, 12)
  XLS_FIELD(Width, uint32_t, 16)
  XLS_FIELD(Height, uint32_t, 20)
  XLS_FIELD(OptionFlags1, uint16_t, 24)
  XLS_FIELD(ColorIndex, uint16_t, 26)
  XLS_FIELD(OptionFlags2, uint16_t, 28)
  XLS_FIELD(Rotation, uint16_t, 30)
};

class TchartPos : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(TopLt, uint16_t, 0)
  XLS_FIELD(BotRt, uint16_t, 2)
  XLS_FIELD(X1, uint32_t, 4)
  XLS_FIELD(Y1, uint32_t, 8)
  XLS_FIELD(X2, uint32_t, 12)
  XLS_FIELD(Y2, uint32_t, 16)
};

class TchartFontX : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(FontIndex, uint16_t, 0)
};

class TchartAxesUsed : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(AxesCount, uint16_t, 0)
};

class TchartAxisParent : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(AxisIndex, uint16_t, 0)
  XLS_FIELD(Top, uint32_t, 2)
  XLS_FIELD(Left, uint32_t, 6)
  XLS_FIELD(Width, uint32_t, 10)
  XLS_FIELD(Height, uint32_t, 14)
};

class TchartAxis : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(AxisType, uint16_t, 0)
};

class TchartCatSerRange : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(CrossingPoint, uint16_t, 0)
  XLS_FIELD(FrequencyLabels, uint16_t, 2)
  XLS_FIELD(FrequencyMarks, uint16_t, 4)
  XLS_FIELD(FormatFlags, uint16_t, 6)
};

class TchartAxcExt : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(MinCategory, uint16_t, 0)
  XLS_FIELD(MaxCategory, uint16_t, 2)
  XLS_FIELD(MajorValue, uint16_t, 4)
  XLS_FIELD(MajorUnits, uint16_t, 6)
  XLS_FIELD(MinorValue, uint16_t, 8)
  XLS_FIELD(MinorUnits, uint16_t, 10)
  XLS_FIELD(BaseUnit, uint16_t, 12)
  XLS_FIELD(CrossingPoint, uint16_t, 14)
  XLS_FIELD(OptionFlags, uint16_t, 16)
};

class TchartTick : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(MajorMarkType, uint8_t, 0)
  XLS_FIELD(MinorMarkType, uint8_t, 1)
  XLS_FIELD(LabelPosition, uint8_t, 2)
  XLS_FIELD(BackgroundMode, uint8_t, 3)
  XLS_FIELD(Color, uint32_t, 4)
  XLS_FIELD(DisplayFlags, uint16_t, 24)
  XLS_FIELD(ColorIndex, uint16_t, 26)
};

class TchartValueRange : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(MinValue, double, 0)
  XLS_FIELD(MaxValue, double, 8)
  XLS_FIELD(MajorInc, double, 16)
  XLS_FIELD(MinorInc, double, 24)
  XLS_FIELD(AxisCrosses, double, 32)
  XLS_FIELD(FormatFlags, uint16_t, 40)
};

class TchartAxisLineFormat : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(LineID, uint16_t, 0)
};

class TchartChartFormat : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(FormatFlags, uint16_t, 16)
  XLS_FIELD(DrawingOrder, uint16_t, 18)
};

class TchartBar : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(SpaceBars, uint16_t, 0)
  XLS_FIELD(SpaceCategories, uint16_t, 2)
  XLS_FIELD(FormatFlags, uint16_t, 4)
};

class TchartLine : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(FormatFlags, uint16_t, 0)
};

class TchartPie : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Angle, uint16_t, 0)
  XLS_FIELD(Donut, uint16_t, 2)
  XLS_FIELD(OptionFlags, uint16_t, 4)
};

class TchartArea : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(FormatFlags, uint16_t, 0)
};

class TchartSurface : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(OptionFlags, uint16_t, 0)
};

class TchartRadar : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(OptionFlags, uint16_t, 0)
};

class TchartRadarArea : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(OptionFlags, uint16_t, 0)
};

class Tchart3d : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Rotation, uint16_t, 0)
  XLS_FIELD(Elevation, uint16_t, 2)
  XLS_FIELD(Distance, uint16_t, 4)
  XLS_FIELD(PlotHeight, uint16_t, 6)
  XLS_FIELD(Depth, uint16_t, 8)
  XLS_FIELD(Space, uint16_t, 10)
  XLS_FIELD(OptionFlags, uint16_t, 12)
};

class TchartLegend : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Top, uint32_t, 0)
  XLS_FIELD(Left, uint32_t, 4)
  XLS_FIELD(Width, uint32_t, 8)
  XLS_FIELD(Height, uint32_t, 12)
  XLS_FIELD(LegendType, uint8_t, 16)
  XLS_FIELD(Spacing, uint8_t, 17)
  XLS_FIELD(OptionFlags, uint16_t, 18)
};

class TchartObjectLink : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(LinkedTo, uint16_t, 0)
  XLS_FIELD(SeriesIndex, uint16_t, 2)
  XLS_FIELD(DataIndex, uint16_t, 4)
};

class TchartSIIndex : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Index, uint16_t, 0)
};

// The series' name as the chart writer writes it: Length characters from offset 4, UTF-16
// when bit 0 of the option byte at 3 is set, else 8-bit. Set Length and Options first; the
// setter writes that many characters of the text (zeros where it is shorter).
class TchartSeriesText : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(TextID, uint16_t, 0)
  XLS_FIELD(Length, uint8_t, 2)
  XLS_FIELD(Options, uint8_t, 3)
  WideString GetText() const { return GetLength() == 0 ? WideString() : GetChars(4, GetLength(), Wide()); }
  void SetText(std::u16string_view text) {
    if (GetLength() > 0) SetChars(4, GetLength(), Wide(), text);
  }

 private:
  bool Wide() const { return (GetOptions() & 1) != 0; }
};

}  // namespace vantrix
