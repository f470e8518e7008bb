// The calibration certificate as paragraphs and runs: its blocks, their formats, what is left
// out, the page count. The RTF written from it is read back in certificate_form_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>

#include "devconfig/calibration_certificate.h"
#include "platform/cp1252.h"

namespace {

using devconfig::RtfAlignment;
using devconfig::RtfDocument;
using devconfig::RtfFormat;

std::string C(const char* utf8) { return platform::Utf8ToCp1252(utf8); }

devconfig::CertificateLabels Labels() {
  devconfig::CertificateLabels l;
  l.date = "Data";
  l.owner = C("Proprietário");
  l.standards = C("Instrumento(s) Padrão Utilizado(s)");
  l.ambient = C("Condições Ambientais");
  l.ambientTemperature = "Temperatura";
  l.ambientHumidity = "Umidade Relativa";
  l.remarks = C("Observações");
  l.temperatureTab = "Temperatura";
  l.humidityTab = "Umidade";
  return l;
}

// Everything filled in, a humidity probe with points in both tables.
devconfig::CertificateContent Full() {
  devconfig::CertificateContent c;
  c.tester = {C("Laboratório Norte"), "Rua 1"};
  c.id = "C-17";
  c.date = "05/03/2024";
  c.owner = {"ACME"};
  c.standards = {C("Termo-higrômetro P-9")};
  c.remarks = {C("Nota informativa."), C("{a}\\b<newpage>é")};
  c.ambientTemperature = "23,0";
  c.ambientHumidity = "50";
  c.humidityProbe = true;
  c.sensorName = "Umidade Relativa";
  c.serialNumber = 20002;
  c.temperature = {{{"10.0", "10.2", ""}, {"20.0", "19.9", ""}}, C("°C")};
  c.humidity = {{{"30.0", "31.0", "0.5"}, {"70.0", "69.0", ""}}, "%"};
  return c;
}

std::vector<std::string> Texts(const RtfDocument& doc) {
  std::vector<std::string> texts;
  for (const auto& p : doc.paragraphs) texts.push_back(platform::Cp1252ToUtf8(p.Text()));
  return texts;
}

size_t IndexOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<size_t>(std::find(texts.begin(), texts.end(), text) - texts.begin());
}

RtfDocument Build(const devconfig::CertificateContent& c) {
  return devconfig::BuildCertificate(devconfig::BuiltInCertificateTexts(), Labels(), c);
}

TEST(Certificate, BlocksInOrderWithTheirFormats) {
  const RtfDocument doc = Build(Full());
  const std::vector<std::string> t = Texts(doc);
  const std::vector<std::string> page1 = {
      "Página 1 de 2", "",
      "Laboratório Norte", "Rua 1", "", "",
      "Certificado de Calibração" + std::string(9, ' ') + "ID: C-17", "", "",
      "Data:  05/03/2024", "", "",
      "Proprietário:", "\tACME", "", "",
      "Características do Objeto:", "\tNome:  Kestravon - RHT: Umidade Relativa", "\tNúmero de Série:  20002",
      "\tFabricante:  Tervana Instrumentos", "", "",
      "Instrumento(s) Padrão Utilizado(s):", "\tTermo-higrômetro P-9", "", "",
      "Método Utilizado:", "\tComparação direta com o padrão.", "", "",
      "Condições Ambientais:", "\tTemperatura:  23,0 °C", "\tUmidade Relativa:  50 %", "", "",
      "Observações:", "\tNota informativa.", "\t{a}\\b<newpage>é",
  };
  const std::vector<std::string> page2 = {
      "Página 2 de 2", "", "",
      "Resultados:", "",
      "TEMPERATURA (°C)", "", "UMP\t\tUST", "10.0\t\t10.2", "20.0\t\t19.9", "", "",
      "UMIDADE (%)", "", "UMP\t\tUST\t\tIM", "30.0\t\t31.0\t\t0.5", "70.0\t\t69.0\t\t", "", "",
      "\t\tUMP = Valor indicado na unidade de medição padrão",
      "\t\tUST = Valor indicado na unidade de medição sob teste",
      "\t\tIM = Incerteza da medição",
  };
  std::vector<std::string> all = page1;
  all.insert(all.end(), page2.begin(), page2.end());
  ASSERT_EQ(t, all);

  // One page break, on the paragraph that starts page 2.
  const size_t second = page1.size();
  for (size_t i = 0; i < doc.paragraphs.size(); ++i) EXPECT_EQ(doc.paragraphs[i].pageBreakBefore, i == second) << i;

  auto format = [&](size_t i, size_t run = 0) { return doc.paragraphs[i].runs.at(run).format; };
  auto align = [&](size_t i) { return doc.paragraphs[i].alignment; };
  EXPECT_EQ(format(0), (RtfFormat{8}));
  EXPECT_EQ(align(0), RtfAlignment::Right);
  EXPECT_EQ(format(2), (RtfFormat{13, true}));
  EXPECT_EQ(align(2), RtfAlignment::Center);
  EXPECT_EQ(format(6), (RtfFormat{16, true, false, true}));
  // The date: its label bold, its value plain, in one right-aligned paragraph.
  ASSERT_EQ(doc.paragraphs[9].runs.size(), 2u);
  EXPECT_EQ(format(9, 0), (RtfFormat{10, true}));
  EXPECT_EQ(format(9, 1), (RtfFormat{10}));
  EXPECT_EQ(align(9), RtfAlignment::Right);
  EXPECT_EQ(format(12), (RtfFormat{10, true, true}));
  EXPECT_EQ(format(13), (RtfFormat{10}));
  EXPECT_EQ(align(13), RtfAlignment::Left);
  // Blank paragraphs keep their block's size and alignment.
  EXPECT_EQ(doc.paragraphs[1].mark, (RtfFormat{8}));
  EXPECT_EQ(doc.paragraphs[4].mark, (RtfFormat{13, true}));
  const size_t title = IndexOf(t, "TEMPERATURA (°C)");
  EXPECT_EQ(format(title), (RtfFormat{10, true}));
  EXPECT_EQ(align(title), RtfAlignment::Center);
  EXPECT_EQ(format(title + 2), (RtfFormat{10, true, false, true}));
  EXPECT_EQ(format(title + 3), (RtfFormat{10}));
  EXPECT_EQ(format(t.size() - 1), (RtfFormat{10, false, true}));
  EXPECT_EQ(align(t.size() - 1), RtfAlignment::Left);
}

TEST(Certificate, EmptyEntriesLeaveTheirBlocksOut) {
  devconfig::CertificateContent c = Full();
  c.tester.clear();
  c.id.clear();
  c.owner.clear();
  c.standards.clear();
  c.remarks.clear();
  c.ambientTemperature.clear();
  c.ambientHumidity.clear();
  c.humidity.rows.clear();
  c.humidityProbe = false;
  c.sensorName = "Pt100";
  const std::vector<std::string> t = Texts(Build(c));
  const std::vector<std::string> expected = {
      "Página 1 de 2", "",
      "Certificado de Calibração", "", "",
      "Data:  05/03/2024", "", "",
      "Características do Objeto:", "\tNome:  Kestravon - TEMP: Pt100", "\tNúmero de Série:  20002",
      "\tFabricante:  Tervana Instrumentos", "", "",
      "Método Utilizado:", "\tComparação direta com o padrão.", "", "",
      "Página 2 de 2", "", "",
      "Resultados:", "",
      "TEMPERATURA (°C)", "", "UMP\t\tUST", "10.0\t\t10.2", "20.0\t\t19.9", "", "",
      "\t\tUMP = Valor indicado na unidade de medição padrão",
      "\t\tUST = Valor indicado na unidade de medição sob teste",
  };
  EXPECT_EQ(t, expected);

  // Only the ambient humidity: its line alone.
  c.ambientHumidity = "45";
  const std::vector<std::string> withHumidity = Texts(Build(c));
  const size_t at = IndexOf(withHumidity, "Condições Ambientais:");
  ASSERT_LT(at + 1, withHumidity.size());
  EXPECT_EQ(withHumidity[at + 1], "\tUmidade Relativa:  45 %");
  EXPECT_EQ(withHumidity[at + 2], "");
}

TEST(Certificate, UncertaintyOnlyWhereACellIsFilled) {
  devconfig::CertificateContent c = Full();
  c.humidity.rows[0][2] = "  ";  // blanks are no uncertainty
  std::vector<std::string> t = Texts(Build(c));
  EXPECT_EQ(std::count(t.begin(), t.end(), "UMP\t\tUST"), 2);
  EXPECT_EQ(IndexOf(t, "\t\tIM = Incerteza da medição"), t.size());
  c.temperature.rows[1][2] = "0,1";
  t = Texts(Build(c));
  EXPECT_NE(IndexOf(t, "20.0\t\t19.9\t\t0,1"), t.size());
  EXPECT_NE(IndexOf(t, "10.0\t\t10.2\t\t"), t.size());
  EXPECT_EQ(std::count(t.begin(), t.end(), "UMP\t\tUST\t\tIM"), 1);
  EXPECT_EQ(t.back(), "\t\tIM = Incerteza da medição");
}

TEST(Certificate, MemoLinesAsTheUserTypedThem) {
  EXPECT_TRUE(devconfig::MemoLines("").empty());
  EXPECT_EQ(devconfig::MemoLines("a"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(devconfig::MemoLines("a\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(devconfig::MemoLines("a\r\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(devconfig::MemoLines("\n"), (std::vector<std::string>{""}));
}

}  // namespace
