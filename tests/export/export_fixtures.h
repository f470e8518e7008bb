#pragma once
// What the export engine's tests share: the locale forms of C and Brazilian Portuguese, a
// plain table model, and a folder of their own for files.
#include <QAbstractTableModel>
#include <QLocale>
#include <QVariant>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "export/format_settings.h"

namespace exporttest {

inline const vantrix::FormatSettings& CSettings() {
  static const vantrix::FormatSettings s = vantrix::FormatSettings::FromLocale(QLocale::c());
  return s;
}

inline const vantrix::FormatSettings& BrSettings() {
  static const vantrix::FormatSettings s = vantrix::FormatSettings::FromLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  return s;
}

// Rows of values under header texts; a header of its own field name through the field-name role.
class TableModel : public QAbstractTableModel {
 public:
  TableModel(std::vector<QString> headers, std::vector<std::vector<QVariant>> rows)
      : headers_(std::move(headers)), rows_(std::move(rows)) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto& row = rows_[static_cast<size_t>(index.row())];
    return static_cast<size_t>(index.column()) < row.size() ? row[static_cast<size_t>(index.column())] : QVariant();
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return headers_[static_cast<size_t>(section)];
    if (role == fieldNameRole && section < static_cast<int>(fieldNames_.size())) return fieldNames_[static_cast<size_t>(section)];
    return {};
  }
  void SetFieldNames(std::vector<QString> names, int role) {
    fieldNames_ = std::move(names);
    fieldNameRole = role;
  }

 private:
  std::vector<QString> headers_;
  std::vector<std::vector<QVariant>> rows_;
  std::vector<QString> fieldNames_;
  int fieldNameRole = -1;
};

// A string grid's worth of text: rows × columns of "r<row>c<col>".
inline std::vector<std::vector<QVariant>> GridRows(int rows, int columns) {
  std::vector<std::vector<QVariant>> out(static_cast<size_t>(rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) out[static_cast<size_t>(r)].push_back(QString("r%1c%2").arg(r).arg(c));
  return out;
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/tervana_export_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What is no regular file, made in the folder, each with the kind a refusal names: a named
// pipe and, where this process may make device nodes, one like /dev/null. The machine's own
// /dev/null is never named as an output here: a fault would put a file in its place.
inline std::vector<std::pair<std::string, std::string>> NonRegularFiles(const TempFolder& folder) {
  std::vector<std::pair<std::string, std::string>> made;
  if (mkfifo((folder / "pipe").c_str(), 0600) == 0) made.emplace_back(folder / "pipe", "a named pipe");
  if (mknod((folder / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) made.emplace_back(folder / "null", "a device");
  return made;
}

// The kind of what the path names (S_IFREG, S_IFIFO, ...), the link followed; 0 when nothing.
inline unsigned FileKind(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0u;
}

// What the action raises; "(no error)" when it raises nothing.
inline std::string ErrorMessage(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

// How often the piece occurs in the text, without overlaps.
inline size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

}  // namespace exporttest
