#pragma once
// The Office drawing records a workbook carries: the drawing group of the globals (shape id
// clusters and the picture store) and each sheet's drawing (a group of shapes, one shape
// container per note box, picture or chart), each record an 8-byte header and a body. Every
// object serialises itself into a buffer the caller sized with GetSize; a container's length
// is the sum of its children, so the lengths always describe what is written. Also the OBJ
// record's sub-records, which describe the same shapes to the sheet.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/xls/biff_record.h"
#include "export/xls/xls_bytes.h"
#include "export/xls/xls_picture.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

class TxlsStream;

namespace mso {
inline constexpr uint16_t kDggContainer = 0xF000, kBStoreContainer = 0xF001, kDgContainer = 0xF002,
                          kSpgrContainer = 0xF003, kSpContainer = 0xF004, kDgg = 0xF006, kBSE = 0xF007,
                          kDg = 0xF008, kSpgr = 0xF009, kSp = 0xF00A, kOPT = 0xF00B, kClientTextbox = 0xF00D,
                          kClientAnchor = 0xF010, kClientData = 0xF011, kSplitMenuColors = 0xF11E;
inline constexpr size_t kHeaderSize = 8;
// Shape ids come in clusters of this many; a drawing's first id is its group shape's.
inline constexpr uint32_t kClusterSize = 1024;
}  // namespace mso

class TmsoObject {
 public:
  TmsoObject(uint16_t version, uint16_t instance) : Version(version), Instance(instance) {}
  virtual ~TmsoObject() = default;
  TmsoObject(const TmsoObject&) = delete;
  TmsoObject& operator=(const TmsoObject&) = delete;

  uint16_t Version;
  uint16_t Instance;

  // Header and body.
  virtual uint32_t GetSize() const = 0;
  uint32_t GetDataSize() const { return GetSize() - static_cast<uint32_t>(mso::kHeaderSize); }
  // Writes GetSize bytes at the position and moves it past them.
  virtual void AssignToByteArray(TxlsBytes data, size_t& position) const = 0;
  std::vector<uint8_t> CreateByteArray() const;
  void Save(TxlsStream& stream) const;
};

using TmsoList = std::vector<std::unique_ptr<TmsoObject>>;

class TmsoContainer : public TmsoObject {
 public:
  TmsoContainer(uint16_t recType, uint16_t version = 15, uint16_t instance = 0)
      : TmsoObject(version, instance), RecType(recType) {}

  uint16_t RecType;
  TmsoList Children;

  template <class T>
  T& Add(std::unique_ptr<T> child) {
    T& added = *child;
    Children.push_back(std::move(child));
    return added;
  }
  uint32_t GetSize() const override;
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

// Shape ids handed out drawing by drawing, in clusters of 1024: every drawing starts a
// cluster of its own (its group shape takes the cluster's first id) and a drawing of more
// shapes than a cluster holds goes on in the next one. What the drawing group records of them.
class TmsoShapeIds {
 public:
  struct Cluster {
    uint32_t DrawingId;
    uint32_t Used;
  };
  // A new drawing; returns its id (1, 2, ...) and hands out its group shape's id.
  uint32_t NewDrawing();
  // The next shape id of the latest drawing.
  uint32_t NextShapeId();
  // The latest drawing's shapes (its group shape included) and its last id.
  uint32_t DrawingShapes() const { return drawingShapes_; }
  uint32_t LastShapeId() const { return lastId_; }

  const std::vector<Cluster>& Clusters() const { return clusters_; }
  uint32_t Drawings() const { return drawings_; }
  uint32_t ShapesSaved() const { return saved_; }
  uint32_t MaxShapeId() const { return clusters_.empty() ? mso::kClusterSize : lastId_ + 1; }

 private:
  std::vector<Cluster> clusters_;
  uint32_t drawings_ = 0, saved_ = 0, drawingShapes_ = 0, lastId_ = 0;
};

// The drawing group's record of the shape ids: the largest id + 1, the clusters, the shapes
// and drawings saved.
class TmsoDgg : public TmsoObject {
 public:
  TmsoDgg(uint16_t version, uint16_t instance, const TmsoShapeIds& ids);
  // One drawing of that many shapes besides its group shape.
  TmsoDgg(uint16_t version, uint16_t instance, int shapes);

  uint32_t GetSize() const override { return static_cast<uint32_t>(mso::kHeaderSize + 16 + 8 * ids_.Clusters().size()); }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;

 private:
  TmsoShapeIds ids_;
};

// A drawing's record: its id in Instance, its shapes (the group shape too) and its last id.
class TmsoDg : public TmsoObject {
 public:
  TmsoDg(uint16_t version, uint16_t drawingId) : TmsoObject(version, drawingId) {}
  uint32_t Shapes = 0;
  uint32_t LastShapeId = 0;
  uint32_t GetSize() const override { return 16; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

class TmsoSpgr : public TmsoObject {
 public:
  using TmsoObject::TmsoObject;
  uint32_t GetSize() const override { return 24; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

class TmsoSp : public TmsoObject {
 public:
  TmsoSp(uint16_t version, uint16_t instance, uint32_t shapeId, uint32_t flags)
      : TmsoObject(version, instance), ShapeId(shapeId), Flags(flags) {}
  uint32_t ShapeId;
  uint32_t Flags;
  uint32_t GetSize() const override { return 16; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

// A property: its id (bit 15: complex, its value the length of its data) and value; a
// complex one holds a text, stored as UTF-16 with a NUL.
struct TmsoOPTData {
  TmsoOPTData(uint16_t propId, uint32_t propValue) : PropId(propId), PropValue(propValue) {}
  TmsoOPTData(uint16_t propId, std::u16string_view text)
      : PropId(propId), PropValue(static_cast<uint32_t>(2 * text.size() + 2)), ComplexData(text) {}
  uint16_t PropId;
  uint32_t PropValue;
  std::u16string ComplexData;
  bool IsComplex() const { return (PropId & 0x8000) != 0; }
};

using TmsoOPTDataList = std::vector<TmsoOPTData>;

// A shape's properties, kept in ascending property id (readers look them up so); the
// record's instance is their count.
class TmsoOPT : public TmsoObject {
 public:
  using TmsoObject::TmsoObject;
  TmsoOPT& Add(uint16_t propId, uint32_t value);
  // A complex property holding the text (the complex bit is added).
  TmsoOPT& AddStrValue(uint16_t propId, std::u16string_view text);
  const TmsoOPTDataList& Properties() const { return properties_; }

  uint32_t GetSize() const override;
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;

 private:
  void Insert(TmsoOPTData property);
  TmsoOPTDataList properties_;
};

class TmsoClientAnchor : public TmsoObject {
 public:
  TmsoClientAnchor(uint16_t version, uint16_t instance, uint16_t flags, const TMSO_Anchor& anchor)
      : TmsoObject(version, instance), Anchor(anchor) {
    Anchor.Flags = flags;
  }
  TMSO_Anchor Anchor;
  uint32_t GetSize() const override { return 26; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

// A record of a type and no body (client data, client text box).
class TmsoEmpty : public TmsoObject {
 public:
  TmsoEmpty(uint16_t recType, uint16_t version, uint16_t instance) : TmsoObject(version, instance), recType_(recType) {}
  uint32_t GetSize() const override { return 8; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;

 private:
  uint16_t recType_;
};

class TmsoClientData : public TmsoEmpty {
 public:
  TmsoClientData(uint16_t version, uint16_t instance) : TmsoEmpty(mso::kClientData, version, instance) {}
};

class TmsoClientTextBox : public TmsoEmpty {
 public:
  TmsoClientTextBox(uint16_t version, uint16_t instance) : TmsoEmpty(mso::kClientTextbox, version, instance) {}
};

class TmsoSplitMenuColors : public TmsoObject {
 public:
  using TmsoObject::TmsoObject;
  uint32_t GetSize() const override { return 24; }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

// A stored picture: its bytes as the store keeps them (a bitmap without its file header)
// behind a header naming them by a digest; a metafile's header tells its size and bounds. The
// record type and instance follow the picture type; the bytes are not copied.
class TmsoBLIPData : public TmsoObject {
 public:
  TmsoBLIPData(uint16_t version, TxlsConstBytes picture, TxlsPictureType type);

  TxlsPictureType PictureType;
  bool IsMetafile() const { return PictureType == ptWMF || PictureType == ptEMF; }
  // The record type and instance it is written with, and the type code a BSE names it by.
  uint16_t RecType() const;
  uint16_t WrittenInstance() const;
  uint8_t BlipTypeCode() const;
  const uint8_t* Digest() const { return digest_; }

  uint32_t GetSize() const override;
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;

 private:
  uint32_t HeaderSize() const { return IsMetafile() ? 50 : 17; }
  TxlsConstBytes picture_;  // without a placeable metafile header
  uint8_t digest_[16];
  // A metafile's bounds and its size in EMU.
  int32_t bounds_[4] = {0, 0, 0, 0};
  int32_t sizeEmu_[2] = {0, 0};
};

// The store's entry of a picture: its type, digest, size and reference count, with the
// picture itself inside it.
class TmsoBSEData : public TmsoObject {
 public:
  TmsoBSEData(uint16_t version, TxlsConstBytes picture, TxlsPictureType type, uint32_t refCount);
  TmsoBLIPData Blip;
  uint32_t RefCount;
  uint32_t GetSize() const override { return mso::kHeaderSize + 36 + Blip.GetSize(); }
  void AssignToByteArray(TxlsBytes data, size_t& position) const override;
};

// One sheet's drawing: the drawing container holding the drawing record and the group of
// shapes, the group shape first, then the shape containers the writer adds. It goes out in
// parts, one MSODRAWING record each with the sheet's OBJ records between them: the first part
// reaches to the end of the first shape (but for a note's text box, which is a part of its
// own), each later shape is one part, and each text box another.
class TxlsMSODrawing {
 public:
  // The drawing's id and the id of its group shape.
  TxlsMSODrawing(uint32_t drawingId, uint32_t groupShapeId);

  TmsoContainer DgContainer{mso::kDgContainer};
  TmsoDg* Dg = nullptr;
  TmsoContainer* SpgrContainer = nullptr;

  // A new shape container at the end of the group.
  TmsoContainer& AddShape();
  size_t ShapeCount() const { return SpgrContainer->Children.size() - 1; }
  // The drawing record's counts: shapes (with the group shape) and the last id.
  void SetCounts(uint32_t shapes, uint32_t lastShapeId);

  // The bytes of the whole drawing and where its parts end.
  void Build();
  size_t PartCount() const { return partEnds_.size(); }
  TxlsConstBytes Part(size_t index) const;
  // Writes part i as an MSODRAWING record.
  void Save(TxlsStream& stream, size_t index) const;

 private:
  std::vector<uint8_t> bytes_;
  std::vector<size_t> partEnds_;
};

class TbiffMSODrawingGroup : public TbiffRecord {
 public:
  static constexpr uint16_t kId = 0x00EB;
  explicit TbiffMSODrawingGroup(std::vector<uint8_t> data) : TbiffRecord(nullptr, kId, std::move(data)) {}
};

// --- OBJ sub-records ----------------------------------------------------------------------

class TobjRecord {
 public:
  TobjRecord(uint16_t ftType, uint16_t ftSize) : FtType(ftType), FtSize(ftSize) {}
  virtual ~TobjRecord() = default;
  uint16_t FtType;
  uint16_t FtSize;
  size_t GetSize() const { return 4 + FtSize; }
  // The type, the size and the body (zeros unless a class says otherwise).
  virtual void AssignToByteArray(std::vector<uint8_t>& out) const;
};

using TobjRecordList = std::vector<std::unique_ptr<TobjRecord>>;

class TobjEnd : public TobjRecord {
 public:
  TobjEnd() : TobjRecord(0x0000, 0) {}
};

// A note's structure: an identifier and its sharing flag, all zero.
class TobjNts : public TobjRecord {
 public:
  TobjNts() : TobjRecord(0x000D, 22) {}
};

class TobjCmo : public TobjRecord {
 public:
  TobjCmo(uint16_t objType, uint16_t objId, uint16_t objFlags)
      : TobjRecord(0x0015, 18), ObjType(objType), ObjId(objId), ObjFlags(objFlags) {}
  uint16_t ObjType, ObjId, ObjFlags;
  void AssignToByteArray(std::vector<uint8_t>& out) const override;
};

// A sub-record of one 16-bit value: a picture's clipboard format, its options.
class TobjWord : public TobjRecord {
 public:
  TobjWord(uint16_t ftType, uint16_t value) : TobjRecord(ftType, 2), Value(value) {}
  uint16_t Value;
  void AssignToByteArray(std::vector<uint8_t>& out) const override;
};

// The OBJ body of the sub-records in order.
std::vector<uint8_t> ObjBody(const TobjRecordList& records);

}  // namespace vantrix
