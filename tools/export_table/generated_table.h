#pragma once
// A generated table behind a custom row source, for the export tool and the benchmarks:
// typed columns whose cells are texts in the locale's forms, as a viewer's table hands them
// over, with the awkward texts every format must survive ("°C", ";", quotes, <&>, braces,
// backslashes, parentheses, "1,234.5", empty cells, now and then an empty number). Cells are
// made once, in pools, so that reading them costs next to nothing beside the export itself.
#include <QByteArray>
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/format_settings.h"

namespace exporttable {

// The source answers with text (OnGetColumnText) unless asked to hand over variants.
class GeneratedTable {
 public:
  GeneratedTable(int rows, const vantrix::FormatSettings& settings);
  void AnswerWithVariants(bool variants);

  vantrix::TVantrixCustomSource& Source() { return source_; }
  int Rows() const { return rows_; }
  int Columns() const { return static_cast<int>(pools_.size()); }
  // The text of a cell (record numbers from 1), code page 1252.
  const QByteArray& Cell(int record, int column) const;

 private:
  int rows_;
  std::vector<std::vector<QByteArray>> pools_;
  vantrix::TVantrixCustomSource source_;
};

}  // namespace exporttable
