// What the sheets' notes, pictures and charts add to the workbook: per sheet a drawing with a
// shape for each, an OBJ record for each, the notes' texts and the charts' substreams, then
// the NOTE records; in the globals the external sheet references the charts' ranges name and
// the drawing group with the shape id clusters and the stored pictures.
#include <algorithm>
#include <string>

#include "export/xls/biff_record.h"
#include "export/xls/mso_objects.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_chart_writer.h"
#include "export/xls/xls_export_run.h"
#include "export/xls/xls_globals_writer.h"
#include "export/xls/xls_sheet_writer.h"

namespace vantrix {
namespace {

constexpr uint16_t kObj = 0x005D, kTxo = 0x01B6, kNote = 0x001C;
constexpr uint32_t kShapeFlags = 0x0A00;  // has an anchor, has a shape type
constexpr uint16_t kTextBoxShape = 202, kPictureShape = 75, kChartShape = 201;
// A note's text goes in CONTINUE records of an option byte and whole UTF-16 characters.
constexpr size_t kCharsPerContinue = (TxlsRecordWriter::kMaxBody - 1) / 2;
// The longest note text a TXO record counts.
constexpr size_t kMaxNoteChars = 32767;
// Picture and shape names are short labels; a longer title is cut.
constexpr size_t kMaxShapeName = 255;

uint32_t Fixed16(int degrees) { return static_cast<uint32_t>(degrees * 65536); }

// The gradient of a note box: its fill type, the angle, and whether it grows from the centre.
struct GradientStyle {
  uint32_t FillType;
  int Angle;
  bool FromCenter;
};

GradientStyle Gradient(TxlsNoteGradient gradient) {
  switch (gradient) {
    case ngrHorizontal: return {7, 0, false};
    case ngrVertical: return {7, -90, false};
    case ngrDiagonalUp: return {7, -135, false};
    case ngrDiagonalDown: return {7, -45, false};
    case ngrFromCorner: return {6, 0, false};
    case ngrFromCenter: return {6, 0, true};
  }
  return {7, 0, false};
}

void AddNoteFill(TmsoOPT& opt, const TxlsNoteFormat& format) {
  uint32_t fillType = 0;
  opt.Add(0x0181, format.ForegroundColor);
  if (format.FillType == nftGradient) {
    const GradientStyle g = Gradient(format.Gradient);
    fillType = g.FillType;
    opt.Add(0x0180, fillType).Add(0x0183, format.BackgroundColor).Add(0x018B, Fixed16(g.Angle)).Add(0x018C, 100);
    if (g.FromCenter)
      for (const uint16_t p : {0x018D, 0x018E, 0x018F, 0x0190}) opt.Add(p, 0x8000);
    opt.Add(0x0196, 0x009D0000);
  } else if (format.Transparency > 0) {
    opt.Add(0x0182, static_cast<uint32_t>((100 - format.Transparency) * 65536 / 100));
  }
  if (fillType >= 2) opt.Add(0x01BF, 0x00150014).Add(0x01FF, 0x00080008);
  else opt.Add(0x01BF, 0x00110010);
}

uint16_t TxoOptions(const TxlsAlignment& a) {
  uint16_t horizontal = 0x0002;
  if (a.Horizontal == halCenter) horizontal = 0x0004;
  else if (a.Horizontal == halRight) horizontal = 0x0006;
  uint16_t vertical = 0x0030;
  if (a.Vertical == valTop) vertical = 0x0010;
  else if (a.Vertical == valCenter) vertical = 0x0020;
  else if (a.Vertical == valJustify) vertical = 0x0040;
  return horizontal | vertical;
}

void WriteObj(TxlsRecordWriter& w, uint16_t objType, uint16_t objId) {
  TobjRecordList subs;
  subs.push_back(std::make_unique<TobjCmo>(objType, objId, 0x0011));
  if (objType == 0x0019) {
    subs.push_back(std::make_unique<TobjNts>());
  } else if (objType == 0x0008) {
    subs.push_back(std::make_unique<TobjWord>(0x0007, 0xFFFF));  // the picture's own format
    subs.push_back(std::make_unique<TobjWord>(0x0008, 0x0000));
  }
  subs.push_back(std::make_unique<TobjEnd>());
  w.WriteRecord(kObj, ObjBody(subs));
}

}  // namespace

WideString NoteText(const TxlsNote& note, bool* cut) {
  WideString text;
  for (size_t i = 0; i < note.Lines.size(); ++i) {
    if (i > 0) text.push_back(u'\n');
    for (const char16_t c : Cp1252ToWide(note.Lines[i]))
      if (c != u'\r') text.push_back(c);
  }
  if (cut != nullptr) *cut = text.size() > kMaxNoteChars;
  if (text.size() > kMaxNoteChars) {
    size_t keep = kMaxNoteChars;
    if (text[keep - 1] >= 0xD800 && text[keep - 1] < 0xDC00) --keep;  // never half a character
    text.resize(keep);
  }
  return text;
}

std::vector<std::pair<size_t, size_t>> SplitNoteText(std::u16string_view text) {
  std::vector<std::pair<size_t, size_t>> pieces;
  for (size_t at = 0; at < text.size();) {
    size_t count = std::min(kCharsPerContinue, text.size() - at);
    // A surrogate pair stays in one piece.
    if (at + count < text.size() && text[at + count - 1] >= 0xD800 && text[at + count - 1] < 0xDC00) --count;
    pieces.emplace_back(at, count);
    at += count;
  }
  return pieces;
}

void TxlsSheetWriter::WriteNotesChartsAndPictures(TxlsSheet& sheet) {
  TVantrix3XLS& component = run_.Component;
  TxlsDrawingState& state = run_.Drawing;
  // A note of empty lines has nothing to show: its text object would carry no text records.
  std::vector<const TxlsNote*> notes;
  std::vector<WideString> texts;
  for (const auto& note : sheet.Notes) {
    if (!note->IsValid()) continue;
    bool cut = false;
    WideString text = NoteText(*note, &cut);
    if (text.empty()) continue;
    // The note stays, with as much of its text as its box can hold; the user learns the rest
    // is missing.
    if (cut)
      component.ReportLeftOut("Note at column " + std::to_string(note->Col) + ", row " + std::to_string(note->Row) +
                              " cut to its first " + std::to_string(text.size()) +
                              " characters: the rest of its text is left out, a note holds no more");
    notes.push_back(note.get());
    texts.push_back(std::move(text));
  }
  std::vector<std::pair<const TxlsImage*, int>> images;  // with the picture's place in the store
  if (sheet.Images.Count() > 0) state.Pictures.Prepare(component);
  for (const auto& image : sheet.Images) {
    const int index = state.Pictures.IndexOf(image->PictureName);
    if (index > 0) images.emplace_back(image.get(), index);
    else component.ReportLeftOut("Image " + WideToCp1252(image->Title) + " left out: its picture " + image->PictureName + " is not stored");
  }
  if (notes.empty() && images.empty() && sheet.Charts.Count() == 0) return;

  TmsoShapeIds& ids = state.ShapeIds;
  const uint32_t drawingId = ids.NewDrawing();
  TxlsMSODrawing drawing(drawingId, ids.LastShapeId());
  for (size_t k = 0; k < notes.size(); ++k) {
    const TxlsNote& note = *notes[k];
    TmsoContainer& shape = drawing.AddShape();
    shape.Add(std::make_unique<TmsoSp>(2, kTextBoxShape, ids.NextShapeId(), kShapeFlags));
    auto& opt = shape.Add(std::make_unique<TmsoOPT>(3, 0));
    opt.Add(0x0080, static_cast<uint32_t>(k + 1)).Add(0x00BF, 0x00080008).Add(0x0158, 0);
    AddNoteFill(opt, note.Format);
    opt.Add(0x0201, 0).Add(0x023F, 0x00030003).Add(0x03BF, 0x000A0002);
    shape.Add(std::make_unique<TmsoClientAnchor>(0, 0, 3, note.GetAnchor()));
    shape.Add(std::make_unique<TmsoClientData>(0, 0));
    shape.Add(std::make_unique<TmsoClientTextBox>(0, 0));
  }
  for (const auto& [image, index] : images) {
    state.Pictures.AddReference(index);
    const std::u16string_view name = std::u16string_view(image->Title).substr(0, kMaxShapeName);
    TmsoContainer& shape = drawing.AddShape();
    shape.Add(std::make_unique<TmsoSp>(2, kPictureShape, ids.NextShapeId(), kShapeFlags));
    auto& opt = shape.Add(std::make_unique<TmsoOPT>(3, 0));
    opt.Add(0x007F, 0x00800000).Add(0x4104, static_cast<uint32_t>(index)).AddStrValue(0x0105, name);
    opt.Add(0x01BF, 0x00010000).Add(0x033F, 0x00100000).AddStrValue(0x0380, name).Add(0x03BF, 0x00080000);
    TMSO_Anchor anchor = image->GetAnchor(component.Measure());
    shape.Add(std::make_unique<TmsoClientAnchor>(0, 0, 2, anchor));
    shape.Add(std::make_unique<TmsoClientData>(0, 0));
  }
  for (const auto& chart : sheet.Charts) {
    TmsoContainer& shape = drawing.AddShape();
    shape.Add(std::make_unique<TmsoSp>(2, kChartShape, ids.NextShapeId(), kShapeFlags));
    auto& opt = shape.Add(std::make_unique<TmsoOPT>(3, 0));
    opt.Add(0x007F, 0x01040104).Add(0x00BF, 0x00080008).Add(0x0181, 0x0800004E).Add(0x0183, 0x0800004D);
    opt.Add(0x01BF, 0x00100010).Add(0x01C0, 0x0800004D).Add(0x01FF, 0x00080008).Add(0x023F, 0x00020000);
    opt.Add(0x03BF, 0x00080000);
    shape.Add(std::make_unique<TmsoClientAnchor>(0, 0, 0, chart->GetAnchor()));
    shape.Add(std::make_unique<TmsoClientData>(0, 0));
  }
  drawing.SetCounts(ids.DrawingShapes(), ids.LastShapeId());
  drawing.Build();

  TxlsRecordWriter& w = run_.Records;
  TxlsStream& stream = run_.Stream();
  size_t part = 0;
  uint16_t objId = 0;
  for (size_t k = 0; k < notes.size(); ++k) {
    const TxlsNoteFormat& format = notes[k]->Format;
    const WideString& text = texts[k];
    drawing.Save(stream, part++);
    WriteObj(w, 0x0019, ++objId);
    drawing.Save(stream, part++);
    std::vector<uint8_t> txo;
    AppendWord(txo, TxoOptions(format.Alignment));
    AppendWord(txo, static_cast<uint16_t>(format.Orientation));
    txo.resize(txo.size() + 6, 0);
    AppendWord(txo, static_cast<uint16_t>(text.size()));
    AppendWord(txo, 16);
    txo.resize(txo.size() + 4, 0);
    w.WriteRecord(kTxo, txo);
    for (const auto& [at, count] : SplitNoteText(text)) {
      std::vector<uint8_t> chars = {1};
      for (size_t i = at; i < at + count; ++i) AppendWord(chars, text[i]);
      w.WriteRecord(biffid::kContinue, chars);
    }
    std::vector<uint8_t> runs;
    AppendWord(runs, 0);
    AppendWord(runs, run_.Registry.AddFont(format.Font));
    AppendInteger(runs, 0);
    AppendWord(runs, static_cast<uint16_t>(text.size()));
    AppendWord(runs, 0);
    AppendInteger(runs, 0);
    w.WriteRecord(biffid::kContinue, runs);
  }
  for (size_t i = 0; i < images.size(); ++i) {
    drawing.Save(stream, part++);
    WriteObj(w, 0x0008, ++objId);
  }
  const uint16_t refSheet = static_cast<uint16_t>(run_.BoundSheets.Count() - 1);
  TxlsChartWriter charts(run_);
  for (const auto& chart : sheet.Charts) {
    drawing.Save(stream, part++);
    WriteObj(w, 0x0005, ++objId);
    charts.WriteXLSChart(sheet, refSheet, *chart);
    ++state.ChartsWritten;
  }
  for (size_t k = 0; k < notes.size(); ++k) {
    std::vector<uint8_t> body;
    AppendWord(body, static_cast<uint16_t>(notes[k]->Row - 1));
    AppendWord(body, static_cast<uint16_t>(notes[k]->Col - 1));
    AppendWord(body, 0);
    AppendWord(body, static_cast<uint16_t>(k + 1));
    // The author: an empty text, which readers require.
    AppendWord(body, 0);
    body.push_back(0);
    body.push_back(0);
    w.WriteRecord(kNote, body);
  }
}

void TxlsGlobalsWriter::WriteExternalReferences(TxlsStream& inset) {
  if (run_.Drawing.ChartsWritten == 0) return;
  // One reference per sheet written, in that order: the charts' ranges name them so.
  const auto sheets = static_cast<uint16_t>(run_.BoundSheets.Count());
  TbiffSupbookInternal(sheets).Save(&inset);
  std::vector<uint8_t> body;
  AppendWord(body, sheets);
  for (uint16_t i = 0; i < sheets; ++i) {
    AppendWord(body, 0);
    AppendWord(body, i);
    AppendWord(body, i);
  }
  TbiffExternSheet(nullptr, biff::kExternSheet, std::move(body)).Save(&inset);
}

void TxlsGlobalsWriter::WriteDrawingGroup(TxlsStream& inset) {
  TxlsDrawingState& state = run_.Drawing;
  if (state.ShapeIds.Drawings() == 0) return;
  state.Pictures.Prepare(run_.Component);
  TmsoContainer root(mso::kDggContainer);
  root.Add(std::make_unique<TmsoDgg>(0, 0, state.ShapeIds));
  if (!state.Pictures.Entries().empty()) {
    const auto& entries = state.Pictures.Entries();
    auto& store = root.Add(std::make_unique<TmsoContainer>(mso::kBStoreContainer, 15, static_cast<uint16_t>(entries.size())));
    for (const auto& entry : entries)
      store.Add(std::make_unique<TmsoBSEData>(2, entry.Bytes, entry.Type, entry.RefCount));
  }
  auto& opt = root.Add(std::make_unique<TmsoOPT>(3, 0));
  opt.Add(0x00BF, 0x00080008).Add(0x0181, 0x08000009).Add(0x01C0, 0x08000040);
  root.Add(std::make_unique<TmsoSplitMenuColors>(0, 4));
  TbiffMSODrawingGroup(root.CreateByteArray()).Save(&inset);
}

}  // namespace vantrix
