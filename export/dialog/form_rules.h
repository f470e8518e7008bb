#pragma once
// Rules of the export dialog form that need no form: which pages suit a format, how a file
// name takes a format's extension, which suggestions a field's type gets.
#include <QString>
#include <QStringList>
#include <string>

#include "export/col_types.h"
#include "export/dialog/export_formats.h"

namespace vantrix {

struct FormatSettings;

// The role of a field list item that holds its column's index in the dialog's columns.
inline constexpr int kFieldIndexRole = Qt::UserRole + 0x5710;

// What the PDF page takes, typed on the form or read from an options file: sides and margins
// up to 200 inches (the largest page PDF readers draw), column and row spacings up to 100
// (the layout's point arithmetic overflows long before 1e12), grid lines up to 100 points,
// fonts of 1 to 1000 points.
inline constexpr int kPDFMaxPageDots = 14400;
inline constexpr double kPDFMaxSpacing = 100.0;
inline constexpr int kPDFMaxGridLineWidth = 100;
inline constexpr int kPDFMaxFontSize = 1000;

// Whether the page (by its name) belongs to the pages of the format; the export-type page
// belongs to every format, no page to a format outside the table.
bool PageFitsFormat(const QString& page, TAllowedExport format);

// The file name with the extension of its last path element ("archive.tar.gz" →
// "archive.tar.<ext>") replaced, or added when it has none ("dir.d/report" →
// "dir.d/report.<ext>").
std::string ReplaceFileExtension(const std::string& fileName, const std::string& extension);

// The user-format suggestions for a column type, from the locale's forms; none for types that
// take no format.
QStringList UserFormatSuggestions(TVantrixColType type, const FormatSettings& settings);

}  // namespace vantrix
