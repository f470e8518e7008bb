// What the sheets' notes, pictures and charts add to the workbook: the drawing group and the
// external references in the globals, and each sheet's drawing, object, text and chart
// records. The drawing layer is not in yet, so a workbook carries none of them.
#include "export/xls/xls_globals_writer.h"
#include "export/xls/xls_sheet_writer.h"

namespace vantrix {

void TxlsGlobalsWriter::WriteExternalReferences(TxlsStream&) {}

void TxlsGlobalsWriter::WriteDrawingGroup(TxlsStream&) {}

void TxlsSheetWriter::WriteNotesChartsAndPictures(TxlsSheet&) {}

}  // namespace vantrix
