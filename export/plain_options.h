#pragma once
// The export dialog's option holders of the plain formats into the exporters they set: what
// a run from the dialog copies before it starts.
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_options.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"

namespace vantrix {

// The text layout: the width pass and the blanks after each column.
void ApplyOptions(const TVantrixTXTOptions& options, TVantrix3ASCII& exporter);
// The CSV layout: separator, quote and whether every field is quoted.
void ApplyOptions(const TVantrixCSVOptions& options, TVantrix3ASCII& exporter);
// Standalone and the encoding; the version stays the exporter's.
void ApplyOptions(const TVantrixXMLOptions& options, TVantrix3XML& exporter);
// Table, its creation, the commits and the statement terminator.
void ApplyOptions(const TVantrixSQLOptions& options, TVantrix3SQL& exporter);

}  // namespace vantrix
