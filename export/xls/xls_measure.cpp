#include "export/xls/xls_measure.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/cp1252.h"

namespace vantrix {
namespace {

// Characters measured in a run of this many, so that a width rounded to whole pixels comes
// back as the character's advance within a sixteenth of a pixel.
constexpr int kRun = 16;

class QtTextMetrics : public TxlsTextMetrics {
 public:
  int RowHeightTwips(const TVantrixFont& font) const override {
    const int points = std::clamp(font.size, 1, TxlsFont::kMaxSize);
    const int pixelSize = (points * 96 + 36) / 72;
    int pixels = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
      pixels = pixelSize + pixelSize / 4 + 1;
    } else {
      QFont qfont(QString::fromStdString(platform::Cp1252ToUtf8(font.name)));
      qfont.setPixelSize(pixelSize);
      qfont.setBold(font.HasStyle(fsBold));
      qfont.setItalic(font.HasStyle(fsItalic));
      const QFontMetrics metrics(qfont);
      const int height = metrics.height();
      const int descent = metrics.descent();
      const int internalLeading = std::max(height - pixelSize, 0);
      pixels = 2 * std::max(internalLeading, descent) + (height - internalLeading - descent) + metrics.leading() + 1;
    }
    return pixels * 1440 / 96;
  }
};

}  // namespace

const TxlsTextMetrics& DefaultXLSTextMetrics() {
  static const QtTextMetrics metrics;
  return metrics;
}

TxlsWidthGauge::TxlsWidthGauge(const TextMeasure& measure) : measure_(measure) {
  TVantrixFont font;
  SetDefaultXLSFont(font);
  zero_ = std::max(measure_.TextWidth("0", font), 1);
}

const TxlsWidthGauge::Advances& TxlsWidthGauge::AdvancesOf(const TxlsFont* font) {
  const auto found = advances_.find(font);
  if (found != advances_.end()) return found->second;
  TVantrixFont measured;
  if (font != nullptr) font->AssignTo(measured);
  else SetDefaultXLSFont(measured);
  Advances advances{};
  for (int c = 0; c < 256; ++c)
    advances[static_cast<size_t>(c)] =
        measure_.TextWidth(std::string(kRun, static_cast<char>(c)), measured) / static_cast<double>(kRun);
  return advances_.emplace(font, advances).first->second;
}

int TxlsWidthGauge::CharsWide(std::string_view cp1252Text, const TxlsFont* font) {
  const Advances& advances = AdvancesOf(font);
  double width = advances['I'];
  for (const char c : cp1252Text) width += advances[static_cast<unsigned char>(c)];
  const long long pixels = std::llround(width);
  return static_cast<int>((pixels + zero_ - 1) / zero_);
}

int RowHeightFor(const TxlsTextMetrics& metrics, const TxlsFont* font) {
  if (font == nullptr) return 0;
  const bool defaultLook = font->Size == 10 && font->Style.Empty() && SameWideText(font->Name, u"arial");
  if (defaultLook) return 0;
  TVantrixFont measured;
  font->AssignTo(measured);
  return metrics.RowHeightTwips(measured);
}

}  // namespace vantrix
