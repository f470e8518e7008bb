#include "export/dialog/dialog_services.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "export/shell_service.h"
#include "platform/qt_text.h"
#include "platform/system_colors.h"

namespace vantrix {

QColor ToQColor(uint32_t color) {
  const uint32_t plain = platform::PlainColor(color);
  return QColor(static_cast<int>(plain & 0xFF), static_cast<int>((plain >> 8) & 0xFF),
                static_cast<int>((plain >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& color) {
  return static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
         (static_cast<uint32_t>(color.blue()) << 16);
}

namespace {

QFont ToQFont(const TVantrixFont& font) {
  QFont f(platform::FromCp1252(font.name));
  f.setPointSize(font.size > 0 ? font.size : 10);
  f.setBold(font.HasStyle(fsBold));
  f.setItalic(font.HasStyle(fsItalic));
  f.setUnderline(font.HasStyle(fsUnderline));
  f.setStrikeOut(font.HasStyle(fsStrikeOut));
  return f;
}

class QtDialogServices : public DialogServices {
 public:
  MessageAnswer Message(QWidget* parent, const MessageRequest& request) override {
    QMessageBox box(parent);
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    switch (request.icon) {
      case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
      case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
      case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
      case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
      case MessageIcon::None: break;
    }
    if (!request.yesNo) {
      box.setStandardButtons(QMessageBox::Ok);
      box.exec();
      return MessageAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(request.defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }

  std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& initial) override {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
  }

  std::optional<QString> OpenFile(QWidget* parent, const FileRequest& request) override {
    return Run(parent, request, QFileDialog::AcceptOpen);
  }
  std::optional<QString> SaveFile(QWidget* parent, const FileRequest& request) override {
    return Run(parent, request, QFileDialog::AcceptSave);
  }

  std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) override {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid()) return std::nullopt;
    return FromQColor(chosen);
  }

  std::optional<TVantrixFont> ChooseFont(QWidget* parent, const TVantrixFont& initial) override {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(initial), parent);
    if (!ok) return std::nullopt;
    TVantrixFont font = initial;
    font.name = platform::ToCp1252(chosen.family());
    font.size = chosen.pointSize() > 0 ? chosen.pointSize() : initial.size;
    font.styles = 0;
    EditFontStyle(font, fsBold, chosen.bold());
    EditFontStyle(font, fsItalic, chosen.italic());
    EditFontStyle(font, fsUnderline, chosen.underline());
    EditFontStyle(font, fsStrikeOut, chosen.strikeOut());
    return font;
  }

  int RunModal(QDialog* dialog) override { return dialog->exec(); }

  TVantrixShell& Shell() override { return DefaultVantrixShell(); }

 private:
  static std::optional<QString> Run(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.filter.isEmpty()) dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialFile.isEmpty()) dialog.selectFile(request.initialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
  }
};

}  // namespace

void DialogServices::ShowModeless(QDialog* dialog) { dialog->show(); }

DialogServices& DefaultDialogServices() {
  static QtDialogServices services;
  return services;
}

}  // namespace vantrix
