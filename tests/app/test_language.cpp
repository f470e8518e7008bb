#include "test_language.h"

#include <fstream>

#include "platform/qt_text.h"

namespace apptest {

QString TestText(const char* tag, int n) { return QStringLiteral("%1 %2 ação").arg(QString::fromLatin1(tag)).arg(n); }

std::string MakeTestLanguageFile(const std::string& lineEnd) {
  struct Section {
    const char* heading;
    const char* tag;
    int lines;
  };
  const Section sections[] = {
      {"# Nome Software", "NOME", 1},
      {"# Form Principal", "PRINC", 59},
      {"# Form About", "SOBRE", 2},
      {"# Form de Escolha da Sobrescrita", "ESCOLHA", 6},
  };
  std::string bytes;
  for (const Section& section : sections) {
    bytes += std::string(section.heading) + lineEnd;
    for (int n = 1; n <= section.lines; ++n) bytes += platform::ToCp1252(TestText(section.tag, n)) + lineEnd;
  }
  return bytes;
}

void WriteLanguageFile(const QString& dir, const std::string& bytes) {
  std::ofstream out((dir + QStringLiteral("/Tervana.trl")).toStdString(), std::ios::binary);
  out << bytes;
}

}  // namespace apptest
