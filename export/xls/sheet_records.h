#pragma once
// Typed access to the sheet and workbook records a reader looks at besides the cells: the used
// range, the windows, the selection, the zoom, the page setup, text objects, notes and the
// default column width and row height.
#include "export/xls/record_fields.h"

namespace vantrix {

namespace biff {
inline constexpr uint16_t kDimensions = 0x0200, kWindow1 = 0x003D, kWindow2 = 0x023E, kSelection = 0x001D,
                          kSCL = 0x00A0, kSetup = 0x00A1, kTXO = 0x01B6, kNote = 0x001C, kDefColWidth = 0x0055,
                          kDefRowHeight = 0x0225, kRow = 0x0208, kIndex = 0x020B, kDBCell = 0x00D7,
                          kExtSST = 0x00FF, kHLink = 0x01B8, kMSODrawing = 0x00EC, kObj = 0x005D;
}  // namespace biff

class TbiffDimensions : public TbiffFieldRecord {
 public:
  // The used range is rewritten on save: a body shorter than its fields is refused.
  TbiffDimensions(TxlsSection* section, uint16_t id, std::vector<uint8_t> data)
      : TbiffFieldRecord(section, id, std::move(data)) {
    if (DataSize() < 14) throw ExlsFileError("Record with ID 0x200 is invalid");
  }
  XLS_FIELD(FirstRow, uint32_t, 0)
  XLS_FIELD(LastRow, uint32_t, 4)
  XLS_FIELD(FirstCol, uint16_t, 8)
  XLS_FIELD(LastCol, uint16_t, 10)
  XLS_FIELD(Reserved, uint16_t, 12)
};

class TbiffWindow1 : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Left, uint16_t, 0)
  XLS_FIELD(Top, uint16_t, 2)
  XLS_FIELD(Width, uint16_t, 4)
  XLS_FIELD(Height, uint16_t, 6)
  XLS_FIELD(Options, uint16_t, 8)
  XLS_FIELD(ActiveSheet, uint16_t, 10)
  XLS_FIELD(FirstVisible, uint16_t, 12)
  XLS_FIELD(SelectCount, uint16_t, 14)
  XLS_FIELD(TabWidth, uint16_t, 16)
};

class TbiffWindow2 : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Options, uint16_t, 0)
  XLS_FIELD(TopRow, uint16_t, 2)
  XLS_FIELD(LeftCol, uint16_t, 4)
  XLS_FIELD(GridLineColor, uint32_t, 6)
  XLS_FIELD(ZoomInPreview, uint16_t, 10)
  XLS_FIELD(ZoomInNormal, uint16_t, 12)
  XLS_FIELD(Reserved, uint32_t, 14)
};

// The first selected range's columns are bytes at 13 and 14, as the record is laid out.
class TbiffSelection : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Pane, uint8_t, 0)
  XLS_FIELD(ActiveRow, uint16_t, 1)
  XLS_FIELD(ActiveCol, uint16_t, 3)
  XLS_FIELD(ActiveRef, uint16_t, 5)
  XLS_FIELD(Refs, uint16_t, 7)
  XLS_FIELD(Row1, uint16_t, 9)
  XLS_FIELD(Row2, uint16_t, 11)
  XLS_FIELD(Col1, uint8_t, 13)
  XLS_FIELD(Col2, uint8_t, 14)
};

class TbiffSCL : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Numerator, uint16_t, 0)
  XLS_FIELD(Denominator, uint16_t, 2)
};

class TbiffSetup : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(PaperSize, uint16_t, 0)
  XLS_FIELD(ScalingFactor, uint16_t, 2)
  XLS_FIELD(StartingPageNumber, uint16_t, 4)
  XLS_FIELD(FitToWidth, uint16_t, 6)
  XLS_FIELD(FitToHeight, uint16_t, 8)
  XLS_FIELD(OptionFlags, uint16_t, 10)
  XLS_FIELD(PrintResolution, uint16_t, 12)
  XLS_FIELD(VerticalPrintResolution, uint16_t, 14)
  XLS_FIELD(HeaderMargin, double, 16)
  XLS_FIELD(FooterMargin, double, 24)
  XLS_FIELD(NumberOfCopies, uint16_t, 32)
};

class TbiffTXO : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Options, uint16_t, 0)
  XLS_FIELD(Orientation, uint16_t, 2)
  XLS_FIELD(TextLength, uint16_t, 10)
  XLS_FIELD(FormatLength, uint16_t, 12)
};

class TbiffTXORUN : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(CharIndex1, uint16_t, 0)
  XLS_FIELD(FontIndex1, uint16_t, 2)
  XLS_FIELD(CharIndex2, uint16_t, 8)
  XLS_FIELD(FontIndex2, uint16_t, 10)
};

class TbiffNote : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  XLS_FIELD(Row, uint16_t, 0)
  XLS_FIELD(Col, uint16_t, 2)
  XLS_FIELD(Options, uint16_t, 4)
  XLS_FIELD(ObjID, uint16_t, 6)
};

class TbiffDefColWidth : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  uint16_t GetWidth() const { return Field<uint16_t>(0); }
};

class TbiffDefRowHeight : public TbiffFieldRecord {
 public:
  using TbiffFieldRecord::TbiffFieldRecord;
  uint16_t GetHeight() const { return Field<uint16_t>(2); }
};

// Records a reader keeps by kind without fields of their own.
class TbiffHLink : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
};
class TbiffColInfo : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
};
class TbiffMSODrawing : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
};
class TbiffObj : public TbiffRecord {
 public:
  using TbiffRecord::TbiffRecord;
};

}  // namespace vantrix
