#pragma once
// A written workbook read back record by record, for the checks of exact bytes: the compound
// file's "Workbook" stream (through libgsf), cut into records, and the substreams (globals,
// then each sheet) they make.
#include <cstdint>
#include <string>
#include <vector>

namespace xlstest {

struct Record {
  uint16_t id = 0;
  uint64_t offset = 0;  // of the record's header in the stream
  std::vector<uint8_t> body;

  uint16_t Word(size_t at) const;
  uint32_t Integer(size_t at) const;
  double Double(size_t at) const;
};

// A BOF .. EOF run of records.
struct Substream {
  std::vector<Record> records;
  // The records of that id, in order.
  std::vector<const Record*> All(uint16_t id) const;
  // The first of that id; raises when there is none.
  const Record& First(uint16_t id) const;
  size_t Count(uint16_t id) const { return All(id).size(); }
};

struct Workbook {
  std::vector<uint8_t> stream;
  Substream globals;
  std::vector<Substream> sheets;
};

// Raises std::runtime_error when the file is no compound file with a Workbook stream, or the
// stream does not cut into records.
Workbook ReadWorkbook(const std::string& path);

// A cell of a sheet: the record at (row, col) among LABELSST, NUMBER, BOOLERR, BLANK and
// FORMULA; null when none.
const Record* CellAt(const Substream& sheet, int row, int col);
// A LABELSST's text through the globals' SST (UTF-16 or 8-bit strings, CONTINUE included).
std::u16string SharedString(const Workbook& book, uint32_t index);

// A string of the globals' SST and where it is: the stream offset of its header (its
// character count) and of the SST or CONTINUE record that header is in.
struct SharedStringPlace {
  std::u16string text;
  uint64_t offset = 0;
  uint64_t recordOffset = 0;
};
// Every string the SST says it holds, rich-text runs and far-east data stepped over as they
// go on over CONTINUE records; raises when the table is cut off or there is none.
std::vector<SharedStringPlace> SharedStrings(const Workbook& book);

}  // namespace xlstest
