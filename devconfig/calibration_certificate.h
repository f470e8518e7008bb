#pragma once
// The calibration certificate of a probe without widgets: its 22 texts with their language
// lines, and the document built from the dialog's entries and the probe's points as
// paragraphs and runs (rtf_document.h writes it). Texts are code page 1252.
//
// Page 1 holds the certificate's blocks; page 2 the tables of results, and only when a table
// has a point. The page break belongs to the paragraph that starts page 2, so no text the user
// typed can move it, and the page count in the headers is the count the document has.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devconfig/rtf_document.h"
#include "ui/language_file.h"

namespace devconfig {

inline constexpr size_t kCertificateTextCount = 22;

// Text n (from 1) of the certificate, as numbered in the dialog's table of texts.
struct CertificateTexts {
  std::array<std::string, kCertificateTextCount> texts;
  const std::string& Text(size_t n) const { return texts[n - 1]; }
};

namespace certificate_text {
inline constexpr size_t kPage = 1;
inline constexpr size_t kOf = 2;
inline constexpr size_t kTitle = 3;
inline constexpr size_t kId = 4;
inline constexpr size_t kObject = 5;
inline constexpr size_t kName = 6;
inline constexpr size_t kSerialNumber = 7;
inline constexpr size_t kManufacturer = 8;
inline constexpr size_t kManufacturerName = 9;
inline constexpr size_t kResults = 10;
inline constexpr size_t kUncertaintyHeader = 11;
inline constexpr size_t kStandardKey = 12;
inline constexpr size_t kUnderTestKey = 13;
inline constexpr size_t kUncertaintyKey = 14;
inline constexpr size_t kStandardLegend = 15;
inline constexpr size_t kUnderTestLegend = 16;
inline constexpr size_t kUncertaintyLegend = 17;
inline constexpr size_t kMethod = 18;
inline constexpr size_t kMethodText = 19;
inline constexpr size_t kCreated = 20;
inline constexpr size_t kFailed = 21;
inline constexpr size_t kInformativeNote = 22;
}  // namespace certificate_text

CertificateTexts BuiltInCertificateTexts();

// "# Form de Geração do Relatório de Calibração": 35 lines.
inline constexpr std::string_view kReportFormHeading =
    "# Form de Gera\xE7\xE3o do Relat\xF3rio de Calibra\xE7\xE3o";
inline constexpr size_t kReportFormLineCount = 35;

// Lines of the section that name the dialog's own controls (line 1 is the one after the
// heading); the others replace the texts.
namespace report_line {
inline constexpr size_t kCaption = 1;
inline constexpr size_t kOwnerLabel = 2;
inline constexpr size_t kTesterLabel = 3;
inline constexpr size_t kCalIdLabel = 4;
inline constexpr size_t kStandardLabel = 5;
inline constexpr size_t kObsLabel = 6;
inline constexpr size_t kAmbientGroupBox = 7;
inline constexpr size_t kTempLabel = 8;
inline constexpr size_t kRhLabel = 9;
inline constexpr size_t kCreateReportButton = 10;
inline constexpr size_t kCloseButton = 11;
inline constexpr size_t kUnitLabel = 15;  // both tables' "Unidade"
inline constexpr size_t kDateLabel = 16;
}  // namespace report_line

// The section as 35 targets (index i for line i + 1): the texts' lines write into `texts`;
// the controls' lines are left empty for the dialog.
std::vector<ui::LanguageTextTarget> CertificateTextTargets(CertificateTexts& texts);

// A memo's lines as the certificate takes them: none for an empty memo, and a final line
// break ends the last line rather than adding an empty one.
std::vector<std::string> MemoLines(std::string_view text);

// One table of results: each point's standard, indication and uncertainty as the grid shows
// them, and the table's unit.
struct CertificateTable {
  std::vector<std::array<std::string, 3>> rows;
  std::string unit;
};

// The dialog's captions the certificate repeats (without the ":" it adds).
struct CertificateLabels {
  std::string date, owner, standards, ambient, ambientTemperature, ambientHumidity, remarks;
  std::string temperatureTab, humidityTab;
};

struct CertificateContent {
  std::vector<std::string> tester, owner, standards, remarks;  // memo lines
  std::string id, date, ambientTemperature, ambientHumidity;
  bool humidityProbe = false;  // sensor kind 0
  std::string sensorName;      // the probe's sensor kind
  int32_t serialNumber = 0;
  CertificateTable temperature, humidity;
};

RtfDocument BuildCertificate(const CertificateTexts& texts, const CertificateLabels& labels,
                             const CertificateContent& content);

}  // namespace devconfig
