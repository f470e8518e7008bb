// The workbook reader: the input is a "Workbook" stream (the compound file around it is
// libgsf's to read). A load either works or fails with the library's error; a password-
// protected workbook never loads; a sheet that a BOUNDSHEET's offset points at is named by
// that BOUNDSHEET; a formula has a text result only when its record says so; a workbook that
// loads can be saved unless its sheets and its sheet list disagree; what is saved has every
// BOUNDSHEET pointing at its sheet's BOF and, when the workbook read had an EXTSST, one right
// after the shared strings whose buckets point at their first strings; it loads again with
// the same cells and saves again to the same bytes; a sheet holds at most one column entry
// per column.
#include <algorithm>
#include <map>
#include <set>

#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"
#include "fuzz/fuzz_target.h"

namespace {

// The BOF types of the substreams that start at the top level of a saved stream, by offset.
std::map<uint32_t, uint16_t> TopLevelBofs(const std::vector<uint8_t>& stream) {
  std::map<uint32_t, uint16_t> bofs;
  int depth = 0;
  for (size_t at = 0; at + 4 <= stream.size();) {
    const uint16_t id = vantrix::GetWord(stream, at), size = vantrix::GetWord(stream, at + 2);
    FUZZ_CHECK(at + 4 + size <= stream.size());
    if (id == 0x0809) {
      if (depth == 0) bofs[static_cast<uint32_t>(at)] = size >= 4 ? vantrix::GetWord(stream, at + 6) : 0;
      ++depth;
    } else if (id == 0x000A) {
      --depth;
    }
    at += 4u + size;
  }
  return bofs;
}

struct SavedRecord {
  uint16_t id;
  size_t at, size;
};

// The records of the saved globals, BOF to EOF.
std::vector<SavedRecord> GlobalsRecords(const std::vector<uint8_t>& stream) {
  std::vector<SavedRecord> records;
  for (size_t at = 0; at + 4 <= stream.size();) {
    const uint16_t id = vantrix::GetWord(stream, at), size = vantrix::GetWord(stream, at + 2);
    records.push_back({id, at, size});
    at += 4u + size;
    if (id == 0x000A) break;
  }
  return records;
}

// With an EXTSST read, the saved one follows the SST and its CONTINUE records, and each
// bucket's first string is where the bucket says: its stream offset less its in-record offset
// is the start of one of those records, and the string's bytes are there. Without, none.
void CheckStringIndex(const vantrix::TxlsGlobals& globals, const std::vector<uint8_t>& stream) {
  const std::vector<SavedRecord> records = GlobalsRecords(stream);
  const auto sst = std::find_if(records.begin(), records.end(), [](const SavedRecord& r) { return r.id == 0x00FC; });
  auto after = sst;
  if (after != records.end())
    for (++after; after != records.end() && after->id == 0x003C;) ++after;
  const bool written = std::any_of(records.begin(), records.end(), [](const SavedRecord& r) { return r.id == 0x00FF; });
  FUZZ_CHECK(written == (globals.HasExtSST() && sst != records.end()));
  if (!written) return;
  FUZZ_CHECK(after != records.end() && after->id == 0x00FF && after->size >= 2);
  const uint16_t bucketSize = vantrix::GetWord(stream, after->at + 4);
  const size_t buckets = (after->size - 2) / 8;
  FUZZ_CHECK(bucketSize > 0 && after->size == 2 + 8 * buckets && buckets <= 128);
  FUZZ_CHECK(buckets == std::min<size_t>((globals.SST.Count() + bucketSize - 1) / bucketSize, 128));
  for (size_t b = 0; b < buckets; ++b) {
    const uint32_t offset = vantrix::GetInteger(stream, after->at + 6 + 8 * b);
    const uint16_t inRecord = vantrix::GetWord(stream, after->at + 10 + 8 * b);
    const auto holder = std::find_if(sst, after, [&](const SavedRecord& r) { return r.at + inRecord == offset; });
    FUZZ_CHECK(holder != after && inRecord >= (holder == sst ? 12 : 4) && inRecord < 4 + holder->size);
    const std::vector<uint8_t> bytes = globals.SST[b * bucketSize]->Value().Bytes();
    const size_t shown = std::min(bytes.size(), holder->at + 4 + holder->size - offset);
    FUZZ_CHECK(std::equal(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(shown), stream.begin() + offset));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vantrix::TxlsFile file;
  try {
    file.LoadStream(std::vector<uint8_t>(data, data + size));
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(!file.Loaded() && file.Workbook().WorkSheetCount() == 0);
    return 0;
  }
  vantrix::TxlsWorkbook& book = file.Workbook();
  const vantrix::TxlsGlobals& globals = book.Globals();
  // A workbook that says its records are encrypted is refused, wherever it says so.
  const auto checkNoFilePass = [](const vantrix::TbiffRecordList& records) {
    for (size_t i = 0; i < records.Count(); ++i)
      FUZZ_CHECK(records[i] == nullptr || records[i]->Id() != vantrix::biff::kFilePass);
  };
  checkNoFilePass(globals.Records);
  for (size_t i = 0; i < book.WorkSheetCount(); ++i) {
    const vantrix::TxlsWorkSheet& sheet = book.WorkSheet(i);
    for (const auto* records : {&sheet.HeadRecords, &sheet.RowRecords, &sheet.MiddleRecords, &sheet.TailRecords,
                                &sheet.TrailingCharts})
      checkNoFilePass(*records);
    FUZZ_CHECK(sheet.ColInfos.Count() <= 256);
    for (int r = 0; r < sheet.GetRowCount(); ++r)
      for (size_t c = 0; sheet.Row(r) != nullptr && c < sheet.Row(r)->Count(); ++c) {
        const auto* formula = dynamic_cast<const vantrix::TbiffFormula*>((*sheet.Row(r))[c]);
        if (formula == nullptr) continue;
        const vantrix::TxlsVariant result = formula->GetAsVariant();
        const auto* text = std::get_if<vantrix::WideString>(&result);
        FUZZ_CHECK(text == nullptr || text->empty() || formula->AwaitsString());
      }
  }
  std::set<uint32_t> readOffsets;
  for (const vantrix::TbiffBoundSheet* bound : globals.BoundSheets) readOffsets.insert(bound->BOFPos());
  std::set<const vantrix::TbiffBoundSheet*> named;
  for (const vantrix::TxlsSection* sheet : book.Sheets()) {
    if (sheet->StreamPosition() <= UINT32_MAX && readOffsets.count(static_cast<uint32_t>(sheet->StreamPosition())) > 0)
      FUZZ_CHECK(sheet->BoundSheet() != nullptr && sheet->BoundSheet()->BOFPos() == sheet->StreamPosition());
    FUZZ_CHECK(sheet->BoundSheet() == nullptr || named.insert(sheet->BoundSheet()).second);
  }
  const std::string cells = vantrix::DumpCells(book);
  vantrix::TxlsMemoryStream saved;
  try {
    book.Save(saved);
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(book.Globals().BoundSheets.size() != book.Sheets().size());
    return 0;
  }
  const std::map<uint32_t, uint16_t> bofs = TopLevelBofs(saved.Bytes());
  uint32_t previous = 0;
  for (size_t i = 0; i < book.Sheets().size(); ++i) {
    const uint32_t at = book.Sheets()[i]->BoundSheet()->BOFPos();
    const auto bof = bofs.find(at);
    FUZZ_CHECK(bof != bofs.end() && at > previous);
    const bool worksheet = dynamic_cast<const vantrix::TxlsWorkSheet*>(book.Sheets()[i]) != nullptr;
    FUZZ_CHECK(bof->second == (worksheet ? 0x0010 : 0x0020));
    previous = at;
  }
  CheckStringIndex(globals, saved.Bytes());
  vantrix::TxlsFile again;
  again.LoadStream(saved.Bytes());
  FUZZ_CHECK(vantrix::DumpCells(again.Workbook()) == cells);
  vantrix::TxlsMemoryStream resaved;
  again.Workbook().Save(resaved);
  FUZZ_CHECK(resaved.Bytes() == saved.Bytes());
  return 0;
}

// A sheet's last cell (row 65535, column 255) with a shared-string table of 20,000 strings over
// some twenty CONTINUE records; the same with a MULRK running past the last column; a sheet of
// 200,000 COLINFO records over every column (once 2 GB to load).
std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  std::string s;
  const auto word = [&s](uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
  };
  const auto dword = [&](uint32_t v) {
    word(static_cast<uint16_t>(v));
    word(static_cast<uint16_t>(v >> 16));
  };
  const auto record = [&](uint16_t id, const std::string& body) {
    word(id);
    word(static_cast<uint16_t>(body.size()));
    s += body;
  };
  const auto bof = [&](uint16_t type) {
    std::string b;
    std::swap(b, s);
    word(0x0600);
    word(type);
    s += std::string(12, '\0');
    std::swap(b, s);
    record(0x0809, b);
  };
  const auto body = [&](auto&& fill) {
    std::string b;
    std::swap(b, s);
    fill();
    std::swap(b, s);
    return b;
  };
  bof(0x0005);
  record(0x00E0, std::string(20, '\0'));
  record(0x0085, body([&] {
           dword(0);
           s += std::string("\0\0\1\0S", 5);
         }));
  // 20,000 strings of 4 characters, 7 bytes each.
  std::string strings = body([&] {
    dword(20000);
    dword(20000);
    for (int i = 0; i < 20000; ++i) {
      word(4);
      s += '\0';
      s += std::to_string(1000 + i % 9000);
    }
  });
  const size_t first = 8 + (8224 - 8) / 7 * 7, next = 8224 / 7 * 7;  // whole strings per record
  record(0x00FC, strings.substr(0, first));
  for (size_t at = first; at < strings.size(); at += next) record(0x003C, strings.substr(at, next));
  record(0x000A, "");
  bof(0x0010);
  record(0x00FD, body([&] {
           word(65535);
           word(255);
           word(0);
           dword(19999);
         }));
  std::string lastCell = s;
  record(0x000A, "");
  lastCell.swap(s);
  record(0x00BD, body([&] {
           word(3);
           word(250);
           for (int i = 0; i < 8; ++i) {
             word(0);
             dword(2);
           }
           word(257);
         }));
  record(0x000A, "");
  std::string mulRk = s;
  s.clear();
  bof(0x0005);
  record(0x0085, body([&] {
           dword(0);
           s += std::string("\0\0\1\0S", 5);
         }));
  record(0x000A, "");
  bof(0x0010);
  for (int i = 0; i < 200000; ++i)
    record(0x007D, body([&] {
             word(0);
             word(255);
             word(static_cast<uint16_t>(i));
             word(15);
             word(0);
             s += '\0';
           }));
  record(0x000A, "");
  return {{"the last cell, 20,000 strings over many CONTINUE records", lastCell},
          {"a MULRK past the last column", mulRk},
          {"200,000 COLINFO records of 256 columns", s}};
}
