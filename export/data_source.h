#pragma once
// The data-source layer: free functions that hide the differences of the five kinds of row
// source. Each takes the kind and the five source references (only the one the kind selects
// is used) and, where the source cannot count for itself (list views, string grids), the skip
// count, the record limit and the caller's record counter.
//
// A list view is not moved: its rows are addressed by index (counter + skip). A string grid
// is walked by moving its current row between its fixed rows and its last row. A custom
// source keeps its own record number and end flag.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "export/col_types.h"
#include "export/string_list.h"

class QObject;

namespace vantrix {

class TVantrixModelSource;
class TVantrixCustomSource;
class TVantrixColumns;
class TVantrixFormats;
struct FormatSettings;

struct TVantrixSourceRefs {
  TVantrixSource source = esDataSet;
  TVantrixModelSource* dataSet = nullptr;
  TVantrixCustomSource* customSource = nullptr;
  TVantrixModelSource* dbGrid = nullptr;
  TVantrixModelSource* listView = nullptr;
  TVantrixModelSource* stringGrid = nullptr;
};

// A column of the source with its tag (1 for a blob field, else 0).
using TVantrixAvailableColumn = std::pair<std::string, int>;
using TVantrixTextNormaliser = std::function<void(std::string&)>;
using TVantrixSkippedEvent = std::function<void(int counter)>;

// Raises 34014 "Export source (%s) is not assigned" when the chosen reference is missing (or,
// for a data grid, has no model).
void VantrixCheckSource(const TVantrixSourceRefs& refs);
QObject* VantrixSource(const TVantrixSourceRefs& refs);
void VantrixGetColumns(const TVantrixSourceRefs& refs, const TStrings& exportedFields,
                       std::vector<TVantrixAvailableColumn>& available, TStrings& exported);
bool VantrixIsActive(const TVantrixSourceRefs& refs);
bool VantrixIsEmpty(const TVantrixSourceRefs& refs);
int VantrixGetBookmark(const TVantrixSourceRefs& refs);
void VantrixGotoBookmark(const TVantrixSourceRefs& refs, int bookmark);
void VantrixFreeBookmark(const TVantrixSourceRefs& refs, int bookmark);
void VantrixFirst(const TVantrixSourceRefs& refs);
void VantrixNext(const TVantrixSourceRefs& refs, int& counter);
void VantrixSkip(const TVantrixSourceRefs& refs, int count, const TVantrixSkippedEvent& onSkipped, int& counter);
bool VantrixEof(const TVantrixSourceRefs& refs, int skip, int limit, int counter);
// The text of one cell of the current record; formatted by the column's picture when asked.
void VantrixGetColData(const TVantrixSourceRefs& refs, std::string& text, bool formatted, int skip, int counter,
                       int colIndex, const TVantrixTextNormaliser& normalString, const TVantrixFormats& formats,
                       const TVantrixColumns& columns);
// The value formatted by type and picture; any value or picture that can't be read or
// written gives an empty text.
void VantrixFormatData(std::string_view value, const std::string& format, TVantrixColType colType, std::string& text,
                       const TVantrixTextNormaliser& normalString, const FormatSettings& settings);
void VantrixDisableControls(const TVantrixSourceRefs& refs);
void VantrixEnableControls(const TVantrixSourceRefs& refs);

// The column count of the source (0 when the reference is missing).
int VantrixColumnCount(const TVantrixSourceRefs& refs);

}  // namespace vantrix
