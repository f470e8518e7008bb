// The workbook reader: the input is a "Workbook" stream (the compound file around it is
// libgsf's to read). A load either works or fails with the library's error; a workbook that
// loads can be saved unless its sheets and its sheet list disagree, and what is saved loads
// again with the same cells.
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vantrix::TxlsFile file;
  try {
    file.LoadStream(std::vector<uint8_t>(data, data + size));
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(!file.Loaded() && file.Workbook().WorkSheetCount() == 0);
    return 0;
  }
  const std::string cells = vantrix::DumpCells(file.Workbook());
  vantrix::TxlsMemoryStream saved;
  try {
    file.Workbook().Save(saved);
  } catch (const vantrix::EVantrixError&) {
    FUZZ_CHECK(file.Workbook().Globals().BoundSheets.size() != file.Workbook().Sheets().size());
    return 0;
  }
  vantrix::TxlsFile again;
  again.LoadStream(saved.Bytes());
  FUZZ_CHECK(vantrix::DumpCells(again.Workbook()) == cells);
  return 0;
}

// A sheet's last cell (row 65535, column 255) with a shared-string table of 20,000 strings over
// some twenty CONTINUE records; the same with a MULRK running past the last column.
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
  return {{"the last cell, 20,000 strings over many CONTINUE records", lastCell},
          {"a MULRK past the last column", s}};
}
