#include "export/xls/workbook_reader.h"

#include <algorithm>
#include <limits>
#include <map>

#include "export/xls/xls_stream.h"

namespace vantrix {

namespace {

constexpr uint16_t kFormula = 0x0006, kName = 0x0018, kMulRK = 0x00BD, kMulBlank = 0x00BE, kLabelSST = 0x00FD,
                   kBlank = 0x0201, kNumber = 0x0203, kBoolErr = 0x0205, kString = 0x0207, kRK = 0x027E,
                   kShrFmla = 0x04BC, kArray = 0x0221, kTable = 0x0236;

[[noreturn]] void RaiseFileInvalid() { throw ExlsFileError(kErrorReadingRecords); }

// A record whose body holds a string of count characters at the offset, the option byte
// just before them, must hold all of them.
void CheckChars(const TbiffRecord& record, size_t at, size_t count, bool wide) {
  if (at + count * (wide ? 2 : 1) > record.DataSize()) RaiseInvalidRecord(record.Id());
}

template <class T>
std::unique_ptr<TbiffRecord> Make(TxlsSection* section, uint16_t id, std::vector<uint8_t>& body, size_t minimum = 0) {
  if (body.size() < minimum) RaiseInvalidRecord(id);
  return std::make_unique<T>(section, id, std::move(body));
}

std::unique_ptr<TbiffRecord> MakeRecord(TxlsSection* section, uint16_t id, std::vector<uint8_t>& body) {
  switch (id) {
    case biff::kBOF: {
      auto bof = Make<TbiffBOF>(section, id, body, 4);
      if (static_cast<TbiffBOF&>(*bof).Version() != 0x0600)
        throw ExlsFileError("File is saved with an invalid Excel version");
      return bof;
    }
    case biff::kEOF: return Make<TbiffEOF>(section, id, body);
    case biff::kBoundSheet: {
      auto record = Make<TbiffBoundSheet>(section, id, body, 8);
      const auto& sheet = static_cast<TbiffBoundSheet&>(*record);
      CheckChars(sheet, 8, sheet.NameLen(), sheet.NameOpt() != 0);
      return record;
    }
    case biff::kFont: {
      auto record = Make<TbiffFont>(section, id, body, 16);
      const auto& font = static_cast<TbiffFont&>(*record);
      CheckChars(font, 16, font.NameLen(), font.NameOpt() != 0);
      return record;
    }
    case biff::kXF: return Make<TbiffXF>(section, id, body, 20);
    case biff::kFormat: {
      auto record = Make<TbiffFormat>(section, id, body, 5);
      const auto& format = static_cast<TbiffFormat&>(*record);
      CheckChars(format, 5, format.FormatLen(), (format.FormatOpt() & 1) != 0);
      return record;
    }
    case biff::kStyle: return Make<TbiffStyle>(section, id, body);
    case biff::kContinue: return Make<TbiffContinue>(section, id, body);
    case biff::kSST: return Make<TbiffSST>(section, id, body);
    case kFormula: return Make<TbiffFormula>(section, id, body);
    case kName: return Make<TbiffName>(section, id, body);
    case kMulRK: return Make<TbiffMulRK>(section, id, body);
    case kMulBlank: return Make<TbiffMulBlank>(section, id, body);
    case kLabelSST: return Make<TbiffLabelSST>(section, id, body);
    case kBlank: return Make<TbiffBlank>(section, id, body);
    case kNumber: return Make<TbiffNumber>(section, id, body);
    case kBoolErr: return Make<TbiffBoolErr>(section, id, body);
    case kString: return Make<TbiffString>(section, id, body);
    case kRK: return Make<TbiffRK>(section, id, body);
    case kShrFmla: return Make<TbiffShrFmla>(section, id, body);
    case biff::kDimensions: return Make<TbiffDimensions>(section, id, body);
    case biff::kWindow1: return Make<TbiffWindow1>(section, id, body);
    case biff::kWindow2: return Make<TbiffWindow2>(section, id, body);
    case biff::kSelection: return Make<TbiffSelection>(section, id, body);
    case biff::kSCL: return Make<TbiffSCL>(section, id, body);
    case biff::kSetup: return Make<TbiffSetup>(section, id, body);
    case biff::kTXO: return Make<TbiffTXO>(section, id, body);
    case biff::kNote: return Make<TbiffNote>(section, id, body);
    case biff::kDefColWidth: return Make<TbiffDefColWidth>(section, id, body, 2);
    case biff::kDefRowHeight: return Make<TbiffDefRowHeight>(section, id, body, 4);
    case biff::kColInfo: return Make<TbiffColInfo>(section, id, body, 10);
    case biff::kHLink: return Make<TbiffHLink>(section, id, body);
    case biff::kMSODrawing: return Make<TbiffMSODrawing>(section, id, body);
    case biff::kObj: return Make<TbiffObj>(section, id, body);
    default: return std::make_unique<TbiffRecord>(section, id, std::move(body));
  }
}

bool DroppedOnSave(uint16_t id) { return id == biff::kIndex || id == biff::kDBCell || id == biff::kExtSST; }

}  // namespace

std::unique_ptr<TbiffRecord> LoadRecord(TxlsReadStream& stream, TxlsSection* section, bool typed) {
  uint16_t id = 0;
  std::vector<uint8_t> body;
  stream.ReadRecord(id, body);
  // Every record after it is encrypted, wherever it stands: in the globals or in a sheet's
  // records, where other readers refuse it as well.
  if (id == biff::kFilePass) throw ExlsFileError(kPasswordProtected);
  std::vector<std::unique_ptr<TbiffContinue>> continues;
  uint16_t next = 0, size = 0;
  while (stream.PeekHeader(next, size) && next == biff::kContinue) {
    std::vector<uint8_t> more;
    stream.ReadRecord(next, more);
    continues.push_back(std::make_unique<TbiffContinue>(section, next, std::move(more)));
    continues.back()->KeepWhole();
  }
  std::unique_ptr<TbiffRecord> record =
      typed ? MakeRecord(section, id, body) : std::make_unique<TbiffRecord>(section, id, std::move(body));
  record->KeepWhole();
  for (auto& c : continues) record->ChainContinue(std::move(c));
  return record;
}

void TbiffRecordList::Save(TxlsStream& stream) const {
  for (const auto& record : items_)
    if (record) record->Save(&stream);
}

uint64_t TbiffRecordList::GetTotalSize() const {
  uint64_t total = 0;
  for (const auto& record : items_)
    if (record) total += record->GetTotalSize();
  return total;
}

void TbiffFormatList::Add(const TbiffFormat* format) { byId_[format->ID()] = format; }

const TbiffFormat* TbiffFormatList::Find(uint16_t id) const {
  const auto it = byId_.find(id);
  return it != byId_.end() ? it->second : nullptr;
}

WideString TbiffFormatList::GetFormat(uint16_t id) const {
  if (const TbiffFormat* format = Find(id)) return format->Format();
  return WideString(BuiltInFormat(id));
}

TxlsSection::~TxlsSection() {
  if (OnDestroy) OnDestroy(*this);
}

uint64_t TxlsSection::GetTotalSize() const {
  return (bof_ ? bof_->GetTotalSize() : 0) + (eof_ ? eof_->GetTotalSize() : 0);
}

void TxlsSection::Clear() {
  bof_.reset();
  eof_.reset();
}

void TxlsSection::CheckLoaded() const {
  if (!bof_ || !eof_) throw EVantrixError(kSectionNotLoaded);
}

// ---- globals ----

void TxlsGlobals::Clear() {
  TxlsSection::Clear();
  Formats.Clear();
  Fonts.clear();
  XFs.clear();
  Names.clear();
  Styles.clear();
  BoundSheets.clear();
  Window1 = nullptr;
  dateXF_.clear();
  hasExtSST_ = false;
  extSSTBucket_ = 0;
  Records.Clear();
  SST.Clear();
  SST.SSTIndex().Recreate();
}

void TxlsGlobals::Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) {
  Clear();
  bof_ = std::move(bof);
  bool sstSeen = false;
  for (;;) {
    if (stream.AtEnd()) RaiseFileInvalid();
    std::unique_ptr<TbiffRecord> record = LoadRecord(stream, this);
    TbiffRecord* r = record.get();
    switch (r->Id()) {
      case biff::kEOF: eof_ = std::move(record); return;
      case biff::kBOF: RaiseFileInvalid();
      case biff::kExtSST:
        hasExtSST_ = true;
        extSSTBucket_ = r->DataSize() >= 2 ? GetWord(r->Data(), 0) : 0;
        continue;
      case biff::kSST:
        if (sstSeen) RaiseFileInvalid();
        sstSeen = true;
        SST.Load(static_cast<TbiffSST&>(*r));
        Records.Add(nullptr);  // where the table goes when saved
        continue;
      case biff::kFormat: Formats.Add(static_cast<TbiffFormat*>(r)); break;
      case biff::kXF: XFs.push_back(static_cast<TbiffXF*>(r)); break;
      case biff::kFont: Fonts.push_back(static_cast<TbiffFont*>(r)); break;
      case kName: Names.push_back(static_cast<TbiffName*>(r)); break;
      case biff::kStyle: Styles.push_back(r); break;
      case biff::kBoundSheet: BoundSheets.push_back(static_cast<TbiffBoundSheet*>(r)); break;
      case biff::kWindow1: Window1 = static_cast<TbiffWindow1*>(r); break;
      default:
        if (DroppedOnSave(r->Id())) continue;
        break;
    }
    Records.Add(std::move(record));
  }
}

// The shared strings go where the SST was read, else before the EOF; the EXTSST, which
// holds where they went, right after them.
void TxlsGlobals::Save(TxlsStream& stream) {
  CheckLoaded();
  bof_->Save(&stream);
  bool sstWritten = false;
  const auto saveSST = [&] {
    SST.Save(stream);
    if (hasExtSST_) {
      const std::vector<uint8_t> body = SST.ExtSSTBody(extSSTBucket_);
      stream.WriteWord(biff::kExtSST);
      stream.WriteWord(static_cast<uint16_t>(body.size()));
      stream.Write(body);
    }
    sstWritten = true;
  };
  for (size_t i = 0; i < Records.Count(); ++i) {
    if (const TbiffRecord* record = Records[i]) record->Save(&stream);
    else if (!sstWritten) saveSST();
  }
  if (!sstWritten && SSTSaved()) saveSST();
  eof_->Save(&stream);
}

bool TxlsGlobals::SSTSaved() const {
  for (size_t i = 0; i < Records.Count(); ++i)
    if (Records[i] == nullptr) return true;
  return SST.Count() > 0;
}

uint64_t TxlsGlobals::GetTotalSize() const {
  uint64_t total = TxlsSection::GetTotalSize() + Records.GetTotalSize();
  if (SSTSaved()) total += SST.GetTotalSize() + (hasExtSST_ ? SST.ExtSSTTotalSize(extSSTBucket_) : 0);
  return total;
}

bool TxlsGlobals::IsDateXF(uint16_t xf) const {
  if (xf >= XFs.size()) return false;
  if (dateXF_.size() != XFs.size()) dateXF_.assign(XFs.size(), -1);
  int8_t& known = dateXF_[xf];
  if (known < 0) known = IsDateTimeFormat(Formats.GetFormat(XFs[xf]->FormatIndex())) ? 1 : 0;
  return known == 1;
}

// ---- cell lines ----

template <class Pointer>
TbiffCell* TxlsCellLine<Pointer>::Find(int key) const {
  const auto it = std::lower_bound(cells_.begin(), cells_.end(), key, [this](const Pointer& c, int k) {
    return KeyOf(*c, byColumn_) < k;
  });
  return it != cells_.end() && KeyOf(**it, byColumn_) == key ? &**it : nullptr;
}

template <class Pointer>
Pointer TxlsCellLine<Pointer>::Put(int key, Pointer cell) {
  if (cells_.empty() || KeyOf(*cells_.back(), byColumn_) < key) {
    cells_.push_back(std::move(cell));
  } else {
    const auto it = std::lower_bound(cells_.begin(), cells_.end(), key, [this](const Pointer& c, int k) {
      return KeyOf(*c, byColumn_) < k;
    });
    if (it != cells_.end() && KeyOf(**it, byColumn_) == key) {
      std::swap(*it, cell);
      return cell;
    }
    cells_.insert(it, std::move(cell));
  }
  if (MinCol < 0 || key < MinCol) MinCol = key;
  if (key > MaxCol) MaxCol = key;
  return Pointer();
}

template class TxlsCellLine<std::unique_ptr<TbiffCell>>;
template class TxlsCellLine<TbiffCell*>;

// ---- worksheet ----

TxlsWorkSheet::~TxlsWorkSheet() { Clear(); }

void TxlsWorkSheet::Clear() {
  TxlsSection::Clear();
  cols_.clear();
  colsValid_ = false;
  rows_.clear();
  maxCol_ = -1;
  ColInfos.Clear();
  Dimensions.reset();
  SharedFormulas.clear();
  HeadRecords.Clear();
  RowRecords.Clear();
  MiddleRecords.Clear();
  TailRecords.Clear();
  TrailingCharts.Clear();
  DefColWidth = 8;
  DefRowHeight = 255;
  Window2 = nullptr;
}

void TxlsWorkSheet::AddCell(std::unique_ptr<TbiffCell> cell) {
  const int row = cell->Row(), col = cell->Col();
  if (col > kMaxCol) RaiseInvalidColumn(col);
  if (static_cast<size_t>(row) >= rows_.size()) rows_.resize(static_cast<size_t>(row) + 1);
  auto& line = rows_[static_cast<size_t>(row)];
  if (!line) {
    line = std::make_unique<TxlsRow>();
    line->Number = row;
  }
  line->Put(col, std::move(cell));  // a cell already there is dropped
  maxCol_ = std::max(maxCol_, col);
  colsValid_ = false;
}

void TxlsWorkSheet::AddMultiple(TbiffMultiple& record) {
  while (!record.GetEOF()) AddCell(record.GetCell());
}

TbiffCell* TxlsWorkSheet::GetCells(int row, int col) const {
  if (row < 0 || row > kMaxRow) RaiseInvalidRow(row);
  if (col < 0 || col > kMaxCol) RaiseInvalidColumn(col);
  const TxlsRow* line = Row(row);
  return line != nullptr ? line->Find(col) : nullptr;
}

const TxlsCol* TxlsWorkSheet::Col(int col) const {
  if (col < 0 || col > maxCol_) return nullptr;
  if (!colsValid_) {
    cols_.clear();
    cols_.resize(static_cast<size_t>(maxCol_) + 1);
    for (const auto& line : rows_) {
      if (!line) continue;
      for (size_t i = 0; i < line->Count(); ++i) {
        TbiffCell* cell = (*line)[i];
        auto& column = cols_[cell->Col()];
        if (!column) {
          column = std::make_unique<TxlsCol>();
          column->Number = cell->Col();
          column->byColumn_ = false;
        }
        column->Put(cell->Row(), cell);
      }
    }
    colsValid_ = true;
  }
  return cols_[static_cast<size_t>(col)].get();
}

TbiffShrFmla* TxlsWorkSheet::FindSharedFormula(uint32_t key) const {
  const auto it = std::find_if(SharedFormulas.begin(), SharedFormulas.end(),
                               [key](const TbiffShrFmla* f) { return f->GetKey() == key; });
  return it != SharedFormulas.end() ? *it : nullptr;
}

void TxlsWorkSheet::FixDimensions() {
  if (!Dimensions) return;
  int firstRow = -1, lastRow = -1, firstCol = -1, lastCol = -1;
  for (const auto& line : rows_) {
    if (!line || line->Count() == 0) continue;
    if (firstRow < 0) firstRow = line->Number;
    lastRow = line->Number;
    if (firstCol < 0 || line->MinCol < firstCol) firstCol = line->MinCol;
    lastCol = std::max(lastCol, line->MaxCol);
  }
  Dimensions->SetFirstRow(firstRow < 0 ? 0 : static_cast<uint32_t>(firstRow));
  Dimensions->SetLastRow(firstRow < 0 ? 0 : static_cast<uint32_t>(lastRow + 1));
  Dimensions->SetFirstCol(firstCol < 0 ? 0 : static_cast<uint16_t>(firstCol));
  Dimensions->SetLastCol(firstCol < 0 ? 0 : static_cast<uint16_t>(lastCol + 1));
  Dimensions->SetReserved(0);
}

WideString TxlsWorkSheet::GetName() const { return BoundSheet() != nullptr ? BoundSheet()->Name() : WideString(); }

void TxlsWorkSheet::Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) {
  Clear();
  bof_ = std::move(bof);
  LoadRecords(stream);
}

// Records before the first cell go to the head, those after it to the middle, those from
// WINDOW2 on to the tail; cells into the rows; a formula keeps the records it anchors (those
// right after it: one met after any other record stays in its place, so that a second save
// does not move it) and takes its text result from the STRING after it. A STRING after a
// formula whose result is no text is not its result: it stays with the formula as read.
void TxlsWorkSheet::LoadRecords(TxlsReadStream& stream) {
  TbiffRecordList* target = &HeadRecords;
  TbiffFormula* lastFormula = nullptr;
  TbiffFormula* anchor = nullptr;  // the formula the record read last, or its companions, belong to
  for (;;) {
    if (stream.AtEnd()) RaiseFileInvalid();
    std::unique_ptr<TbiffRecord> record = LoadRecord(stream, this);
    TbiffRecord* r = record.get();
    const uint16_t id = r->Id();
    TbiffFormula* const before = anchor;
    anchor = nullptr;
    if (id == biff::kEOF) {
      eof_ = std::move(record);
      return;
    }
    if (id == biff::kBOF) {
      if (static_cast<TbiffBOF&>(*r).DataType() != biff::kBofChart) RaiseFileInvalid();
      LoadChartSubstream(stream, std::move(record), *target);
      continue;
    }
    if (auto* cell = dynamic_cast<TbiffCell*>(r)) {
      lastFormula = cell->GetIsFormula() ? static_cast<TbiffFormula*>(cell) : nullptr;
      anchor = lastFormula;
      record.release();
      AddCell(std::unique_ptr<TbiffCell>(cell));
      if (target == &HeadRecords) target = &MiddleRecords;
      continue;
    }
    if (auto* multiple = dynamic_cast<TbiffMultiple*>(r)) {
      lastFormula = nullptr;
      AddMultiple(*multiple);
      if (target == &HeadRecords) target = &MiddleRecords;
      continue;
    }
    switch (id) {
      case kString:
        if (lastFormula == nullptr) RaiseFileInvalid();
        if (lastFormula->AwaitsString()) {
          lastFormula->SetAsString(static_cast<TbiffString&>(*r).GetValue());
        } else {
          lastFormula->AddCompanion(std::move(record));
          anchor = before;
        }
        lastFormula = nullptr;
        continue;
      case kShrFmla:
        SharedFormulas.push_back(static_cast<TbiffShrFmla*>(r));
        [[fallthrough]];
      case kArray:
      case kTable:
        if (before != nullptr) {
          before->AddCompanion(std::move(record));
          anchor = before;
          continue;
        }
        break;
      case biff::kDimensions:
        Dimensions.reset(static_cast<TbiffDimensions*>(record.release()));
        if (target == &HeadRecords) target = &MiddleRecords;
        continue;
      case biff::kColInfo:
        ColInfos.PutRange(GetWord(r->Data(), 0), GetWord(r->Data(), 2), GetWord(r->Data(), 4), GetWord(r->Data(), 6),
                          GetWord(r->Data(), 8));
        continue;
      case biff::kRow:
        RowRecords.Add(std::move(record));
        continue;
      case biff::kWindow2:
        Window2 = static_cast<TbiffWindow2*>(r);
        target = &TailRecords;
        break;
      case biff::kDefColWidth: DefColWidth = static_cast<TbiffDefColWidth&>(*r).GetWidth(); break;
      case biff::kDefRowHeight: DefRowHeight = static_cast<TbiffDefRowHeight&>(*r).GetHeight(); break;
      default:
        if (DroppedOnSave(id)) continue;
        break;
    }
    target->Add(std::move(record));
  }
}

void TxlsWorkSheet::Save(TxlsStream& stream) {
  CheckLoaded();
  bof_->Save(&stream);
  HeadRecords.Save(stream);
  ColInfos.Save(stream);
  FixDimensions();
  if (Dimensions) Dimensions->Save(&stream);
  RowRecords.Save(stream);
  for (const auto& line : rows_)
    if (line)
      for (size_t i = 0; i < line->Count(); ++i) (*line)[i]->Save(&stream);
  MiddleRecords.Save(stream);
  TailRecords.Save(stream);
  eof_->Save(&stream);
  TrailingCharts.Save(stream);
}

uint64_t TxlsWorkSheet::GetTotalSize() const {
  uint64_t total = TxlsSection::GetTotalSize() + HeadRecords.GetTotalSize() + ColInfos.GetTotalSize() +
                   RowRecords.GetTotalSize() + MiddleRecords.GetTotalSize() + TailRecords.GetTotalSize() +
                   TrailingCharts.GetTotalSize();
  if (Dimensions) total += Dimensions->GetTotalSize();
  for (const auto& line : rows_)
    if (line)
      for (size_t i = 0; i < line->Count(); ++i) total += (*line)[i]->GetTotalSize();
  return total;
}

// ---- charts ----

void LoadChartSubstream(TxlsReadStream& stream, std::unique_ptr<TbiffRecord> bof, TbiffRecordList& into) {
  into.Add(std::move(bof));
  int depth = 1;
  while (depth > 0) {
    if (stream.AtEnd()) RaiseFileInvalid();
    std::unique_ptr<TbiffRecord> record = LoadRecord(stream, nullptr, false);
    if (record->Id() == biff::kBOF) ++depth;
    else if (record->Id() == biff::kEOF) --depth;
    into.Add(std::move(record));
  }
}

void TxlsChartSheet::Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) {
  Clear();
  LoadChartSubstream(stream, std::move(bof), Records);
}

void TxlsChartSheet::Save(TxlsStream& stream) {
  if (Records.Empty()) throw EVantrixError(kSectionNotLoaded);
  Records.Save(stream);
}

uint64_t TxlsChartSheet::GetTotalSize() const { return Records.GetTotalSize(); }

void TxlsChartSheet::Clear() {
  TxlsSection::Clear();
  Records.Clear();
}

// ---- workbook ----

TxlsWorkbook::~TxlsWorkbook() { Clear(); }

// The sheets go first: their text cells let go of the shared strings they hold.
void TxlsWorkbook::Clear() {
  sheets_.clear();
  workSheets_.clear();
  chartSheets_.clear();
  globals_.Clear();
}

int TxlsWorkbook::IndexOfName(std::u16string_view name) const {
  for (size_t i = 0; i < workSheets_.size(); ++i)
    if (workSheets_[i]->GetName() == name) return static_cast<int>(i);
  return -1;
}

void TxlsWorkbook::Load(TxlsReadStream& stream) {
  Clear();
  try {
    LoadSections(stream);
  } catch (...) {
    Clear();
    throw;
  }
}

void TxlsWorkbook::LoadSections(TxlsReadStream& stream) {
  bool globalsSeen = false;
  uint16_t id = 0, size = 0;
  while (stream.PeekHeader(id, size) && id != 0 && id != biff::kEOF) {
    const size_t at = stream.Position();
    std::unique_ptr<TbiffRecord> record = LoadRecord(stream, nullptr);
    if (record->Id() != biff::kBOF) RaiseFileInvalid();
    std::unique_ptr<TbiffBOF> bof(static_cast<TbiffBOF*>(record.release()));
    const uint16_t type = bof->DataType();
    if (type == biff::kBofGlobals && !globalsSeen) {
      globals_.Load(stream, std::move(bof));
      globals_.streamPosition_ = at;
      globalsSeen = true;
    } else if (!globalsSeen) {
      RaiseFileInvalid();
    } else if (type == biff::kBofWorksheet) {
      auto sheet = std::make_unique<TxlsWorkSheet>(this);
      sheet->Load(stream, std::move(bof));
      sheet->streamPosition_ = at;
      sheets_.push_back(sheet.get());
      workSheets_.push_back(std::move(sheet));
    } else if (type == biff::kBofChart) {
      // A chart sheet has its BOUNDSHEET; a chart written after a worksheet without one is
      // that worksheet's.
      const auto& bound = globals_.BoundSheets;
      const bool own = std::any_of(bound.begin(), bound.end(), [at](const TbiffBoundSheet* b) { return b->BOFPos() == at; });
      if (!own && !sheets_.empty() && sheets_.back() == (workSheets_.empty() ? nullptr : workSheets_.back().get())) {
        LoadChartSubstream(stream, std::move(bof), workSheets_.back()->TrailingCharts);
      } else {
        auto chart = std::make_unique<TxlsChartSheet>(this);
        chart->Load(stream, std::move(bof));
        chart->streamPosition_ = at;
        sheets_.push_back(chart.get());
        chartSheets_.push_back(std::move(chart));
      }
    } else {
      RaiseFileInvalid();
    }
  }
  if (!globalsSeen) RaiseFileInvalid();
  // A stream cut short between two sheets, or inside the next record's header, has lost sheets.
  if (sheets_.size() < globals_.BoundSheets.size()) RaiseFileInvalid();
  const TxlsConstBytes rest = stream.Rest();
  if (rest.size() < 4 && std::any_of(rest.begin(), rest.end(), [](uint8_t b) { return b != 0; })) RaiseFileInvalid();
  MatchBoundSheets();
}

// A BOUNDSHEET names the sheet its offset points at, wherever it stands in the list (a list
// need not follow the sheets' order). The sheets no offset points at take the BOUNDSHEETs
// left over, in order.
void TxlsWorkbook::MatchBoundSheets() {
  const auto& bound = globals_.BoundSheets;
  std::multimap<uint32_t, size_t> byOffset;  // equal offsets in list order
  for (size_t i = 0; i < bound.size(); ++i) byOffset.emplace(bound[i]->BOFPos(), i);
  std::vector<bool> taken(bound.size());
  for (TxlsSection* sheet : sheets_) {
    sheet->boundSheet_ = nullptr;
    if (sheet->streamPosition_ > std::numeric_limits<uint32_t>::max()) continue;
    const auto it = byOffset.lower_bound(static_cast<uint32_t>(sheet->streamPosition_));
    if (it == byOffset.end() || it->first != sheet->streamPosition_) continue;
    sheet->boundSheet_ = bound[it->second];
    taken[it->second] = true;
    byOffset.erase(it);
  }
  size_t next = 0;
  for (TxlsSection* sheet : sheets_) {
    if (sheet->boundSheet_ != nullptr) continue;
    while (next < bound.size() && taken[next]) ++next;
    if (next == bound.size()) break;
    sheet->boundSheet_ = bound[next];
    taken[next] = true;
  }
}

// Each BOUNDSHEET points at the place its own sheet takes in the saved stream; the list keeps
// its order.
void TxlsWorkbook::FixBoundSheetOffsets() {
  globals_.SST.ClearEmptyEntries();
  if (globals_.BoundSheets.size() != sheets_.size()) RaiseFileInvalid();
  uint64_t position = globals_.GetTotalSize();
  for (TxlsSection* sheet : sheets_) {
    if (sheet->BoundSheet() == nullptr) RaiseFileInvalid();
    if (position > std::numeric_limits<uint32_t>::max()) throw ExlsFileError("The workbook is too large to save");
    sheet->BoundSheet()->SetBOFPos(static_cast<uint32_t>(position));
    position += sheet->GetTotalSize();
  }
}

void TxlsWorkbook::Save(TxlsStream& stream) {
  FixBoundSheetOffsets();
  globals_.Save(stream);
  for (TxlsSection* sheet : sheets_) sheet->Save(stream);
}

}  // namespace vantrix
