#include "workbook_records.h"

#include <gsf/gsf.h>

#include <cstring>
#include <stdexcept>

namespace xlstest {
namespace {

constexpr uint16_t kBOF = 0x0809, kEOF = 0x000A, kSST = 0x00FC, kContinue = 0x003C;

std::vector<uint8_t> WorkbookStream(const std::string& path) {
  gsf_init();
  GError* error = nullptr;
  GsfInput* input = gsf_input_stdio_new(path.c_str(), &error);
  if (input == nullptr) throw std::runtime_error("cannot open " + path);
  GsfInfile* ole = gsf_infile_msole_new(input, &error);
  g_object_unref(input);
  if (ole == nullptr) throw std::runtime_error(path + " is no compound file");
  GsfInput* child = gsf_infile_child_by_name(ole, "Workbook");
  std::vector<uint8_t> out;
  if (child != nullptr) {
    out.resize(static_cast<size_t>(gsf_input_size(child)));
    if (!out.empty()) gsf_input_read(child, out.size(), out.data());
    g_object_unref(child);
  }
  g_object_unref(ole);
  if (child == nullptr) throw std::runtime_error(path + " has no Workbook stream");
  return out;
}

}  // namespace

uint16_t Record::Word(size_t at) const {
  if (at + 2 > body.size()) throw std::out_of_range("record body");
  return static_cast<uint16_t>(body[at] | body[at + 1] << 8);
}

uint32_t Record::Integer(size_t at) const { return Word(at) | static_cast<uint32_t>(Word(at + 2)) << 16; }

double Record::Double(size_t at) const {
  if (at + 8 > body.size()) throw std::out_of_range("record body");
  double v;
  std::memcpy(&v, body.data() + at, 8);
  return v;
}

std::vector<const Record*> Substream::All(uint16_t id) const {
  std::vector<const Record*> out;
  for (const Record& r : records)
    if (r.id == id) out.push_back(&r);
  return out;
}

const Record& Substream::First(uint16_t id) const {
  for (const Record& r : records)
    if (r.id == id) return r;
  throw std::runtime_error("no record " + std::to_string(id));
}

Workbook ReadWorkbook(const std::string& path) {
  Workbook book;
  book.stream = WorkbookStream(path);
  const std::vector<uint8_t>& s = book.stream;
  std::vector<Substream> parts;
  Substream* current = nullptr;
  int depth = 0;
  for (size_t at = 0; at < s.size();) {
    if (at + 4 > s.size()) throw std::runtime_error("record header cut off");
    Record r;
    r.offset = at;
    r.id = static_cast<uint16_t>(s[at] | s[at + 1] << 8);
    const size_t size = static_cast<size_t>(s[at + 2] | s[at + 3] << 8);
    if (at + 4 + size > s.size()) throw std::runtime_error("record body cut off");
    r.body.assign(s.begin() + static_cast<ptrdiff_t>(at + 4), s.begin() + static_cast<ptrdiff_t>(at + 4 + size));
    at += 4 + size;
    if (r.id == kBOF && depth++ == 0) {
      parts.emplace_back();
      current = &parts.back();
    }
    if (current == nullptr) throw std::runtime_error("record outside a substream");
    current->records.push_back(std::move(r));
    if (current->records.back().id == kEOF && --depth == 0) current = nullptr;
  }
  if (parts.empty()) throw std::runtime_error("empty workbook stream");
  book.globals = std::move(parts.front());
  book.sheets.assign(std::make_move_iterator(parts.begin() + 1), std::make_move_iterator(parts.end()));
  return book;
}

const Record* CellAt(const Substream& sheet, int row, int col) {
  for (const Record& r : sheet.records) {
    if (r.id != 0x00FD && r.id != 0x0203 && r.id != 0x0205 && r.id != 0x0201 && r.id != 0x0006) continue;
    if (r.Word(0) == row && r.Word(2) == col) return &r;
  }
  return nullptr;
}

std::vector<SharedStringPlace> SharedStrings(const Workbook& book) {
  // The SST and its CONTINUE records as one run of pieces; a string's characters may go on in
  // the next piece, which then opens with its own option byte.
  std::vector<const Record*> pieces;
  const auto& records = book.globals.records;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].id != kSST) continue;
    pieces.push_back(&records[i]);
    for (size_t j = i + 1; j < records.size() && records[j].id == kContinue; ++j) pieces.push_back(&records[j]);
    break;
  }
  if (pieces.empty()) throw std::runtime_error("no SST");
  size_t piece = 0, at = 8;
  const auto next = [&] {
    while (at >= pieces[piece]->body.size()) {
      ++piece;
      at = 0;
      if (piece >= pieces.size()) throw std::runtime_error("SST cut off");
    }
  };
  const auto byte = [&]() -> uint8_t {
    next();
    return pieces[piece]->body[at++];
  };
  const auto word = [&]() {
    const uint8_t low = byte();
    const uint8_t high = byte();
    return static_cast<uint16_t>(low | high << 8);
  };
  const auto integer = [&]() {
    const uint16_t low = word();
    return low | static_cast<uint32_t>(word()) << 16;
  };
  std::vector<SharedStringPlace> strings;
  const uint32_t count = pieces[0]->Integer(4);
  for (uint32_t n = 0; n < count; ++n) {
    next();
    SharedStringPlace place;
    place.recordOffset = pieces[piece]->offset;
    place.offset = pieces[piece]->offset + 4 + at;
    const size_t length = word();
    uint8_t option = byte();
    const size_t runs = (option & 8) != 0 ? word() : 0;
    const uint32_t farEast = (option & 4) != 0 ? integer() : 0;
    while (place.text.size() < length) {
      if (at >= pieces[piece]->body.size()) {
        next();
        option = byte();
      }
      place.text.push_back((option & 1) != 0 ? static_cast<char16_t>(word()) : static_cast<char16_t>(byte()));
    }
    for (uint64_t skip = 4 * static_cast<uint64_t>(runs) + farEast; skip > 0; --skip) byte();
    strings.push_back(std::move(place));
  }
  return strings;
}

std::u16string SharedString(const Workbook& book, uint32_t index) {
  const std::vector<SharedStringPlace> strings = SharedStrings(book);
  if (index >= strings.size()) throw std::runtime_error("no string " + std::to_string(index));
  return strings[index].text;
}

}  // namespace xlstest
