// The workbook reader on damaged streams: each record of workbooks the writer makes, cut short
// and with its length changed in turn, is refused with the library's error or read, never
// anything worse (run it under ASan by hand: scripts/fuzz.sh builds the fuzz target so).
#include <gtest/gtest.h>

#include <QStringList>

#include "export/export_fixtures.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"
#include "run_program.h"

namespace {

using namespace vantrix;

struct RecordPlace {
  size_t start;
  uint16_t length;
};

std::vector<RecordPlace> Records(const std::vector<uint8_t>& stream) {
  std::vector<RecordPlace> places;
  for (size_t at = 0; at + 4 <= stream.size();) {
    const uint16_t length = GetWord(stream, at + 2);
    places.push_back({at, length});
    at += 4u + length;
  }
  return places;
}

enum class Outcome { Loaded, Refused, Other };

// Loads the stream; a load that works is saved and loaded again.
Outcome Load(const std::vector<uint8_t>& stream, std::string& what) {
  try {
    TxlsFile file;
    file.LoadStream(stream);
    DumpCells(file.Workbook());
    TxlsMemoryStream saved;
    try {
      file.Workbook().Save(saved);
    } catch (const EVantrixError&) {
      return Outcome::Loaded;  // a workbook whose sheets do not match its list is not saved
    }
    TxlsFile again;
    again.LoadStream(saved.Bytes());
    return Outcome::Loaded;
  } catch (const EVantrixError& e) {
    what = e.what();
    return Outcome::Refused;
  } catch (const std::exception& e) {
    what = e.what();
    return Outcome::Other;
  }
}

TEST(ReaderMalformed, EveryRecordCutShortOrMisSizedIsRefusedWithTheLibrarysError) {
  exporttest::TempFolder folder;
  const std::vector<QStringList> kinds = {
      {"--typed", "--field-formats", "--strip", "row", "--header", "a\\tb", "--extra-cells", "--merged",
       "--hyperlinks", "--page-header", "p"},
      {"--history-shaped", "40"},
  };
  for (size_t k = 0; k < kinds.size(); ++k) {
    const std::string path = folder / ("book" + std::to_string(k) + ".xls");
    const xlstest::ProgramRun run = xlstest::RunProgram(
        EXPORT_TABLE, QStringList{"--format", "xls", "--locale", "C", "--output", QString::fromStdString(path)} + kinds[k]);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::vector<uint8_t> stream = ReadWorkbookStream(path);
    std::string what;
    ASSERT_EQ(Load(stream, what), Outcome::Loaded) << what;

    const std::vector<RecordPlace> places = Records(stream);
    ASSERT_GT(places.size(), 50u);
    for (size_t r = 0; r < places.size(); ++r) {
      const RecordPlace& p = places[r];
      const std::string where = "record " + std::to_string(r) + " at " + std::to_string(p.start);
      // Cut inside the record: inside its body, or inside its header when it has none.
      std::vector<uint8_t> cut(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(p.start + (p.length > 0 ? 4 + p.length / 2 : 2)));
      EXPECT_EQ(Load(cut, what), Outcome::Refused) << where << " cut";
      // A length no record may have.
      std::vector<uint8_t> flipped = stream;
      SetWord(flipped, p.start + 2, static_cast<uint16_t>(p.length ^ 0xFFFF));
      EXPECT_EQ(Load(flipped, what), Outcome::Refused) << where << " length flipped";
      // A byte more or less: the records after it read out of step.
      for (const int change : {-1, 1}) {
        if (p.length == 0 && change < 0) continue;
        std::vector<uint8_t> shifted = stream;
        SetWord(shifted, p.start + 2, static_cast<uint16_t>(p.length + change));
        EXPECT_NE(Load(shifted, what), Outcome::Other) << where << " length " << change << ": " << what;
      }
    }
  }
}

}  // namespace
