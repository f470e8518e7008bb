#include "export/data_source.h"

#include <algorithm>

#include "export/columns.h"
#include "export/custom_source.h"
#include "export/datetime_picture.h"
#include "export/decimal_number.h"
#include "export/float_picture.h"
#include "export/formats.h"
#include "export/library_strings.h"
#include "export/model_source.h"
#include "export/text_to_value.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

TVantrixModelSource* ModelOf(const TVantrixSourceRefs& refs) {
  switch (refs.source) {
    case esDataSet: return refs.dataSet;
    case esListView: return refs.listView;
    case esDBGrid: return refs.dbGrid;
    case esStringGrid: return refs.stringGrid;
    default: return nullptr;
  }
}

// Records a list view or string grid still has from the counter on.
int Remaining(int rows, int skip, int limit) {
  return limit < 1 ? std::max(rows - skip, 0) : std::max(std::min(limit, rows - skip), 0);
}

}  // namespace

void VantrixCheckSource(const TVantrixSourceRefs& refs) {
  bool assigned = false;
  switch (refs.source) {
    case esDataSet: assigned = refs.dataSet != nullptr; break;
    case esListView: assigned = refs.listView != nullptr; break;
    case esDBGrid: assigned = refs.dbGrid != nullptr && refs.dbGrid->Model() != nullptr; break;
    case esStringGrid: assigned = refs.stringGrid != nullptr; break;
    case esCustom: assigned = refs.customSource != nullptr; break;
  }
  if (!assigned) RaiseLibraryError(kStrSourceNotAssigned, VantrixSourceAsString(refs.source));
}

QObject* VantrixSource(const TVantrixSourceRefs& refs) {
  if (refs.source == esCustom) return refs.customSource;
  return ModelOf(refs);
}

int VantrixColumnCount(const TVantrixSourceRefs& refs) {
  if (refs.source == esCustom) return refs.customSource != nullptr ? refs.customSource->GetColCount() : 0;
  const TVantrixModelSource* model = ModelOf(refs);
  return model != nullptr ? model->ColumnCount() : 0;
}

void VantrixGetColumns(const TVantrixSourceRefs& refs, const TStrings& exportedFields,
                       std::vector<TVantrixAvailableColumn>& available, TStrings& exported) {
  VantrixCheckSource(refs);
  available.clear();
  exported.clear();
  const int count = VantrixColumnCount(refs);
  for (int i = 0; i < count; ++i) {
    switch (refs.source) {
      case esDataSet:
      case esDBGrid: {
        const TVantrixModelSource* model = ModelOf(refs);
        available.emplace_back(model->FieldName(i), IsBlobFieldType(model->FieldType(i)) ? 1 : 0);
        break;
      }
      case esListView: available.emplace_back(refs.listView->Caption(i), 0); break;
      case esStringGrid: available.emplace_back(std::to_string(i), 0); break;
      case esCustom: available.emplace_back(refs.customSource->Columns().GetItem(i)->ColumnName(), 0); break;
    }
  }
  auto inAvailable = [&](const std::string& name) {
    return std::find_if(available.begin(), available.end(), [&](const TVantrixAvailableColumn& c) {
      return platform::Cp1252SameText(c.first, name);
    });
  };
  for (const std::string& line : exportedFields)
    if (inAvailable(line) != available.end()) exported.push_back(line);
  std::erase_if(available, [&](const TVantrixAvailableColumn& c) { return IndexOfText(exportedFields, c.first) >= 0; });
}

bool VantrixIsActive(const TVantrixSourceRefs& refs) {
  if (refs.source == esDataSet || refs.source == esDBGrid) {
    const TVantrixModelSource* model = ModelOf(refs);
    return model != nullptr && model->Active();
  }
  return true;
}

bool VantrixIsEmpty(const TVantrixSourceRefs& refs) {
  switch (refs.source) {
    case esDataSet:
    case esDBGrid:
    case esListView: {
      const TVantrixModelSource* model = ModelOf(refs);
      return model == nullptr || model->RowCount() == 0;
    }
    case esStringGrid:
      return refs.stringGrid == nullptr || refs.stringGrid->RowCount() <= refs.stringGrid->FixedRows();
    case esCustom:
      // Empty when a pass would give no record: at its end, or nobody to ask for records.
      return refs.customSource == nullptr || refs.customSource->Eof() || !refs.customSource->OnGetNextRecord;
  }
  return true;
}

int VantrixGetBookmark(const TVantrixSourceRefs& refs) {
  switch (refs.source) {
    case esDataSet: case esDBGrid: case esStringGrid:
      return ModelOf(refs) != nullptr ? ModelOf(refs)->CurrentRow() : 0;
    case esListView:
      return refs.listView != nullptr && refs.listView->CurrentRow() >= 0 ? refs.listView->CurrentRow() : 0;
    case esCustom:
      return refs.customSource != nullptr ? refs.customSource->RecNo() : 0;
  }
  return 0;
}

void VantrixGotoBookmark(const TVantrixSourceRefs& refs, int bookmark) {
  switch (refs.source) {
    case esDataSet: case esDBGrid:
      if (ModelOf(refs) != nullptr) ModelOf(refs)->GoToRow(bookmark);
      break;
    case esListView: case esStringGrid:
      if (ModelOf(refs) != nullptr) ModelOf(refs)->SetCurrentRow(bookmark);
      break;
    case esCustom:
      if (refs.customSource != nullptr) {
        refs.customSource->SetRecNo(bookmark);
        refs.customSource->ClearEof();
      }
      break;
  }
}

void VantrixFreeBookmark(const TVantrixSourceRefs&, int) {}

void VantrixFirst(const TVantrixSourceRefs& refs) {
  switch (refs.source) {
    case esDataSet:
      if (refs.dataSet != nullptr) refs.dataSet->First();
      break;
    case esDBGrid:
      if (refs.dbGrid != nullptr && refs.dbGrid->Active()) refs.dbGrid->First();
      break;
    case esListView:
      if (refs.listView != nullptr) refs.listView->SetCurrentRow(0);
      break;
    case esStringGrid:
      if (refs.stringGrid != nullptr) refs.stringGrid->SetCurrentRow(refs.stringGrid->FixedRows());
      break;
    case esCustom:
      if (refs.customSource != nullptr) refs.customSource->First();
      break;
  }
}

void VantrixNext(const TVantrixSourceRefs& refs, int& counter) {
  ++counter;
  switch (refs.source) {
    case esDataSet: case esDBGrid:
      if (ModelOf(refs) != nullptr) ModelOf(refs)->Next();
      break;
    case esStringGrid:
      if (refs.stringGrid != nullptr && refs.stringGrid->CurrentRow() < refs.stringGrid->RowCount() - 1)
        refs.stringGrid->SetCurrentRow(refs.stringGrid->CurrentRow() + 1);
      break;
    case esCustom:
      if (refs.customSource != nullptr) refs.customSource->Next();
      break;
    case esListView:
      break;
  }
}

void VantrixSkip(const TVantrixSourceRefs& refs, int count, const TVantrixSkippedEvent& onSkipped, int& counter) {
  // The count may come from an options file: past the end of the data there is nothing left
  // to skip, so the walk stops there instead of stepping on through billions of non-records.
  // (The end test from where the skip began: a list view or a string grid is at its end once
  // the records skipped reach its row count.)
  for (int i = 0; i < count && !VantrixEof(refs, 0, 0, i); ++i) {
    VantrixNext(refs, counter);
    if (onSkipped) onSkipped(counter);
  }
}

bool VantrixEof(const TVantrixSourceRefs& refs, int skip, int limit, int counter) {
  switch (refs.source) {
    case esDataSet: case esDBGrid:
      return ModelOf(refs) == nullptr || ModelOf(refs)->Eof();
    case esListView:
      return refs.listView == nullptr || counter >= Remaining(refs.listView->RowCount(), skip, limit);
    case esStringGrid:
      return refs.stringGrid == nullptr ||
             counter >= Remaining(refs.stringGrid->RowCount() - refs.stringGrid->FixedRows(), skip, limit);
    case esCustom:
      return refs.customSource == nullptr || refs.customSource->Eof() || !refs.customSource->OnGetNextRecord;
  }
  return true;
}

void VantrixGetColData(const TVantrixSourceRefs& refs, std::string& text, bool formatted, int skip, int counter,
                       int colIndex, const TVantrixTextNormaliser& normalString, const TVantrixFormats& formats,
                       const TVantrixColumns& columns) {
  const TVantrixColumn& column = columns.GetColumn(colIndex);
  const int number = column.Number;
  const FormatSettings& settings = formats.Settings();
  // A source that went away in the middle of a run gives empty cells.
  text.clear();
  switch (refs.source) {
    case esDataSet: {
      const TVantrixModelSource* model = refs.dataSet;
      if (model == nullptr) break;
      const int row = model->CurrentRow();
      if (model->CellIsNull(row, number)) text = formats.NullString();
      else model->CellText(row, number, settings, text);
      if (model->FieldType(number) == ftBoolean)
        text = model->CellAsBool(row, number) ? formats.BooleanTrue() : formats.BooleanFalse();
      break;
    }
    case esListView:
      if (refs.listView != nullptr) refs.listView->CellText(counter + skip, number, settings, text);
      break;
    case esDBGrid:
      if (refs.dbGrid != nullptr) refs.dbGrid->CellText(refs.dbGrid->CurrentRow(), number, settings, text);
      break;
    case esStringGrid:
      if (refs.stringGrid != nullptr) refs.stringGrid->CellText(refs.stringGrid->CurrentRow(), number, settings, text);
      break;
    case esCustom:
      if (refs.customSource != nullptr && number >= 0 && number < refs.customSource->GetColCount())
        refs.customSource->Columns().GetItem(number)->AsString(settings, text);
      break;
  }
  if (formatted) VantrixFormatData(text, column.Format, column.ColType, text, normalString, settings);
}

void VantrixFormatData(std::string_view value, const std::string& format, TVantrixColType colType, std::string& text,
                       const TVantrixTextNormaliser& normalString, const FormatSettings& settings) {
  // value may be text itself: the result is built apart and copied in.
  thread_local std::string result;
  result.clear();
  bool ok = true;
  switch (colType) {
    case ectInteger: {
      int32_t number = 0;
      if (!TryStrToInt(value, number)) number = 0;
      FormatDecimalTo(result, format, DecimalFromInt64(number), settings);
      break;
    }
    case ectBigint: {
      int64_t number = 0;
      if (!TryStrToInt64(value, number)) number = 0;
      FormatDecimalTo(result, format, DecimalFromInt64(number), settings);
      break;
    }
    case ectFloat:
    case ectCurrency: {
      DecimalNumber exact;
      double number = 0;
      if (TryDecimalFromText(value, settings.decimalSeparator, exact)) FormatDecimalTo(result, format, exact, settings);
      else if (TryStrToFloat(value, settings, number)) FormatFloatTo(result, format, number, settings);
      else ok = false;
      break;
    }
    case ectDate:
    case ectTime:
    case ectDateTime: {
      TDateTime moment = 0;
      if (TryStrToDateTime(value, settings, moment)) FormatDateTimeTo(result, format, moment, settings);
      else ok = false;
      break;
    }
    default:
      result.assign(value);
      break;
  }
  text.assign(result);
  if (ok && normalString) normalString(text);
}

void VantrixDisableControls(const TVantrixSourceRefs& refs) {
  if (refs.source == esDataSet || refs.source == esDBGrid || refs.source == esListView)
    if (TVantrixModelSource* model = ModelOf(refs)) model->DisableControls();
}

void VantrixEnableControls(const TVantrixSourceRefs& refs) {
  if (refs.source == esDataSet || refs.source == esDBGrid || refs.source == esListView)
    if (TVantrixModelSource* model = ModelOf(refs)) model->EnableControls();
}

}  // namespace vantrix
