#pragma once
// Pictures stored once in a workbook (from a file, or bytes given with their size), the
// images that place them on sheets, and the graphic of a sheet's background.
#include <cstdint>
#include <string>
#include <vector>

#include "export/text_measure.h"
#include "export/xls/xls_bytes.h"
#include "export/xls/xls_collection.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

enum TxlsGraphicType { gtUnknown, gtWMF, gtEMF, gtJPG, gtPNG, gtGIF, gtBMP, gtICO };
// The ordinals are the drawing layer's picture type codes.
enum TxlsPictureType { ptUndefined, ptUndefined2, ptWMF, ptEMF, ptPICT, ptJPEG, ptPNG, ptDIB };

// The picture type a file is stored as, by its extension: "WMF", "EMF", "JPG"/"JPEG",
// "PNG", "GIF" (stored as PNG), "BMP"; anything else ptUndefined.
TxlsPictureType GetXLSPictureType(const std::string& fileName);

class TxlsGraphic : public TxlsCustomItem {
 public:
  explicit TxlsGraphic(TxlsCollectionBase* collection = nullptr) : TxlsCustomItem(collection) {}

  const std::string& FileName() const { return fileName_; }
  // Keeps the name and derives the graphic type from its extension.
  void SetFileName(const std::string& fileName);
  TxlsGraphicType GraphicType() const { return graphicType_; }
  // The picture's bytes given directly, with its size in pixels; empty bytes clear them.
  void SetStream(std::vector<uint8_t> bytes, int width, int height);
  const std::vector<uint8_t>& Stream() const { return stream_; }
  int StreamWidth() const { return streamWidth_; }
  int StreamHeight() const { return streamHeight_; }
  // The picture comes from its file (no bytes were given).
  bool IsFileSource() const { return stream_.empty(); }

  // The file name, the bytes and their size.
  void AssignGraphic(const TxlsGraphic& source);
  void Assign(const TxlsGraphic& source) { AssignGraphic(source); }
  // Height and width in pixels: the given size for bytes; for a file, 0 and 0 when it does
  // not exist or cannot be read, a GIF's own header fields, else the picture's size.
  void GetMeasurements(int& height, int& width) const;
  // The bytes to store and their type: the given bytes or the file's (a file only under a
  // picture type's name), typed as what they hold, a GIF converted to PNG (a GIF's bytes typed
  // as PNG cannot be shown). ptUndefined, and nothing, when there is no picture to store;
  // *problem then says why.
  TxlsPictureType GetPictureData(std::vector<uint8_t>& out, std::string* problem = nullptr) const;

  std::string ClassName() const override { return "TxlsGraphic"; }
  TxlsItemType GetItemType() const override { return itGraphic; }
  void SaveToIniFile(platform::IniFile&, const std::string&) const override {}
  void LoadFromIniFile(const platform::IniFile&, const std::string&) override {}

 private:
  std::string fileName_;
  TxlsGraphicType graphicType_ = gtUnknown;
  std::vector<uint8_t> stream_;
  int streamWidth_ = 0, streamHeight_ = 0;
};

class TxlsPicture : public TxlsGraphic {
 public:
  // Named "Picture_<n>" with the smallest n that no picture of the collection has.
  explicit TxlsPicture(TxlsCollectionBase* collection = nullptr);

  const std::string& Name() const { return name_; }
  // Raises ExlsFileError "A picture name cannot be empty", or "A picture <name> already
  // exists" when another picture of the collection has it (ignoring case).
  void SetName(const std::string& name);
  // Everything: the name too, unless another picture of this collection has it already (the
  // picture then keeps its own), so images that name the picture still find it. From a plain
  // graphic, what a graphic has.
  using TxlsGraphic::Assign;
  void Assign(const TxlsPicture& source);
  // The images over all sheets of the exporter that name this picture.
  int CalcRefCount() const;

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsPicture"; }
  TxlsItemType GetItemType() const override { return itPicture; }

 private:
  std::string name_;
};

class TxlsPictures : public TxlsCollection<TxlsPicture> {
 public:
  using TxlsCollection::TxlsCollection;
  // The first picture named so, ignoring case.
  bool Find(const std::string& name, int& index) const;
};

class TxlsImage : public TxlsCustomItem {
 public:
  static constexpr int kMaxZoom = 1000;

  // Titled "Image_<n>" with the smallest n that no image of the collection has.
  explicit TxlsImage(TxlsCollectionBase* collection = nullptr);

  int Col = 0;  // the top left cell, from 0
  std::string PictureName;
  int Row = 0;
  WideString Title;

  int Zoom() const { return zoom_; }
  // Percent, kept within 0..1000.
  void SetZoom(int percent);

  void Assign(const TxlsImage& source);
  // 1-based position of the named picture among the exporter's pictures; -1 when it has none
  // of that name or there is no exporter.
  int GetPictureIndex() const;
  // Where the picture lands at its zoom: from (Col, Row) over the sheet's column widths and
  // row heights (a column or row of no size counts as 1 unit). All zero unless the image
  // belongs to an exporter's sheet and its picture exists. Column pixel widths are counted
  // in the width of "0" of the workbook's default font, as the measure gives it.
  TMSO_Anchor GetAnchor(const TextMeasure& measure = DefaultTextMeasure()) const;

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsImage"; }
  TxlsItemType GetItemType() const override { return itImage; }
  void SaveToIniFile(platform::IniFile&, const std::string&) const override {}
  void LoadFromIniFile(const platform::IniFile&, const std::string&) override {}

 private:
  int zoom_ = 100;
};

class TxlsImages : public TxlsCollection<TxlsImage> {
 public:
  using TxlsCollection::TxlsCollection;
  bool Find(std::u16string_view title, int& index) const;
};

}  // namespace vantrix
