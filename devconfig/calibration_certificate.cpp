#include "devconfig/calibration_certificate.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/text_trim.h"

namespace devconfig {
namespace {

namespace t = certificate_text;

constexpr RtfFormat Format(int size, bool bold = false, bool italic = false, bool underline = false) {
  return {size, bold, italic, underline};
}

constexpr RtfFormat kPageHeader = Format(8);
constexpr RtfFormat kTester = Format(13, true);
constexpr RtfFormat kTitle = Format(16, true, false, true);
constexpr RtfFormat kDateLabel = Format(10, true);
constexpr RtfFormat kBody = Format(10);
constexpr RtfFormat kHeading = Format(10, true, true);
constexpr RtfFormat kTableTitle = Format(10, true);
constexpr RtfFormat kTableColumns = Format(10, true, false, true);
constexpr RtfFormat kLegend = Format(10, false, true);

// Builds the document block by block: each block's text takes one format and alignment,
// the blank paragraphs after it included.
class Builder {
 public:
  void Paragraph(RtfAlignment a, RtfFormat f, std::string text, bool pageBreak = false) {
    RtfParagraph p;
    p.alignment = a;
    p.mark = f;
    p.pageBreakBefore = pageBreak;
    p.runs.push_back({std::move(text), f});
    doc_.paragraphs.push_back(std::move(p));
  }
  // More text in the last paragraph, in a format of its own.
  void Continue(RtfFormat f, std::string text) {
    RtfParagraph& p = doc_.paragraphs.back();
    p.mark = f;
    p.runs.push_back({std::move(text), f});
  }
  void Blanks(RtfAlignment a, RtfFormat f, int count) {
    for (int i = 0; i < count; ++i) {
      RtfParagraph p;
      p.alignment = a;
      p.mark = f;
      doc_.paragraphs.push_back(std::move(p));
    }
  }
  // A heading and the block's lines under it, each after a tab, then the blanks.
  void Section(const std::string& heading, const std::vector<std::string>& lines, int blanks) {
    Paragraph(RtfAlignment::Left, kHeading, heading + ":");
    for (const std::string& line : lines) Paragraph(RtfAlignment::Left, kBody, "\t" + line);
    Blanks(RtfAlignment::Left, kBody, blanks);
  }
  RtfDocument Take() { return std::move(doc_); }

 private:
  RtfDocument doc_;
};

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
  return text;
}

bool HasUncertainty(const CertificateTable& table) {
  return std::any_of(table.rows.begin(), table.rows.end(),
                     [](const auto& row) { return !platform::TrimBlanks(row[2]).empty(); });
}

void Table(Builder& b, const CertificateTexts& texts, const std::string& tab, const CertificateTable& table) {
  const bool uncertainty = HasUncertainty(table);
  b.Paragraph(RtfAlignment::Center, kTableTitle, UpperCase(tab) + " (" + table.unit + ")");
  b.Blanks(RtfAlignment::Center, kTableColumns, 1);
  std::string columns = texts.Text(t::kStandardKey) + "\t\t" + texts.Text(t::kUnderTestKey);
  if (uncertainty) columns += "\t\t" + texts.Text(t::kUncertaintyKey);
  b.Paragraph(RtfAlignment::Center, kTableColumns, columns);
  for (const auto& row : table.rows) {
    std::string line = row[0] + "\t\t" + row[1];
    if (uncertainty) line += "\t\t" + row[2];
    b.Paragraph(RtfAlignment::Center, kBody, line);
  }
  b.Blanks(RtfAlignment::Center, kBody, 2);
}

}  // namespace

CertificateTexts BuiltInCertificateTexts() {
  static const char* const kTexts[kCertificateTextCount] = {
      "Página",
      "de",
      "Certificado de Calibração",
      "ID",
      "Características do Objeto",
      "Nome",
      "Número de Série",
      "Fabricante",
      "Tervana Instrumentos",
      "Resultados",
      "Incerteza da Medição",
      "UMP",
      "UST",
      "IM",
      "Valor indicado na unidade de medição padrão",
      "Valor indicado na unidade de medição sob teste",
      "Incerteza da medição",
      "Método Utilizado",
      "Comparação direta com o padrão.",
      "Certificado gerado com sucesso!",
      "Erro na geração do Certificado!",
      "As tabelas a seguir são meramente informativas, uma vez que o Kestravon corrige automaticamente a "
      "indicação nestes pontos. Assim, não é necessário compensar novamente o erro nos mesmos.",
  };
  CertificateTexts texts;
  for (size_t i = 0; i < kCertificateTextCount; ++i) texts.texts[i] = platform::Utf8ToCp1252(kTexts[i]);
  return texts;
}

std::vector<ui::LanguageTextTarget> CertificateTextTargets(CertificateTexts& texts) {
  std::vector<ui::LanguageTextTarget> targets(kReportFormLineCount);
  auto text = [&](size_t line, size_t n) {
    targets[line - 1] = [&texts, n](const std::string& s) { texts.texts[n - 1] = s; };
  };
  text(12, t::kMethod);
  text(13, t::kMethodText);
  text(14, t::kUncertaintyHeader);
  for (size_t n = t::kPage; n <= t::kResults; ++n) text(17 + n - 1, n);
  for (size_t n = t::kStandardKey; n <= t::kUncertaintyLegend; ++n) text(27 + n - t::kStandardKey, n);
  text(33, t::kCreated);
  text(34, t::kFailed);
  text(35, t::kInformativeNote);
  return targets;
}

std::vector<std::string> MemoLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

RtfDocument BuildCertificate(const CertificateTexts& texts, const CertificateLabels& labels,
                             const CertificateContent& c) {
  const bool results = !c.temperature.rows.empty() || !c.humidity.rows.empty();
  const std::string pages = results ? "2" : "1";
  const std::string& page = texts.Text(t::kPage);
  const std::string& of = texts.Text(t::kOf);
  Builder b;

  b.Paragraph(RtfAlignment::Right, kPageHeader, page + " 1 " + of + " " + pages);
  b.Blanks(RtfAlignment::Right, kPageHeader, 1);
  if (!c.tester.empty()) {
    for (const std::string& line : c.tester) b.Paragraph(RtfAlignment::Center, kTester, line);
    b.Blanks(RtfAlignment::Center, kTester, 2);
  }
  std::string title = texts.Text(t::kTitle);
  if (!c.id.empty()) title += std::string(9, ' ') + texts.Text(t::kId) + ": " + c.id;
  b.Paragraph(RtfAlignment::Center, kTitle, title);
  b.Blanks(RtfAlignment::Center, kTitle, 2);

  b.Paragraph(RtfAlignment::Right, kDateLabel, labels.date + ":");
  b.Continue(kBody, "  " + c.date);
  b.Blanks(RtfAlignment::Right, kBody, 2);

  if (!c.owner.empty()) b.Section(labels.owner, c.owner, 2);
  const std::string model = c.humidityProbe ? "RHT" : "TEMP";
  b.Section(texts.Text(t::kObject),
            {texts.Text(t::kName) + ":  Kestravon - " + model + ": " + c.sensorName,
             texts.Text(t::kSerialNumber) + ":  " + std::to_string(c.serialNumber),
             texts.Text(t::kManufacturer) + ":  " + texts.Text(t::kManufacturerName)},
            2);
  if (!c.standards.empty()) b.Section(labels.standards, c.standards, 2);
  b.Section(texts.Text(t::kMethod), {texts.Text(t::kMethodText)}, 2);
  if (!c.ambientTemperature.empty() || !c.ambientHumidity.empty()) {
    std::vector<std::string> lines;
    if (!c.ambientTemperature.empty())
      lines.push_back(labels.ambientTemperature + ":  " + c.ambientTemperature + " " + c.temperature.unit);
    if (!c.ambientHumidity.empty())
      lines.push_back(labels.ambientHumidity + ":  " + c.ambientHumidity + " " + c.humidity.unit);
    b.Section(labels.ambient, lines, 2);
  }
  if (!c.remarks.empty()) b.Section(labels.remarks, c.remarks, 0);

  if (results) {
    b.Paragraph(RtfAlignment::Right, kPageHeader, page + " 2 " + of + " 2", true);
    b.Blanks(RtfAlignment::Right, kPageHeader, 2);
    b.Paragraph(RtfAlignment::Left, kHeading, texts.Text(t::kResults) + ":");
    b.Blanks(RtfAlignment::Left, kHeading, 1);
    if (!c.temperature.rows.empty()) Table(b, texts, labels.temperatureTab, c.temperature);
    if (!c.humidity.rows.empty()) Table(b, texts, labels.humidityTab, c.humidity);
    b.Paragraph(RtfAlignment::Left, kLegend, "\t\t" + texts.Text(t::kStandardKey) + " = " + texts.Text(t::kStandardLegend));
    b.Paragraph(RtfAlignment::Left, kLegend,
                "\t\t" + texts.Text(t::kUnderTestKey) + " = " + texts.Text(t::kUnderTestLegend));
    if (HasUncertainty(c.temperature) || HasUncertainty(c.humidity))
      b.Paragraph(RtfAlignment::Left, kLegend,
                  "\t\t" + texts.Text(t::kUncertaintyKey) + " = " + texts.Text(t::kUncertaintyLegend));
  }
  return b.Take();
}

}  // namespace devconfig
