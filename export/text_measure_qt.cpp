#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>
#include <algorithm>

#include "export/text_measure.h"
#include "platform/cp1252.h"

// The only place the export engine uses the GUI library.
namespace vantrix {
namespace {

class QtTextMeasure : public TextMeasure {
 public:
  int TextWidth(std::string_view text, const TVantrixFont& font) const override {
    if (text.empty()) return 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return fallback_.TextWidth(text, font);
    QFont qfont(QString::fromStdString(platform::Cp1252ToUtf8(font.name)));
    // Points to pixels at 96 dots per inch, rounded as the original's font height was.
    const int points = std::clamp(font.size, 1, 1000);
    qfont.setPixelSize((points * 96 + 36) / 72);
    qfont.setBold(font.HasStyle(fsBold));
    qfont.setItalic(font.HasStyle(fsItalic));
    qfont.setUnderline(font.HasStyle(fsUnderline));
    qfont.setStrikeOut(font.HasStyle(fsStrikeOut));
    return QFontMetrics(qfont).horizontalAdvance(QString::fromStdString(platform::Cp1252ToUtf8(text)));
  }

 private:
  FixedTextMeasure fallback_{8};
};

}  // namespace

const TextMeasure& DefaultTextMeasure() {
  static const QtTextMeasure measure;
  return measure;
}

int GetDisplayTextWidth(std::string_view text, const TVantrixFont& font) {
  return DefaultTextMeasure().TextWidth(text, font);
}

}  // namespace vantrix
