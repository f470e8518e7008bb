#include "export/xls/xls_background.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <limits>

#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"
#include "export/xls/xls_picture.h"
#include "platform/regular_file.h"

namespace vantrix {
namespace {

// Larger pictures are left out: the record's sizes are 16 bits, and a background is a tile.
constexpr int kMaxSide = 0xFFFF;
constexpr size_t kMaxPixelBytes = size_t{256} << 20;
// The first record's body is the 20 bytes of headers and at most this many pixel bytes; the
// CONTINUE records take the rest in pieces of at most kContinueBytes.
constexpr size_t kFirstPixelBytes = 8200;
constexpr size_t kContinueBytes = 8212;

bool FromImage(const QImage& image, TxlsBitmapPixels& out, std::string& problem) {
  if (image.width() > kMaxSide || image.height() > kMaxSide ||
      TxlsBitmapPixels::Stride(image.width()) * static_cast<size_t>(image.height()) > kMaxPixelBytes) {
    problem = "it is too large";
    return false;
  }
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  out.Width = argb.width();
  out.Height = argb.height();
  const size_t stride = TxlsBitmapPixels::Stride(out.Width);
  out.Rows.assign(stride * static_cast<size_t>(out.Height), 0);
  for (int y = 0; y < out.Height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    uint8_t* row = out.Rows.data() + stride * static_cast<size_t>(out.Height - 1 - y);
    for (int x = 0; x < out.Width; ++x) {
      const QRgb p = line[x];
      const int a = qAlpha(p);
      auto blend = [a](int c) { return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255); };
      row[3 * x] = blend(qBlue(p));
      row[3 * x + 1] = blend(qGreen(p));
      row[3 * x + 2] = blend(qRed(p));
    }
  }
  return true;
}

}  // namespace

bool BackgroundPixels(const TxlsGraphic& graphic, TxlsBitmapPixels& out, std::string& problem) {
  problem.clear();
  const std::vector<uint8_t>& bytes = graphic.Stream();
  if (!bytes.empty()) {
    const int w = graphic.StreamWidth(), h = graphic.StreamHeight();
    if (w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide &&
        TxlsBitmapPixels::Stride(w) * static_cast<size_t>(h) == bytes.size()) {
      out.Width = w;
      out.Height = h;
      out.Rows = bytes;
      return true;
    }
    QImage image;
    if (!image.loadFromData(bytes.data(), static_cast<int>(std::min<size_t>(bytes.size(), std::numeric_limits<int>::max()))) ||
        image.isNull()) {
      problem = "its bytes are not a picture";
      return false;
    }
    return FromImage(image, out, problem);
  }
  if (graphic.FileName().empty()) return false;
  if (graphic.GraphicType() == gtWMF || graphic.GraphicType() == gtEMF) {
    problem = "a vector picture cannot be a background";
    return false;
  }
  std::string file, reason;
  if (!platform::ReadRegularFile(graphic.FileName(), file, &reason)) {
    problem = "its file cannot be read: " + reason;
    return false;
  }
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(file.data()),
                          static_cast<int>(std::min<size_t>(file.size(), std::numeric_limits<int>::max()))) ||
      image.isNull()) {
    problem = "its file cannot be read as a picture";
    return false;
  }
  return FromImage(image, out, problem);
}

void TxlsSheetWriter::WriteBackground(const TxlsGraphic& graphic) {
  TxlsBitmapPixels pixels;
  std::string problem;
  if (!BackgroundPixels(graphic, pixels, problem)) {
    if (!problem.empty()) run_.Component.ReportLeftOut("Background \"" + graphic.FileName() + "\" left out: " + problem);
    return;
  }
  std::vector<uint8_t> body;
  AppendWord(body, 9);  // format: bitmap
  AppendWord(body, 1);  // environment
  AppendInteger(body, static_cast<uint32_t>(pixels.Rows.size() + 12));
  // One byte past the picture, outside its size: gnumeric takes a picture as whole only when
  // its size is less than what its records hold, and warns of a corrupt file otherwise.
  pixels.Rows.push_back(0);
  AppendInteger(body, 12);  // the core header's size
  AppendWord(body, static_cast<uint16_t>(pixels.Width));
  AppendWord(body, static_cast<uint16_t>(pixels.Height));
  AppendWord(body, 1);   // planes
  AppendWord(body, 24);  // bits per pixel
  size_t done = std::min(kFirstPixelBytes, pixels.Rows.size());
  body.insert(body.end(), pixels.Rows.begin(), pixels.Rows.begin() + static_cast<ptrdiff_t>(done));
  run_.Records.WriteRecord(biffid::kBitmap, body);
  while (done < pixels.Rows.size()) {
    const size_t n = std::min(kContinueBytes, pixels.Rows.size() - done);
    run_.Records.WriteRecord(biffid::kContinue, TxlsConstBytes(pixels.Rows.data() + done, n));
    done += n;
  }
}

}  // namespace vantrix
