// The workbook reader's save, checked in the saved file: records read whole stay whole (notes
// of any length), every record goes out with its continuation and is counted as it is written
// (so each BOUNDSHEET points at its sheet), the records a formula anchors stay where they were
// read, and the used range and the column widths say what the cells and the COLINFO records
// said. xlrd and gnumeric read each saved copy without a word, and a second load and save
// gives the same bytes.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "biff_builder.h"
#include "export/export_fixtures.h"
#include "export/xls/chart_records.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"
#include "read_drawings.h"
#include "run_program.h"
#include "workbook_records.h"

namespace {

using namespace vantrix;
using exporttest::TempFolder;
using xlstest::Body;
using xlstest::ProgramRun;
using xlstest::RunProgram;
using xlstest::Stream;
using Bytes = std::vector<uint8_t>;

const QString kScripts = XLS_TEST_SCRIPT_DIR;

struct RecordAt {
  uint16_t id;
  size_t at, size;
};

std::vector<RecordAt> Walk(const Bytes& stream) {
  std::vector<RecordAt> records;
  for (size_t at = 0; at + 4 <= stream.size();) {
    const uint16_t size = GetWord(stream, at + 2);
    records.push_back({GetWord(stream, at), at, size});
    at += 4u + size;
  }
  return records;
}

Bytes Save(TxlsWorkbook& book) {
  TxlsMemoryStream saved;
  book.Save(saved);
  return saved.Bytes();
}

Bytes LoadAndSave(const Bytes& stream) {
  TxlsFile file;
  file.LoadStream(stream);
  return Save(file.Workbook());
}

// A FORMULA at the cell whose result is the number, with one token (the integer 1).
Body Formula(uint16_t row, uint16_t col, double value) {
  return Body().W(row).W(col).W(0).F(value).W(0).D(0).W(3).B(0x1E).W(1);
}

// ARRAY (or TABLE) over the cell, with the same token.
Body Anchored(uint16_t row, uint16_t col) {
  const auto c = static_cast<uint8_t>(col);
  return Body().W(row).W(row).B(c).B(c).W(0).D(0).W(3).B(0x1E).W(1);
}

class ReaderSave : public testing::Test {
 protected:
  std::string Export(const QStringList& args) {
    const std::string path = folder_ / "book.xls";
    const ProgramRun run = RunProgram(
        EXPORT_TABLE, QStringList{"--format", "xls", "--locale", "C", "--output", QString::fromStdString(path)} + args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return path;
  }
  // The stream loaded and saved into a workbook file; a second load and save of what was
  // saved gives the same bytes.
  std::string SaveCopy(const Bytes& stream, const std::string& name = "saved.xls") {
    TxlsFile file;
    file.LoadStream(stream);
    file.FileName = folder_ / name;
    file.Save();
    const Bytes saved = ReadWorkbookStream(file.FileName);
    EXPECT_EQ(LoadAndSave(saved), saved) << "a second save differs from the first";
    return file.FileName;
  }
  QString Python(const QStringList& args) {
    const ProgramRun run = RunProgram("/usr/bin/python3", args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    return QString::fromUtf8(run.out);
  }
  QJsonObject WalkRecords(const std::string& path) {
    return QJsonDocument::fromJson(Python({kScripts + "/walk_records.py", QString::fromStdString(path)}).toUtf8()).object();
  }
  // xlrd's cells of the file beside ours of the workbook.
  void ExpectXlrdReads(const std::string& path, const TxlsWorkbook& book) {
    EXPECT_EQ(Python({kScripts + "/xlrd_cells.py", QString::fromStdString(path)}).toStdString(), DumpCells(book)) << path;
  }
  TempFolder folder_;
};

// The body offset of each BOUNDSHEET's sheet offset in the stream, in list order.
std::vector<size_t> BoundSheetOffsetFields(const Bytes& stream) {
  std::vector<size_t> fields;
  for (const RecordAt& r : Walk(stream))
    if (r.id == 0x0085) fields.push_back(r.at + 4);
  return fields;
}

// Globals of one XF and the sheet names, whose SST holds the texts over as many CONTINUE
// records as they take (a string that does not fit goes on in the next record, split between
// its characters), followed by an EXTSST of the bucket size given that says where they are;
// then one sheet with a LABELSST cell in column 0 for each string index given.
Bytes StringsWorkbook(const std::vector<std::u16string>& texts, const std::vector<uint32_t>& cells, uint16_t bucketSize) {
  std::vector<Bytes> bodies(1);
  Body counts;
  counts.D(static_cast<uint32_t>(cells.size())).D(static_cast<uint32_t>(texts.size()));
  bodies[0] = counts.bytes;
  std::vector<std::pair<size_t, size_t>> starts;  // record, body offset
  const auto room = [&bodies] { return 8224 - bodies.back().size(); };
  for (const std::u16string& text : texts) {
    if (room() < 4) bodies.emplace_back();
    starts.emplace_back(bodies.size() - 1, bodies.back().size());
    Body header;
    header.W(static_cast<uint16_t>(text.size())).B(0);
    bodies.back().insert(bodies.back().end(), header.bytes.begin(), header.bytes.end());
    for (const char16_t c : text) {
      if (room() == 0) bodies.push_back({0});
      bodies.back().push_back(static_cast<uint8_t>(c));
    }
  }
  Stream s;
  s.Bof(0x0005).Xf(0).BoundSheet(u"S");
  std::vector<size_t> recordAt;
  for (size_t r = 0; r < bodies.size(); ++r) {
    recordAt.push_back(s.bytes.size());
    s.Rec(r == 0 ? 0x00FC : 0x003C, bodies[r]);
  }
  Body extSst;
  extSst.W(bucketSize);
  for (size_t i = 0; i < starts.size(); i += bucketSize)
    extSst.D(static_cast<uint32_t>(recordAt[starts[i].first] + 4 + starts[i].second)).W(static_cast<uint16_t>(4 + starts[i].second)).W(0);
  s.Rec(0x00FF, extSst).Eof();
  SetInteger(s.bytes, BoundSheetOffsetFields(s.bytes)[0], static_cast<uint32_t>(s.bytes.size()));
  s.Bof(0x0010).Dimensions();
  for (size_t row = 0; row < cells.size(); ++row) s.Label(static_cast<uint16_t>(row), 0, cells[row]);
  s.Eof();
  return s.bytes;
}

// The EXTSST of a saved workbook, right after its SST and CONTINUE records: the bucket size
// asked (raised so that 128 buckets hold every string), and for each bucket the stream offset
// of its first string's header and that header's offset from the start of the record it is
// in, as another program finds the strings.
void ExpectStringIndexPointsAtTheStrings(const std::string& path, uint16_t bucketSize) {
  const xlstest::Workbook book = xlstest::ReadWorkbook(path);
  const std::vector<xlstest::SharedStringPlace> strings = xlstest::SharedStrings(book);
  const auto& records = book.globals.records;
  size_t at = 0;
  while (at < records.size() && records[at].id != 0x00FC) ++at;
  for (++at; at < records.size() && records[at].id == 0x003C;) ++at;
  ASSERT_LT(at, records.size());
  const xlstest::Record& index = records[at];
  ASSERT_EQ(index.id, 0x00FF) << "the EXTSST right after the strings";
  EXPECT_EQ(index.Word(0), bucketSize);
  const size_t buckets = (strings.size() + bucketSize - 1) / bucketSize;
  ASSERT_EQ(index.body.size(), 2 + 8 * buckets);
  for (size_t b = 0; b < buckets; ++b) {
    const xlstest::SharedStringPlace& first = strings[b * bucketSize];
    const uint32_t streamOffset = index.Integer(2 + 8 * b);
    const uint16_t inRecord = index.Word(6 + 8 * b);
    if (streamOffset != first.offset || inRecord != first.offset - first.recordOffset || index.Word(8 + 8 * b) != 0) {
      ADD_FAILURE() << path << ", bucket " << b << " of " << buckets << ": stream offset " << streamOffset << ", "
                    << inRecord << " into its record (reserved " << index.Word(8 + 8 * b) << "); the string is at "
                    << first.offset << ", " << first.offset - first.recordOffset << " into the record at "
                    << first.recordOffset;
      return;
    }
  }
}

QString NoteText(int length, int seed) {
  QString text;
  for (int i = 0; i < length; ++i) text += QChar(i % 89 == 0 ? u'\u00E7' : i % 61 == 0 ? u'\n' : u'a' + (i + seed) % 26);
  return text;
}

TEST_F(ReaderSave, NotesOfAnyLengthAreSavedAsWritten) {
  const QString texts[] = {NoteText(4200, 0), NoteText(9000, 1), NoteText(20000, 2)};
  const std::string path = Export({"--note", "1,1," + texts[0], "--note", "2,3," + texts[1], "--note", "3,5," + texts[2]});
  const Bytes written = ReadWorkbookStream(path);
  const std::string copy = SaveCopy(written);
  // The writer's records come back as they were, the note texts' CONTINUE records of 8,223
  // bytes (an option byte and 4,111 characters) among them.
  const Bytes saved = ReadWorkbookStream(copy);
  std::vector<size_t> sizes;
  for (const RecordAt& r : Walk(saved))
    if (r.id == 0x003C) sizes.push_back(r.size);
  EXPECT_EQ(std::count(sizes.begin(), sizes.end(), 8223u), 7) << "1 + 2 + 4 full records of note text";
  EXPECT_EQ(saved, written);

  const QJsonObject book = xlstest::ReadDrawings(copy, QString::fromStdString(folder_ / "saved.gnumeric"));
  const QJsonArray notes = book["xlrd"][0]["notes"].toArray();
  const QJsonArray comments = book["gnumeric"][0]["comments"].toArray();
  ASSERT_EQ(notes.size(), 3);
  ASSERT_EQ(comments.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(notes[i]["text"].toString(), texts[i]) << i;
    EXPECT_EQ(comments[i]["text"].toString(), texts[i]) << i;
  }
}

// Every cell class, and a record kept as it is, followed by a CONTINUE record on the first of
// two sheets: the second sheet's BOUNDSHEET points at its BOF after the save.
TEST_F(ReaderSave, RecordsGoOutWithTheirContinuationsAndSheetsWhereTheirBoundSheetsPoint) {
  const Body tail = Body().B(1).B(2).B(3).B(4).B(5).B(6).B(7).B(8);
  Stream first;
  first.Bof(0x0010)
      .Rec(0x0055, Body().W(8)).Rec(0x003C, tail)
      .Dimensions().Rec(0x003C, tail)
      .Label(0, 0, 0).Rec(0x003C, tail)
      .Number(1, 0, 0, 2.5).Rec(0x003C, tail)
      .Rk(2, 0, 0, 7u << 2 | 2).Rec(0x003C, tail)
      .Rec(0x0201, Body().W(3).W(0).W(0)).Rec(0x003C, tail)
      .Rec(0x0205, Body().W(4).W(0).W(0).B(1).B(0)).Rec(0x003C, tail)
      .Rec(0x0006, Formula(5, 0, 9)).Rec(0x003C, tail)
      .Rec(0x0221, Anchored(5, 0)).Rec(0x003C, tail)
      .Rec(0x023E, Body().W(0x06B6).W(0).W(0).D(0).W(0).W(0).D(0)).Rec(0x003C, tail)
      .Eof();
  Stream second;
  second.Bof(0x0010).Dimensions().Label(0, 0, 1).Eof();
  Stream s = xlstest::Globals({u"first", u"second"}, {u"A", u"B"});
  s.Append(first).Append(second);

  TxlsFile file;
  file.LoadStream(s.bytes);
  const TxlsWorkSheet& sheet = file.Workbook().WorkSheet(0);
  for (int row = 0; row < sheet.GetRowCount(); ++row) {
    const TbiffCell* cell = sheet.GetCells(row, 0);
    ASSERT_NE(cell, nullptr) << row;
    TxlsMemoryStream written;
    cell->Save(&written);
    EXPECT_EQ(written.Size(), cell->GetTotalSize()) << "row " << row;
    EXPECT_EQ(GetWord(written.Bytes(), written.Size() - 12), 0x003C) << "row " << row << " without its CONTINUE";
  }
  const Bytes saved = Save(file.Workbook());
  EXPECT_EQ(saved.size(), s.bytes.size()) << "every record kept";

  const std::string copy = SaveCopy(s.bytes);
  ExpectXlrdReads(copy, file.Workbook());
  const QJsonObject walk = WalkRecords(copy);
  const QJsonArray bound = walk["boundsheets"].toArray(), sheets = walk["sheets"].toArray();
  ASSERT_EQ(bound.size(), 2);
  ASSERT_EQ(sheets.size(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(bound[i]["worksheet_bof"].toBool()) << i;
    EXPECT_EQ(bound[i]["offset"].toInt(), sheets[i]["bof"].toInt()) << i;
  }
}

// A TABLE or ARRAY belongs to the formula right before it; one met later stays where it was.
TEST_F(ReaderSave, AnchoredRecordsStayWhereTheyWereRead) {
  const Body note = Body().W(0).W(0).W(0).W(1);
  Stream cells;
  cells.Rec(0x0006, Formula(3, 0, 1))
      .Rec(0x0236, Anchored(3, 0))      // TABLE right after its formula
      .Number(0, 0, 0, 5)
      .Rec(0x001C, note)
      .Rec(0x0221, Anchored(9, 9))      // ARRAY after a note: belongs to no formula
      .Rec(0x0006, Formula(7, 1, 2))
      .Rec(0x001C, note)
      .Rec(0x0236, Anchored(8, 8));     // TABLE after a note again, the last cell a formula
  Stream s = xlstest::Globals({}, {u"S"});
  s.Bof(0x0010).Dimensions().Append(cells).Eof();
  const Bytes saved = LoadAndSave(s.bytes);
  EXPECT_EQ(LoadAndSave(saved), saved);
  std::vector<uint16_t> ids;
  for (const RecordAt& r : Walk(saved))
    if (r.id == 0x0006 || r.id == 0x0203 || r.id == 0x001C || r.id == 0x0221 || r.id == 0x0236) ids.push_back(r.id);
  EXPECT_EQ(ids, (std::vector<uint16_t>{0x0203, 0x0006, 0x0236, 0x0006, 0x001C, 0x0221, 0x001C, 0x0236}));
}

// The used range from the cells; a width for each column the COLINFO records name, a later
// record's width over an earlier one's, nothing past the last column.
TEST_F(ReaderSave, UsedRangeAndColumnWidthsLandInTheSavedFile) {
  const auto colInfo = [](uint16_t first, uint16_t last, uint16_t width) {
    return Body().W(first).W(last).W(width).W(0).W(0).B(0);
  };
  Stream sheet;
  sheet.Bof(0x0010)
      .Rec(0x007D, colInfo(0, 0, 3000))
      .Rec(0x007D, colInfo(2, 4, 4000))
      .Rec(0x007D, colInfo(3, 3, 5000))
      .Rec(0x007D, colInfo(250, 256, 6000))
      .Rec(0x007D, colInfo(254, 300, 6500))
      .Rec(0x007D, colInfo(300, 310, 7000))
      .Dimensions()
      .Number(2, 1, 0, 1)
      .Number(9, 3, 0, 2)
      .Number(5, 2, 0, 3)
      .Eof();
  Stream s = xlstest::Globals({}, {u"S"});
  s.Append(sheet);
  const std::string copy = SaveCopy(s.bytes);

  const QJsonObject saved = WalkRecords(copy)["sheets"][0].toObject();
  EXPECT_EQ(saved["dimensions"].toArray(), (QJsonArray{2, 10, 1, 4}));
  const QString widths = Python({"-c",
                                 "import sys, xlrd\n"
                                 "b = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr)\n"
                                 "s = b.sheet_by_index(0)\n"
                                 "print(sorted((c, i.width) for c, i in s.colinfo_map.items()), s.nrows, s.ncols)",
                                 QString::fromStdString(copy)});
  EXPECT_EQ(widths.trimmed(), "[(0, 3000), (2, 4000), (3, 5000), (4, 4000), (250, 6000), (251, 6000), (252, 6000), "
                              "(253, 6000), (254, 6500), (255, 6500)] 10 4");
  for (const QJsonValue record : saved["colinfo"].toArray()) {
    EXPECT_LE(record[1].toInt(), 255);
    EXPECT_LE(record[0].toInt(), record[1].toInt());
  }
}

// A file of many COLINFO records over every column holds one entry per column, the last
// record's.
TEST_F(ReaderSave, ASheetHoldsOneColumnInfoPerColumn) {
  Stream sheet;
  sheet.Bof(0x0010);
  for (uint16_t i = 0; i < 2000; ++i) sheet.Rec(0x007D, Body().W(0).W(255).W(i).W(0).W(0).B(0));
  sheet.Dimensions().Eof();
  Stream s = xlstest::Globals({}, {u"S"});
  s.Append(sheet);
  TxlsFile file;
  file.LoadStream(s.bytes);
  const TxlsColInfoList& infos = file.Workbook().WorkSheet(0).ColInfos;
  ASSERT_EQ(infos.Count(), 256u);
  for (size_t c = 0; c < 256; ++c) {
    EXPECT_EQ(infos[c]->Column, c);
    EXPECT_EQ(infos[c]->Width, 1999);
  }
}

// An empty CONTINUE record between a string's characters and its formatting runs (where
// reading it once handed a null pointer to memcpy): the runs are read from the record after it.
TEST_F(ReaderSave, AnEmptyContinueInsideASharedStringIsSteppedOver) {
  Stream s;
  s.Bof(0x0005).Xf(0).BoundSheet(u"S")
      .Rec(0x00FC, Body().D(1).D(1).W(3).B(0x08).W(1).B('a').B('b').B('c'))
      .Rec(0x003C, Body())
      .Rec(0x003C, Body().W(1))
      .Rec(0x003C, Body())
      .Rec(0x003C, Body().W(0))
      .Eof();
  s.Bof(0x0010).Dimensions().Label(0, 0, 0).Eof();
  TxlsFile file;
  file.LoadStream(s.bytes);
  EXPECT_EQ(file.Workbook().WorkSheet(0).GetCells(0, 0)->GetAsString(), u"abc");
  const Bytes saved = Save(file.Workbook());
  EXPECT_EQ(LoadAndSave(saved), saved);
  const std::vector<RecordAt> records = Walk(saved);
  const auto sst = std::find_if(records.begin(), records.end(), [](const RecordAt& r) { return r.id == 0x00FC; });
  ASSERT_NE(sst, records.end());
  const auto body = saved.begin() + static_cast<ptrdiff_t>(sst->at + 4);
  EXPECT_EQ(Bytes(body, body + static_cast<ptrdiff_t>(sst->size)),
            Body().D(1).D(1).W(3).B(0x08).W(1).B('a').B('b').B('c').W(1).W(0).bytes);
}

// Each sheet is named by the BOUNDSHEET whose offset points at it, wherever that stands in the
// list; a sheet no offset points at takes the BOUNDSHEET left over. The save keeps the list's
// order and each BOUNDSHEET pointing at its own sheet, as xlrd finds them.
TEST_F(ReaderSave, EachSheetIsNamedByTheBoundSheetThatPointsAtIt) {
  Stream s;
  s.Bof(0x0005).Xf(0).BoundSheet(u"Gamma").BoundSheet(u"Alpha").BoundSheet(u"Beta").Sst({u"alpha", u"beta", u"gamma"}).Eof();
  std::vector<uint32_t> sheetAt;
  for (uint32_t text = 0; text < 3; ++text) {
    sheetAt.push_back(static_cast<uint32_t>(s.bytes.size()));
    s.Bof(0x0010).Dimensions().Label(0, 0, text).Eof();
  }
  const std::vector<size_t> fields = BoundSheetOffsetFields(s.bytes);
  SetInteger(s.bytes, fields[0], sheetAt[2]);  // Gamma: the third sheet
  SetInteger(s.bytes, fields[1], 7);           // Alpha: nowhere, so the sheet left over
  SetInteger(s.bytes, fields[2], sheetAt[1]);  // Beta: the second sheet

  TxlsFile file;
  file.LoadStream(s.bytes);
  const TxlsWorkbook& book = file.Workbook();
  const std::u16string names[] = {u"Alpha", u"Beta", u"Gamma"}, texts[] = {u"alpha", u"beta", u"gamma"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(book.WorkSheet(i).GetName(), names[i]) << i;
    EXPECT_EQ(book.WorkSheet(i).GetCells(0, 0)->GetAsString(), texts[i]) << i;
    EXPECT_EQ(book.IndexOfName(names[i]), static_cast<int>(i));
  }

  const std::string copy = SaveCopy(s.bytes);
  const QString xlrd = Python({"-c",
                               "import sys, xlrd\n"
                               "b = xlrd.open_workbook(sys.argv[1], logfile=sys.stderr)\n"
                               "print(' '.join(s.name + '=' + s.cell_value(0, 0) for s in b.sheets()))",
                               QString::fromStdString(copy)});
  EXPECT_EQ(xlrd.trimmed(), "Gamma=gamma Alpha=alpha Beta=beta");
  const QJsonArray bound = WalkRecords(copy)["boundsheets"].toArray();
  ASSERT_EQ(bound.size(), 3);
  for (const QJsonValue b : bound) EXPECT_TRUE(b["worksheet_bof"].toBool()) << b["name"].toString().toStdString();
}

// The EXTSST read is written anew after the strings the save keeps: a table over many CONTINUE
// records whose strings were split between records, saved whole and with the strings no cell
// refers to dropped (a smaller table than the one read); gnumeric's own index of its fixture;
// a workbook that had none gets none.
TEST_F(ReaderSave, TheStringIndexPointsAtTheStringsAsSaved) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < 3000; ++i) texts.push_back(std::u16string(static_cast<size_t>(1 + i % 40), static_cast<char16_t>(u'a' + i % 26)));
  texts.insert(texts.begin() + 1500, std::u16string(12000, u'q'));  // longer than a record
  std::vector<uint32_t> every, third;
  for (uint32_t i = 0; i < texts.size(); ++i) {
    every.push_back(i);
    if (i % 3 == 0) third.push_back(i);
  }
  // The index read has as many buckets as the saved one: only where the strings went differs.
  ExpectStringIndexPointsAtTheStrings(SaveCopy(StringsWorkbook(texts, every, 24), "every.xls"), 24);
  // 3,001 strings take a bucket of 24 to stay within 128 buckets, the 1,001 kept one of 8.
  ExpectStringIndexPointsAtTheStrings(SaveCopy(StringsWorkbook(texts, every, 8), "every8.xls"), 24);
  ExpectStringIndexPointsAtTheStrings(SaveCopy(StringsWorkbook(texts, third, 8), "third.xls"), 8);
  ExpectStringIndexPointsAtTheStrings(SaveCopy(StringsWorkbook(texts, third, 30), "third30.xls"), 30);
  TxlsFile file;
  file.LoadStream(StringsWorkbook(texts, third, 8));
  EXPECT_EQ(file.Workbook().Globals().SST.Count(), 3001u);
  Save(file.Workbook());
  EXPECT_EQ(file.Workbook().Globals().SST.Count(), 1001u) << "two strings of three dropped";

  const std::string fixture = kScripts.toStdString() + "/fixtures/reader_cells.xls";
  ExpectStringIndexPointsAtTheStrings(SaveCopy(ReadWorkbookStream(fixture), "gnumeric.xls"), 8);
  const ProgramRun run = RunProgram("ssconvert", {QString::fromStdString(folder_ / "gnumeric.xls"),
                                                  QString::fromStdString(folder_ / "gnumeric.csv")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

  const std::string exported = SaveCopy(ReadWorkbookStream(Export({"--rows", "3", "--typed"})), "exported.xls");
  EXPECT_EQ(xlstest::ReadWorkbook(exported).globals.Count(0x00FF), 0u) << "the writer writes no EXTSST";
}

// The series names and the chart title as the chart writer writes them: an option byte, then
// UTF-16 characters; 8-bit ones from other writers.
TEST_F(ReaderSave, SeriesTextReadsWhatTheChartWriterWrote) {
  TxlsFile file;
  file.FileName = Export({"--rows", "3", "--chart"});
  file.Load();
  std::vector<std::u16string> names;
  const TxlsWorkSheet& sheet = file.Workbook().WorkSheet(0);
  for (const TbiffRecordList* list : {&sheet.MiddleRecords, &sheet.TailRecords, &sheet.TrailingCharts})
    for (size_t i = 0; i < list->Count(); ++i)
      if ((*list)[i]->Id() == 0x100D) {
        const TxlsConstBytes body = (*list)[i]->Data();
        names.push_back(TchartSeriesText(nullptr, 0x100D, Bytes(body.begin(), body.end())).GetText());
      }
  // export_table names the series after their columns' fields and titles the chart.
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Id", u"Reading", u"Leituras"}));

  TchartSeriesText eightBit(nullptr, 0x100D, Body().W(0).B(3).B(0).B('a').B(0xE7).B('c').bytes);
  EXPECT_EQ(eightBit.GetText(), u"a\u00E7c");
  TchartSeriesText empty(nullptr, 0x100D, Body().W(0).B(0).bytes);
  EXPECT_EQ(empty.GetText(), u"");
  TchartSeriesText wide(nullptr, 0x100D, Body().W(0).B(2).B(1).W(0).W(0).bytes);
  wide.SetText(u"\u20ACx");
  EXPECT_EQ(wide.Data()[4], 0xAC);
  EXPECT_EQ(wide.GetText(), u"\u20ACx");
}

}  // namespace
