#include "export/xls/mso_objects.h"

#include <QCryptographicHash>
#include <algorithm>
#include <array>
#include <cstring>

#include "export/xls/xls_record_writer.h"
#include "export/xls/xls_stream.h"

namespace vantrix {
namespace {

void Header(TxlsBytes data, size_t& position, uint16_t recType, uint16_t version, uint16_t instance, uint32_t length) {
  WriteMSOHeaderToByteArray(recType, version, instance, length, data, position);
}

void PutInteger(TxlsBytes data, size_t& position, uint32_t value) {
  SetInteger(data, position, value);
  position += 4;
}

void PutWord(TxlsBytes data, size_t& position, uint16_t value) {
  SetWord(data, position, value);
  position += 2;
}

void PutBytes(TxlsBytes data, size_t& position, const uint8_t* bytes, size_t size) {
  CheckByteRange(data.size(), position, size);
  if (size > 0) std::memcpy(data.data() + position, bytes, size);
  position += size;
}

void PutZeros(TxlsBytes data, size_t& position, size_t count) {
  CheckByteRange(data.size(), position, count);
  std::memset(data.data() + position, 0, count);
  position += count;
}

int32_t SignedWord(TxlsConstBytes b, size_t at) { return static_cast<int16_t>(GetWord(b, at)); }
int32_t SignedInteger(TxlsConstBytes b, size_t at) { return static_cast<int32_t>(GetInteger(b, at)); }

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr int64_t kEmuPerInch = 914400;
constexpr int64_t kEmuPerHundredthMm = 360;

}  // namespace

// --- TmsoObject ------------------------------------------------------------------------------

std::vector<uint8_t> TmsoObject::CreateByteArray() const {
  std::vector<uint8_t> bytes(GetSize());
  size_t position = 0;
  AssignToByteArray(bytes, position);
  return bytes;
}

void TmsoObject::Save(TxlsStream& stream) const { stream.Write(CreateByteArray()); }

uint32_t TmsoContainer::GetSize() const {
  uint32_t size = mso::kHeaderSize;
  for (const auto& child : Children) size += child->GetSize();
  return size;
}

void TmsoContainer::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, RecType, Version, Instance, GetDataSize());
  for (const auto& child : Children) child->AssignToByteArray(data, position);
}

// --- shape ids -------------------------------------------------------------------------------

uint32_t TmsoShapeIds::NewDrawing() {
  ++drawings_;
  drawingShapes_ = 0;
  clusters_.push_back({drawings_, 0});
  NextShapeId();
  return drawings_;
}

uint32_t TmsoShapeIds::NextShapeId() {
  if (clusters_.back().Used == mso::kClusterSize) clusters_.push_back({drawings_, 0});
  Cluster& cluster = clusters_.back();
  lastId_ = static_cast<uint32_t>(clusters_.size()) * mso::kClusterSize + cluster.Used;
  ++cluster.Used;
  ++drawingShapes_;
  ++saved_;
  return lastId_;
}

TmsoDgg::TmsoDgg(uint16_t version, uint16_t instance, const TmsoShapeIds& ids)
    : TmsoObject(version, instance), ids_(ids) {}

TmsoDgg::TmsoDgg(uint16_t version, uint16_t instance, int shapes) : TmsoObject(version, instance) {
  ids_.NewDrawing();
  for (int i = 0; i < shapes; ++i) ids_.NextShapeId();
}

void TmsoDgg::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kDgg, Version, Instance, GetDataSize());
  PutInteger(data, position, ids_.MaxShapeId());
  PutInteger(data, position, static_cast<uint32_t>(ids_.Clusters().size() + 1));
  PutInteger(data, position, ids_.ShapesSaved());
  PutInteger(data, position, ids_.Drawings());
  for (const TmsoShapeIds::Cluster& c : ids_.Clusters()) {
    PutInteger(data, position, c.DrawingId);
    PutInteger(data, position, c.Used);
  }
}

void TmsoDg::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kDg, Version, Instance, 8);
  PutInteger(data, position, Shapes);
  PutInteger(data, position, LastShapeId);
}

void TmsoSpgr::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kSpgr, Version, Instance, 16);
  PutZeros(data, position, 16);
}

void TmsoSp::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kSp, Version, Instance, 8);
  PutInteger(data, position, ShapeId);
  PutInteger(data, position, Flags);
}

// --- properties ------------------------------------------------------------------------------

void TmsoOPT::Insert(TmsoOPTData property) {
  const auto key = [](const TmsoOPTData& p) { return p.PropId & 0x3FFF; };
  const auto at = std::upper_bound(properties_.begin(), properties_.end(), property,
                                   [&](const TmsoOPTData& a, const TmsoOPTData& b) { return key(a) < key(b); });
  properties_.insert(at, std::move(property));
}

TmsoOPT& TmsoOPT::Add(uint16_t propId, uint32_t value) {
  Insert(TmsoOPTData(propId, value));
  return *this;
}

TmsoOPT& TmsoOPT::AddStrValue(uint16_t propId, std::u16string_view text) {
  Insert(TmsoOPTData(static_cast<uint16_t>(propId | 0x8000), text));
  return *this;
}

uint32_t TmsoOPT::GetSize() const {
  uint32_t size = static_cast<uint32_t>(mso::kHeaderSize + 6 * properties_.size());
  for (const TmsoOPTData& p : properties_)
    if (p.IsComplex()) size += p.PropValue;
  return size;
}

void TmsoOPT::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kOPT, Version, static_cast<uint16_t>(properties_.size()), GetDataSize());
  for (const TmsoOPTData& p : properties_) {
    PutWord(data, position, p.PropId);
    PutInteger(data, position, p.PropValue);
  }
  for (const TmsoOPTData& p : properties_) {
    if (!p.IsComplex()) continue;
    for (const char16_t c : p.ComplexData) PutWord(data, position, c);
    PutWord(data, position, 0);
  }
}

void TmsoClientAnchor::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kClientAnchor, Version, Instance, 18);
  for (const uint16_t v : {Anchor.Flags, Anchor.Col1, Anchor.Dx1, Anchor.Row1, Anchor.Dy1, Anchor.Col2, Anchor.Dx2,
                           Anchor.Row2, Anchor.Dy2})
    PutWord(data, position, v);
}

void TmsoEmpty::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, recType_, Version, Instance, 0);
}

void TmsoSplitMenuColors::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kSplitMenuColors, Version, Instance, 16);
  for (const uint32_t v : {0x0800000Du, 0x0800000Cu, 0x08000017u, 0x100000F7u}) PutInteger(data, position, v);
}

// --- pictures --------------------------------------------------------------------------------

TmsoBLIPData::TmsoBLIPData(uint16_t version, TxlsConstBytes picture, TxlsPictureType type)
    : TmsoObject(version, 0), PictureType(type), picture_(picture) {
  if (PictureType == ptWMF && picture_.size() >= kPlaceableSize && GetInteger(picture_, 0) == kPlaceableKey) {
    // The store keeps a metafile's records alone: its bounds and size go in the header.
    const int32_t inch = std::max<int32_t>(1, GetWord(picture_, 14));
    for (size_t i = 0; i < 4; ++i) bounds_[i] = SignedWord(picture_, 6 + 2 * i);
    sizeEmu_[0] = static_cast<int32_t>((bounds_[2] - bounds_[0]) * kEmuPerInch / inch);
    sizeEmu_[1] = static_cast<int32_t>((bounds_[3] - bounds_[1]) * kEmuPerInch / inch);
    picture_ = picture_.subspan(kPlaceableSize);
  } else if (PictureType == ptEMF && picture_.size() >= 40) {
    for (size_t i = 0; i < 4; ++i) bounds_[i] = SignedInteger(picture_, 8 + 4 * i);
    sizeEmu_[0] = static_cast<int32_t>((int64_t{SignedInteger(picture_, 32)} - SignedInteger(picture_, 24)) * kEmuPerHundredthMm);
    sizeEmu_[1] = static_cast<int32_t>((int64_t{SignedInteger(picture_, 36)} - SignedInteger(picture_, 28)) * kEmuPerHundredthMm);
  }
  const QByteArray md5 = QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(picture_.data()), static_cast<qsizetype>(picture_.size())),
      QCryptographicHash::Md5);
  std::memcpy(digest_, md5.constData(), sizeof digest_);
  Instance = WrittenInstance();
}

uint16_t TmsoBLIPData::RecType() const {
  switch (PictureType) {
    case ptEMF: return 0xF01A;
    case ptWMF: return 0xF01B;
    default: return static_cast<uint16_t>(0xF018 + PictureType);
  }
}

uint16_t TmsoBLIPData::WrittenInstance() const {
  switch (PictureType) {
    case ptEMF: return 0x3D4;
    case ptWMF: return 0x216;
    case ptPICT: return 0x542;
    case ptJPEG: return 0x46A;
    case ptPNG: return 0x6E0;
    case ptDIB: return 0x7A8;
    default: return Instance;
  }
}

uint8_t TmsoBLIPData::BlipTypeCode() const {
  // The store's codes name the enhanced metafile 2 and the Windows metafile 3.
  switch (PictureType) {
    case ptEMF: return 2;
    case ptWMF: return 3;
    default: return static_cast<uint8_t>(PictureType);
  }
}

uint32_t TmsoBLIPData::GetSize() const {
  return static_cast<uint32_t>(mso::kHeaderSize + HeaderSize() + picture_.size());
}

void TmsoBLIPData::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, RecType(), Version, WrittenInstance(), GetDataSize());
  PutBytes(data, position, digest_, sizeof digest_);
  const uint32_t size = static_cast<uint32_t>(picture_.size());
  if (IsMetafile()) {
    PutInteger(data, position, size);  // as it would be uncompressed
    for (const int32_t b : bounds_) PutInteger(data, position, static_cast<uint32_t>(b));
    for (const int32_t s : sizeEmu_) PutInteger(data, position, static_cast<uint32_t>(s));
    PutInteger(data, position, size);  // as saved
    PutBytes(data, position, std::array<uint8_t, 2>{0xFE, 0xFE}.data(), 2);  // not compressed, no filter
  } else {
    PutBytes(data, position, std::array<uint8_t, 1>{0xFF}.data(), 1);
  }
  PutBytes(data, position, picture_.data(), picture_.size());
}

TmsoBSEData::TmsoBSEData(uint16_t version, TxlsConstBytes picture, TxlsPictureType type, uint32_t refCount)
    : TmsoObject(version, 0), Blip(0, picture, type), RefCount(refCount) {
  Instance = Blip.BlipTypeCode();
}

void TmsoBSEData::AssignToByteArray(TxlsBytes data, size_t& position) const {
  Header(data, position, mso::kBSE, Version, Blip.BlipTypeCode(), GetDataSize());
  const uint8_t code = Blip.BlipTypeCode();
  PutBytes(data, position, &code, 1);
  PutBytes(data, position, &code, 1);
  PutBytes(data, position, Blip.Digest(), 16);
  PutWord(data, position, 0x00FF);
  PutInteger(data, position, Blip.GetSize());
  PutInteger(data, position, RefCount);
  PutInteger(data, position, 0);
  PutWord(data, position, 0);
  PutWord(data, position, 0x023E);
  Blip.AssignToByteArray(data, position);
}

// --- a sheet's drawing -----------------------------------------------------------------------

TxlsMSODrawing::TxlsMSODrawing(uint32_t drawingId, uint32_t groupShapeId) {
  Dg = &DgContainer.Add(std::make_unique<TmsoDg>(0, static_cast<uint16_t>(drawingId)));
  SpgrContainer = &DgContainer.Add(std::make_unique<TmsoContainer>(mso::kSpgrContainer));
  auto& group = SpgrContainer->Add(std::make_unique<TmsoContainer>(mso::kSpContainer));
  group.Add(std::make_unique<TmsoSpgr>(1, 0));
  group.Add(std::make_unique<TmsoSp>(2, 0, groupShapeId, 5));  // the group and the patriarch
  SetCounts(1, groupShapeId);
}

TmsoContainer& TxlsMSODrawing::AddShape() { return SpgrContainer->Add(std::make_unique<TmsoContainer>(mso::kSpContainer)); }

void TxlsMSODrawing::SetCounts(uint32_t shapes, uint32_t lastShapeId) {
  Dg->Shapes = shapes;
  Dg->LastShapeId = lastShapeId;
}

void TxlsMSODrawing::Build() {
  bytes_ = DgContainer.CreateByteArray();
  partEnds_.clear();
  size_t at = mso::kHeaderSize + Dg->GetSize() + mso::kHeaderSize + SpgrContainer->Children.front()->GetSize();
  bool first = true;
  for (size_t i = 1; i < SpgrContainer->Children.size(); ++i) {
    const auto& shape = static_cast<const TmsoContainer&>(*SpgrContainer->Children[i]);
    at += shape.GetSize();
    const bool textBox = !shape.Children.empty() && dynamic_cast<const TmsoClientTextBox*>(shape.Children.back().get());
    if (textBox) partEnds_.push_back(at - mso::kHeaderSize);
    partEnds_.push_back(at);
    first = false;
  }
  if (first) partEnds_.push_back(at);
}

TxlsConstBytes TxlsMSODrawing::Part(size_t index) const {
  const size_t begin = index == 0 ? 0 : partEnds_.at(index - 1);
  return TxlsConstBytes(bytes_).subspan(begin, partEnds_.at(index) - begin);
}

void TxlsMSODrawing::Save(TxlsStream& stream, size_t index) const {
  TxlsRecordWriter(stream).WriteRecord(0x00EC, Part(index));
}

// --- OBJ sub-records -------------------------------------------------------------------------

void TobjRecord::AssignToByteArray(std::vector<uint8_t>& out) const {
  AppendWord(out, FtType);
  AppendWord(out, FtSize);
  out.resize(out.size() + FtSize, 0);
}

void TobjCmo::AssignToByteArray(std::vector<uint8_t>& out) const {
  AppendWord(out, FtType);
  AppendWord(out, FtSize);
  AppendWord(out, ObjType);
  AppendWord(out, ObjId);
  AppendWord(out, ObjFlags);
  out.resize(out.size() + 12, 0);
}

void TobjWord::AssignToByteArray(std::vector<uint8_t>& out) const {
  AppendWord(out, FtType);
  AppendWord(out, FtSize);
  AppendWord(out, Value);
}

std::vector<uint8_t> ObjBody(const TobjRecordList& records) {
  std::vector<uint8_t> body;
  for (const auto& r : records) r->AssignToByteArray(body);
  return body;
}

}  // namespace vantrix
