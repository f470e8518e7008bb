#pragma once
// The "rows" format of the export tool: the column model and the export row as the run fills
// them, record by record, with each cell's raw and formatted text. A window on the engine for
// people and tests, not a file format anyone reads.
#include "export/vantrix3_text.h"

namespace exporttable {

class RowsDumpExporter : public vantrix::TVantrix3FormatText {
 public:
  const vantrix::TStrings* OwnerColumnsAlign() const override { return &ColumnsAlign; }
  const vantrix::TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }

 protected:
  void BeginExport() override;
  void WriteCaptionRow() override;
  void WriteDataRow() override;
  void EndExport() override;
};

}  // namespace exporttable
