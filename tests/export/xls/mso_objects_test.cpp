// The drawing records' bytes: record headers and lengths, properties in ascending id, stored
// pictures with their headers, the shape id clusters the drawing group records, a sheet
// drawing's parts, OBJ sub-records, and how a note's text is prepared and split.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "export/xls/mso_objects.h"
#include "export/xls/xls_link_note.h"
#include "export/xls/xls_sheet_writer.h"
#include "export/xls/xls_stream.h"

namespace {

using namespace vantrix;
using Bytes = std::vector<uint8_t>;

uint16_t Word(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8)); }
uint32_t Long(const Bytes& b, size_t at) { return Word(b, at) | (static_cast<uint32_t>(Word(b, at + 2)) << 16); }
std::vector<uint32_t> Longs(const Bytes& b, size_t from, size_t count) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < count; ++i) out.push_back(Long(b, from + 4 * i));
  return out;
}

TEST(MsoObjects, ContainersAndPropertiesCountWhatTheyWrite) {
  const TmsoContainer empty(0xF004);
  const Bytes e = empty.CreateByteArray();
  EXPECT_EQ(e, (Bytes{0x0F, 0x00, 0x04, 0xF0, 0, 0, 0, 0}));

  // Added out of order, written in ascending id (the complex bit aside), instance = count.
  TmsoOPT opt(3, 0);
  opt.Add(0x01BF, 0x00110010).Add(0x0080, 1).Add(0x00BF, 0x00080008);
  const Bytes o = opt.CreateByteArray();
  ASSERT_EQ(opt.GetSize(), 26u);
  ASSERT_EQ(o.size(), 26u);
  EXPECT_EQ(Word(o, 0), 0x0033);  // version 3, instance 3
  EXPECT_EQ(Word(o, 2), 0xF00B);
  EXPECT_EQ(Long(o, 4), 18u);
  EXPECT_EQ(Word(o, 8), 0x0080);
  EXPECT_EQ(Word(o, 14), 0x00BF);
  EXPECT_EQ(Word(o, 20), 0x01BF);

  TmsoOPT name(3, 0);
  name.Add(0x0380 + 1, 7).AddStrValue(0x0380, u"abc").Add(0x0105 - 1, 9);
  ASSERT_EQ(name.Properties().size(), 3u);
  EXPECT_EQ(name.Properties()[1].PropId, 0x8380);
  EXPECT_EQ(name.Properties()[1].PropValue, 8u);
  const Bytes n = name.CreateByteArray();
  ASSERT_EQ(n.size(), 8u + 18 + 8);
  EXPECT_EQ(Bytes(n.end() - 8, n.end()), (Bytes{'a', 0, 'b', 0, 'c', 0, 0, 0}));

  // A container's length is its children's, nested.
  TmsoContainer outer(0xF002);
  auto& inner = outer.Add(std::make_unique<TmsoContainer>(0xF003));
  inner.Add(std::make_unique<TmsoSp>(2, 202, 1025, 0x0A00));
  inner.Add(std::make_unique<TmsoClientAnchor>(0, 0, 3, TMSO_Anchor{9, 1, 2, 3, 4, 5, 6, 7, 8}));
  const Bytes c = outer.CreateByteArray();
  ASSERT_EQ(c.size(), 8u + 8 + 16 + 26);
  EXPECT_EQ(Long(c, 4), 50u);
  EXPECT_EQ(Long(c, 12), 42u);
  EXPECT_EQ(Word(c, 16), 0x0CA2);  // shape type 202 in the instance
  EXPECT_EQ(Word(c, 40), 3);       // the anchor's flags replace its first word
  EXPECT_EQ(Word(c, 42), 1);
}

TEST(MsoObjects, ShapeIdsComeInClustersPerDrawing) {
  const Bytes one = TmsoDgg(0, 0, 3).CreateByteArray();
  ASSERT_EQ(one.size(), 32u);
  EXPECT_EQ(Longs(one, 8, 6), (std::vector<uint32_t>{1028, 2, 4, 1, 1, 4}));

  TmsoShapeIds ids;
  EXPECT_EQ(ids.NewDrawing(), 1u);
  EXPECT_EQ(ids.LastShapeId(), 1024u);
  EXPECT_EQ(ids.NextShapeId(), 1025u);
  EXPECT_EQ(ids.NextShapeId(), 1026u);
  EXPECT_EQ(ids.NewDrawing(), 2u);
  EXPECT_EQ(ids.LastShapeId(), 2048u);
  EXPECT_EQ(ids.NextShapeId(), 2049u);
  EXPECT_EQ(ids.DrawingShapes(), 2u);
  const Bytes two = TmsoDgg(0, 0, ids).CreateByteArray();
  EXPECT_EQ(Longs(two, 8, 8), (std::vector<uint32_t>{2050, 3, 5, 2, 1, 3, 2, 2}));

  // A drawing of more shapes than a cluster holds goes on in the next cluster, whose ids
  // no other drawing takes.
  TmsoShapeIds many;
  many.NewDrawing();
  for (int i = 0; i < 1100; ++i) many.NextShapeId();
  EXPECT_EQ(many.LastShapeId(), 2048u + 1101 - 1024 - 1);
  EXPECT_EQ(many.Clusters().size(), 2u);
  EXPECT_EQ(many.Clusters()[0].Used, 1024u);
  EXPECT_EQ(many.Clusters()[1].Used, 77u);
  EXPECT_EQ(many.NewDrawing(), 2u);
  EXPECT_EQ(many.LastShapeId(), 3072u);
}

TEST(MsoObjects, StoredPicturesCarryTheHeaderOfTheirKind) {
  QTemporaryDir dir;
  const std::string bmp = dir.filePath("p.bmp").toStdString();
  {
    std::ofstream f(bmp, std::ios::binary);
    Bytes file(1014, 0x11);
    file[0] = 'B';
    file[1] = 'M';
    f.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  TxlsGraphic graphic;
  graphic.SetFileName(bmp);
  Bytes picture;
  ASSERT_EQ(graphic.GetPictureData(picture), ptDIB);
  const TmsoBSEData bse(2, picture, ptDIB, 3);
  EXPECT_EQ(bse.Blip.GetSize(), 1025u);
  const Bytes b = bse.CreateByteArray();
  ASSERT_EQ(b.size(), 44u + 1025);
  EXPECT_EQ(Word(b, 0), 0x0072);  // version 2, instance 7
  EXPECT_EQ(Long(b, 4), 36u + 1025);
  EXPECT_EQ(b[8], 7);
  EXPECT_EQ(b[9], 7);
  EXPECT_EQ(Long(b, 28), 1025u);
  EXPECT_EQ(Long(b, 32), 3u);
  EXPECT_EQ(Bytes(b.begin() + 10, b.begin() + 26), Bytes(b.begin() + 52, b.begin() + 68));  // one digest
  EXPECT_EQ(Word(b, 44), 0x7A80);
  EXPECT_EQ(Word(b, 46), 0xF01F);
  EXPECT_EQ(Long(b, 48), 1017u);
  EXPECT_EQ(b[68], 0xFF);
  EXPECT_EQ(b[69], 0x11);

  // An enhanced metafile: its bounds and size (hundredths of a millimetre as EMU) in the
  // metafile header; the store names it 2 and it goes as 0xF01A.
  Bytes emf(88, 0);
  for (const auto& [at, v] : {std::pair<size_t, uint32_t>{0, 1}, {8, 0}, {12, 0}, {16, 99}, {20, 49}, {24, 0},
                              {28, 0}, {32, 2000}, {36, 1000}})
    SetInteger(emf, at, v);
  const TmsoBSEData e(2, emf, ptEMF, 1);
  const Bytes eb = e.CreateByteArray();
  EXPECT_EQ(eb[8], 2);
  EXPECT_EQ(e.Blip.GetSize(), 8u + 50 + 88);
  EXPECT_EQ(Word(eb, 44), 0x3D40);
  EXPECT_EQ(Word(eb, 46), 0xF01A);
  EXPECT_EQ(Longs(eb, 68, 7), (std::vector<uint32_t>{88, 0, 0, 99, 49, 720000, 360000}));
  EXPECT_EQ(Long(eb, 96), 88u);
  EXPECT_EQ(eb[100], 0xFE);

  // A Windows metafile loses its placeable header to the metafile header.
  Bytes wmf(22 + 40, 0x22);
  SetInteger(wmf, 0, 0x9AC6CDD7);
  for (const auto& [at, v] : {std::pair<size_t, uint16_t>{6, 0}, {8, 0}, {10, 1440}, {12, 720}, {14, 1440}})
    SetWord(wmf, at, v);
  const TmsoBLIPData w(0, wmf, ptWMF);
  const Bytes wb = w.CreateByteArray();
  EXPECT_EQ(wb.size(), 8u + 50 + 40);
  EXPECT_EQ(Word(wb, 0), 0x2160);
  EXPECT_EQ(Word(wb, 2), 0xF01B);
  EXPECT_EQ(w.BlipTypeCode(), 3);
  EXPECT_EQ(Longs(wb, 24, 7), (std::vector<uint32_t>{40, 0, 0, 1440, 720, 914400, 457200}));
}

TEST(MsoObjects, ASheetDrawingGoesOutInPartsBetweenItsObjects) {
  TxlsMSODrawing drawing(2, 2048);
  auto& note = drawing.AddShape();
  note.Add(std::make_unique<TmsoSp>(2, 202, 2049, 0x0A00));
  note.Add(std::make_unique<TmsoClientData>(0, 0));
  note.Add(std::make_unique<TmsoClientTextBox>(0, 0));
  auto& image = drawing.AddShape();
  image.Add(std::make_unique<TmsoSp>(2, 75, 2050, 0x0A00));
  drawing.SetCounts(3, 2050);
  drawing.Build();
  ASSERT_EQ(drawing.PartCount(), 3u);
  const size_t head = 8 + 16 + 8 + (8 + 24 + 16);
  EXPECT_EQ(drawing.Part(0).size(), head + 8 + 16 + 8);
  EXPECT_EQ(drawing.Part(1).size(), 8u);
  EXPECT_EQ(drawing.Part(2).size(), 8u + 16);
  const Bytes first(drawing.Part(0).begin(), drawing.Part(0).end());
  const size_t total = head + 32 + 8 + 24;
  EXPECT_EQ(Long(first, 4), total - 8);                   // the drawing reaches over every part
  EXPECT_EQ(Word(first, 8), 0x0020);                      // the drawing's id in the instance
  EXPECT_EQ(Longs(first, 16, 2), (std::vector<uint32_t>{3, 2050}));
  EXPECT_EQ(Long(first, 28), total - 32);                 // the group's length
  EXPECT_EQ(Long(first, head + 4), 32u);                  // the note counts its text box
  EXPECT_EQ(Word(Bytes(drawing.Part(1).begin(), drawing.Part(1).end()), 2), 0xF00D);

  TxlsMemoryStream stream;
  drawing.Save(stream, 1);
  EXPECT_EQ(stream.Bytes(), (Bytes{0xEC, 0x00, 8, 0, 0x00, 0x00, 0x0D, 0xF0, 0, 0, 0, 0}));
}

TEST(MsoObjects, ObjSubRecords) {
  TobjRecordList note;
  note.push_back(std::make_unique<TobjCmo>(0x0019, 7, 0x0011));
  note.push_back(std::make_unique<TobjNts>());
  note.push_back(std::make_unique<TobjEnd>());
  const Bytes n = ObjBody(note);
  ASSERT_EQ(n.size(), 22u + 26 + 4);
  EXPECT_EQ(Bytes(n.begin(), n.begin() + 10), (Bytes{0x15, 0, 18, 0, 0x19, 0, 7, 0, 0x11, 0}));
  EXPECT_EQ(Word(n, 22), 0x000D);
  EXPECT_EQ(Word(n, 24), 22);
  EXPECT_EQ(Long(n, 48), 0u);
}

TEST(NoteText, LinesJoinedByLineFeedsAndSplitOnWholeCharacters) {
  TxlsNote note;
  note.Lines = {"a\r", "b", "\xE7\xE3o"};
  EXPECT_EQ(NoteText(note), u"a\nb\n\u00E7\u00E3o");

  const std::u16string longText(5000, u'x');
  const auto pieces = SplitNoteText(longText);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], (std::pair<size_t, size_t>{0, 4111}));
  EXPECT_EQ(pieces[1], (std::pair<size_t, size_t>{4111, 889}));
  EXPECT_TRUE(SplitNoteText(u"").empty());

  // A surrogate pair across the boundary moves whole into the next piece.
  std::u16string pair(4110, u'y');
  pair += u"\U0001F600z";
  const auto split = SplitNoteText(pair);
  ASSERT_EQ(split.size(), 2u);
  EXPECT_EQ(split[0].second, 4110u);
  EXPECT_EQ(split[1].second, 3u);

  // Cut to what a text object counts.
  note.Lines = {std::string(40000, 'q')};
  EXPECT_EQ(NoteText(note).size(), 32767u);
}

}  // namespace
