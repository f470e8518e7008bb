#include "export/dialog/form_file_dialogs.h"

#include <QFile>

#include "export/dialog/export_formats.h"

namespace vantrix {

namespace {

struct DialogEntry {
  std::string_view name;
  const char* filter;  // "Desc|patterns|..."
  const char* suffix;
  const char* title;
};

constexpr const char* kAll = "|All files (*.*)|*.*";

const DialogEntry kDialogs[] = {
    {"odOptions", "Configuration files (*.cfg)|*.cfg", "cfg", ""},
    {"sdOptions", "Configuration files (*.cfg)|*.cfg", "cfg", ""},
    {"odXLSStyle", "Excel style file (*.xst)|*.xst", "xst", ""},
    {"sdXLSStyle", "Excel style file (*.xst)|*.xst", "xst", ""},
    {"odRTFStyle", "RTF style file (*.rst)|*.rst", "rst", ""},
    {"sdRTFStyle", "RTF style file (*.rst)|*.rst", "rst", ""},
    {"sdHTMLTemplate", "HTML template file (*.htf)|*.htf", "htf", "Save as HTML template"},
    {"odHTMLTemplate", "HTML template file (*.htf)|*.htf", "htf", "Load HTML template"},
    {"odHTMLCSS", "Cascading style sheets (*.css)|*.css", "css", ""},
    {"opdHTMLBackground", "Pictures (*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.gif;*.jpg;*.jpeg;*.png;*.bmp", "", ""},
    {"opdHTMLTableBackground", "Pictures (*.gif;*.jpg;*.jpeg;*.png;*.bmp)|*.gif;*.jpg;*.jpeg;*.png;*.bmp", "", ""},
    {"odXLSPageBackground", "Pictures (*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png", "", ""},
};

}  // namespace

FileRequest FormFileDialog(std::string_view name) {
  FileRequest request;
  for (const DialogEntry& entry : kDialogs) {
    if (entry.name != name) continue;
    // The template dialogs offer their own files only; the others every file as well.
    const bool templates = entry.name.find("HTMLTemplate") != std::string_view::npos;
    request.filter = QtFileFilter(std::string(entry.filter) + (templates ? "" : kAll));
    request.defaultSuffix = QString::fromLatin1(entry.suffix);
    request.title = QString::fromLatin1(entry.title);
    return request;
  }
  request.filter = QtFileFilter(std::string("All files (*.*)|*.*"));
  return request;
}

std::string FileSystemName(const QString& file) { return QFile::encodeName(file).toStdString(); }

QString FromFileSystemName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

}  // namespace vantrix
