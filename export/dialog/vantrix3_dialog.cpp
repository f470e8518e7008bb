#include "export/dialog/vantrix3_dialog.h"

#include <QWidget>

#include "export/data_source.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"

namespace vantrix {

namespace {
inline constexpr int kStrAllowedEmpty = 34018;  // "Property Allowed cannot be empty"
}

TVantrix3Dialog::TVantrix3Dialog(QObject* owner) : QObject(owner) { setObjectName(QStringLiteral("Vantrix3Dialog")); }

TVantrix3Dialog::~TVantrix3Dialog() = default;

TVantrixSourceRefs TVantrix3Dialog::Sources() const {
  return SourceRefs(ExportSource);
}

DialogServices& TVantrix3Dialog::Services() const {
  return services_ != nullptr ? *services_ : DefaultDialogServices();
}

void TVantrix3Dialog::Execute() {
  // Every kind is checked here, the custom one too: the column fill would reach for its
  // columns without a source.
  VantrixCheckSource(Sources());
  if (AllowedExports.Empty()) RaiseLibraryError(kStrAllowedEmpty, "");
  columns_.Clear();
  columns_.Fill(true);
  TVantrix3DialogF form(*this, parentWidget_.data());
  form.InitializeDialog();
  Services().RunModal(&form);
}

}  // namespace vantrix
