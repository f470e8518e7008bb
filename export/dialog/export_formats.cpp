#include "export/dialog/export_formats.h"

#include <QStringList>

#include "export/library_strings.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

constexpr int kNameIds[kAllowedExportCount] = {34052, 34054, 34055, 34056, 34059, 34060, 34057,
                                               34058, 34061, 34062, 34063, 34064, 34065, 34066};
constexpr int kFilterIds[kAllowedExportCount] = {34000, 34002, 34003, 34004, 34007, 34013, 34005,
                                                 34006, 34008, 34009, 34010, 34011, 34012, 0};

TExportTypeStrings& Names() {
  static TExportTypeStrings names;
  return names;
}

TExportTypeStrings& Filters() {
  static TExportTypeStrings filters;
  return filters;
}

QStringList SplitPatterns(const QString& patterns) {
  QStringList out;
  QString current;
  const auto flush = [&] {
    if (!current.isEmpty()) out << current;
    current.clear();
  };
  for (QChar c : patterns) {
    if (c == ';' || c == ',' || c.isSpace()) {
      flush();
      continue;
    }
    // A "*" after a whole pattern starts the next one: "*.html*.htm" is two patterns run
    // together, while "*.*" is one.
    if (c == '*' && !current.isEmpty() && !current.endsWith('.')) flush();
    current += c;
  }
  flush();
  return out;
}

}  // namespace

const TExportTypeStrings& ExportTypeNames() { return Names(); }
const TExportTypeStrings& ExportTypeFilters() { return Filters(); }

const TExportTypeStrings& ExportTypeExtensions() {
  static const TExportTypeStrings extensions = {"xls", "doc", "rtf", "html", "xml", "dbf", "pdf",
                                                "txt", "csv", "dif", "slk", "tex", "sql", ""};
  return extensions;
}

void FillExportTypeStringArray() {
  for (int i = 0; i < kAllowedExportCount; ++i) Names()[i] = VantrixLoadStr(kNameIds[i]);
}

void FillExportTypeFilterArray() {
  for (int i = 0; i < kAllowedExportCount; ++i) Filters()[i] = kFilterIds[i] != 0 ? VantrixLoadStr(kFilterIds[i]) : "";
}

QString QtFileFilter(std::string_view classicFilter) {
  const QStringList parts = platform::FromCp1252(classicFilter).split('|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const int open = description.lastIndexOf('(');
    if (open > 0 && description.endsWith(')')) description = description.left(open).trimmed();
    const QStringList patterns = SplitPatterns(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace vantrix
