#include "export/xls/xls_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "export/xls/xls_font.h"
#include "platform/cp1252_case.h"
#include "platform/regular_file.h"

namespace vantrix {
namespace {

constexpr int kMaxCol = 255;
constexpr int kMaxRow = 65535;

// The extension without its dot, upper case.
std::string Extension(const std::string& fileName) {
  const std::string name = std::filesystem::path(fileName).filename().string();
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot + 1);
  while (!ext.empty() && (ext.back() == ' ' || ext.back() == '\t')) ext.pop_back();
  for (char& c : ext) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
  return ext;
}

TxlsGraphicType GraphicTypeOf(const std::string& ext) {
  if (ext == "WMF") return gtWMF;
  if (ext == "EMF") return gtEMF;
  if (ext == "JPG" || ext == "JPEG") return gtJPG;
  if (ext == "PNG") return gtPNG;
  if (ext == "GIF") return gtGIF;
  if (ext == "BMP" || ext == "VBMP") return gtBMP;
  if (ext == "ICO") return gtICO;
  return gtUnknown;
}

// The picture file's bytes; false, with the reason, when it cannot be read or is no regular
// file (a named pipe would hold the export, a device would never end).
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* reason = nullptr) {
  std::string bytes;
  if (!platform::ReadRegularFile(path, bytes, reason)) return false;
  out.assign(bytes.begin(), bytes.end());
  return true;
}

bool IsGif(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 6 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F';
}

// A metafile: the placeable header's key, or a plain header (in memory or on disk, its size
// in words 9, version 1 or 3).
bool IsWmf(const std::vector<uint8_t>& b) {
  if (b.size() >= 22 && GetInteger(b, 0) == 0x9AC6CDD7u) return true;
  return b.size() >= 18 && (GetWord(b, 0) == 1 || GetWord(b, 0) == 2) && GetWord(b, 2) == 9 &&
         (GetWord(b, 4) == 0x0100 || GetWord(b, 4) == 0x0300);
}

// An enhanced metafile: its header record first, with " EMF" at its signature's place.
bool IsEmf(const std::vector<uint8_t>& b) {
  return b.size() >= 88 && GetInteger(b, 0) == 1 && GetInteger(b, 40) == 0x464D4520u;
}

// The picture type the bytes hold, by their signature; ptUndefined when they hold none that a
// workbook stores.
TxlsPictureType SniffPictureType(const std::vector<uint8_t>& b) {
  if (b.size() >= 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G' && b[4] == 0x0D && b[5] == 0x0A &&
      b[6] == 0x1A && b[7] == 0x0A)
    return ptPNG;
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return ptJPEG;
  if (b.size() >= 14 && b[0] == 'B' && b[1] == 'M') return ptDIB;
  if (IsGif(b)) return ptPNG;
  if (IsEmf(b)) return ptEMF;
  if (IsWmf(b)) return ptWMF;
  return ptUndefined;
}

constexpr size_t kBitmapFileHeaderSize = 14;

// A name "<prefix><n>" that fits none of the taken ones, n from 0.
template <class Taken>
int FirstFreeNumber(Taken&& taken) {
  for (int n = 0;; ++n)
    if (!taken(n)) return n;
}

}  // namespace

TxlsPictureType GetXLSPictureType(const std::string& fileName) {
  const std::string ext = Extension(fileName);
  if (ext == "WMF") return ptWMF;
  if (ext == "EMF") return ptEMF;
  if (ext == "JPG" || ext == "JPEG") return ptJPEG;
  if (ext == "PNG" || ext == "GIF") return ptPNG;
  if (ext == "BMP") return ptDIB;
  return ptUndefined;
}

// --- TxlsGraphic -----------------------------------------------------------------------------

void TxlsGraphic::SetFileName(const std::string& fileName) {
  if (fileName == fileName_) return;
  fileName_ = fileName;
  graphicType_ = GraphicTypeOf(Extension(fileName));
}

void TxlsGraphic::SetStream(std::vector<uint8_t> bytes, int width, int height) {
  stream_ = std::move(bytes);
  streamWidth_ = stream_.empty() ? 0 : std::max(width, 0);
  streamHeight_ = stream_.empty() ? 0 : std::max(height, 0);
}

void TxlsGraphic::AssignGraphic(const TxlsGraphic& source) {
  if (&source == this) return;
  SetFileName(source.fileName_);
  stream_ = source.stream_;
  streamWidth_ = source.streamWidth_;
  streamHeight_ = source.streamHeight_;
}

void TxlsGraphic::GetMeasurements(int& height, int& width) const {
  height = width = 0;
  if (!stream_.empty()) {
    height = streamHeight_;
    width = streamWidth_;
    return;
  }
  std::string bytes;
  if (fileName_.empty() || !platform::ReadRegularFile(fileName_, bytes)) return;
  if (Extension(fileName_) == "GIF") {
    const TxlsConstBytes header(reinterpret_cast<const uint8_t*>(bytes.data()), std::min<size_t>(bytes.size(), 10));
    if (header.size() == 10) {
      width = GetWord(header, 6);
      height = GetWord(header, 8);
    }
    return;
  }
  QByteArray held = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&held);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size().isValid() ? reader.size() : reader.read().size();
  if (size.isValid()) {
    height = size.height();
    width = size.width();
  }
}

TxlsPictureType TxlsGraphic::GetPictureData(std::vector<uint8_t>& out, std::string* problem) const {
  out.clear();
  auto none = [&](const std::string& why) {
    out.clear();
    if (problem != nullptr) *problem = why;
    return ptUndefined;
  };
  if (stream_.empty()) {
    if (fileName_.empty()) return none("it has no file");
    if (GetXLSPictureType(fileName_) == ptUndefined) return none("its name is not that of a picture a workbook stores");
    std::string reason;
    if (!ReadWholeFile(fileName_, out, &reason)) return none("its file cannot be read: " + reason);
  } else {
    out = stream_;
  }
  // The bytes decide, not the name: a file named as a picture that holds none would be stored
  // as one and break the workbook for its readers; one named as another kind is stored as what
  // it holds.
  TxlsPictureType type = SniffPictureType(out);
  if (type == ptUndefined) return none(stream_.empty() ? "its file holds no picture" : "its bytes are not a picture");
  if (IsGif(out)) {
    QImage image;
    if (!image.loadFromData(out.data(), static_cast<int>(std::min<size_t>(out.size(), std::numeric_limits<int>::max())),
                            "GIF"))
      return none("its GIF picture cannot be read");
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return none("its GIF picture cannot be converted");
    out.assign(png.begin(), png.end());
    type = ptPNG;
  }
  // The store keeps a bitmap as a device-independent bitmap: without the file's own header.
  if (type == ptDIB) out.erase(out.begin(), out.begin() + kBitmapFileHeaderSize);
  if (problem != nullptr) problem->clear();
  return type;
}

// --- TxlsPicture -----------------------------------------------------------------------------

TxlsPicture::TxlsPicture(TxlsCollectionBase* collection) : TxlsGraphic(collection) {
  const auto* pictures = dynamic_cast<const TxlsPictures*>(collection);
  const int n = FirstFreeNumber([&](int k) {
    int ignored = 0;
    return pictures != nullptr && pictures->Find("Picture_" + std::to_string(k), ignored);
  });
  name_ = "Picture_" + std::to_string(n);
}

void TxlsPicture::SetName(const std::string& name) {
  if (name == name_) return;
  if (name.empty()) throw ExlsFileError("A picture name cannot be empty");
  if (const auto* pictures = dynamic_cast<const TxlsPictures*>(Collection()); pictures != nullptr) {
    for (const auto& other : *pictures)
      if (other.get() != this && platform::Cp1252SameText(other->Name(), name))
        throw ExlsFileError("A picture " + name + " already exists");
  }
  name_ = name;
}

void TxlsPicture::Assign(const TxlsPicture& source) {
  if (&source == this) return;
  AssignGraphic(source);
  try {
    SetName(source.name_);
  } catch (const ExlsFileError&) {
    // Another picture here has that name: this one keeps its own.
  }
}

int TxlsPicture::CalcRefCount() const {
  const TxlsItemsOwner* owner = Owner();
  if (owner == nullptr) return 0;
  int count = 0;
  for (const TxlsImages* images : owner->ComponentSheetImages())
    for (const auto& image : *images)
      if (platform::Cp1252SameText(image->PictureName, name_)) ++count;
  return count;
}

std::string TxlsPicture::GetDisplayName() const { return name_.empty() ? TxlsGraphic::GetDisplayName() : name_; }

bool TxlsPictures::Find(const std::string& name, int& index) const {
  for (size_t i = 0; i < Count(); ++i)
    if (platform::Cp1252SameText(GetItem(i).Name(), name)) {
      index = static_cast<int>(i);
      return true;
    }
  return false;
}

// --- TxlsImage -------------------------------------------------------------------------------

TxlsImage::TxlsImage(TxlsCollectionBase* collection) : TxlsCustomItem(collection) {
  const auto* images = dynamic_cast<const TxlsImages*>(collection);
  const int n = FirstFreeNumber([&](int k) {
    int ignored = 0;
    return images != nullptr && images->Find(Cp1252ToWide("Image_" + std::to_string(k)), ignored);
  });
  Title = Cp1252ToWide("Image_" + std::to_string(n));
}

void TxlsImage::SetZoom(int percent) { zoom_ = std::clamp(percent, 0, kMaxZoom); }

void TxlsImage::Assign(const TxlsImage& source) {
  if (&source == this) return;
  Col = source.Col;
  PictureName = source.PictureName;
  Row = source.Row;
  Title = source.Title;
  zoom_ = source.zoom_;
}

int TxlsImage::GetPictureIndex() const {
  const TxlsItemsOwner* owner = Owner();
  const TxlsPictures* pictures = owner != nullptr ? owner->ComponentPictures() : nullptr;
  int index = 0;
  if (pictures == nullptr || !pictures->Find(PictureName, index)) return -1;
  return index + 1;
}

TMSO_Anchor TxlsImage::GetAnchor(const TextMeasure& measure) const {
  TMSO_Anchor anchor;
  const TxlsItemsOwner* owner = Owner();
  const TxlsPictures* pictures = owner != nullptr ? owner->ComponentPictures() : nullptr;
  const TxlsSheetLayout* sheet = owner != nullptr ? owner->SheetLayout() : nullptr;
  int index = 0;
  if (pictures == nullptr || sheet == nullptr || !pictures->Find(PictureName, index)) return anchor;

  int height = 0, width = 0;
  pictures->GetItem(static_cast<size_t>(index)).GetMeasurements(height, width);
  const long long scaledWidth = std::llround(width * static_cast<double>(zoom_) / 100.0);
  const long long scaledHeight = std::llround(height * static_cast<double>(zoom_) / 100.0);

  TVantrixFont font;
  SetDefaultXLSFont(font);
  const long long zero = measure.TextWidth("0", font);

  const int left = std::clamp(Col, 0, kMaxCol);
  int col = left;
  long long rest = scaledWidth;
  long long columnWidth = 1;
  for (;;) {
    columnWidth = std::max<long long>((sheet->ColumnWidth(col) + 1LL) * zero + 1, 1);
    rest -= columnWidth;
    if (rest < 0 || col == kMaxCol) break;
    ++col;
  }
  const long long dx = std::llround(static_cast<double>(std::max<long long>(rest + columnWidth, 0)) * 1024.0 /
                                    static_cast<double>(columnWidth));

  const int top = std::clamp(Row, 0, kMaxRow);
  int row = top;
  rest = scaledHeight * 15;
  long long rowHeight = 1;
  for (;;) {
    rowHeight = std::max<long long>(sheet->RowHeight(row), 1);
    rest -= rowHeight;
    if (rest < 0 || row == kMaxRow) break;
    ++row;
  }
  const long long dy = std::llround(static_cast<double>(std::max<long long>(rest + rowHeight, 0)) * 256.0 /
                                    static_cast<double>(rowHeight));

  anchor.Col1 = static_cast<uint16_t>(left);
  anchor.Row1 = static_cast<uint16_t>(top);
  anchor.Col2 = static_cast<uint16_t>(col);
  anchor.Dx2 = static_cast<uint16_t>(std::min<long long>(dx, 1023));
  anchor.Row2 = static_cast<uint16_t>(row);
  anchor.Dy2 = static_cast<uint16_t>(std::min<long long>(dy, 255));
  return anchor;
}

std::string TxlsImage::GetDisplayName() const {
  return Title.empty() ? TxlsCustomItem::GetDisplayName() : WideToCp1252(Title);
}

bool TxlsImages::Find(std::u16string_view title, int& index) const {
  for (size_t i = 0; i < Count(); ++i)
    if (SameWideText(GetItem(i).Title, title)) {
      index = static_cast<int>(i);
      return true;
    }
  return false;
}

}  // namespace vantrix
