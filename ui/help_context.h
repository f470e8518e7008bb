#pragma once
// Help context numbers of windows and controls, kept as a dynamic property so that any window
// library can set them without linking the help viewer. F1 uses the nearest one from the
// focused control up through its parents.
#include <QVariant>
#include <QWidget>

namespace ui {

// The topics of the help file that belong to the program's windows.
inline constexpr int kHelpContextMainWindow = 1;
inline constexpr int kHelpContextDisplayWindow = 17;
inline constexpr int kHelpContextDisplayWizard = 17;
inline constexpr int kHelpContextDeviceConfiguration = 19;
inline constexpr int kHelpContextReadingsDialog = 20;
inline constexpr int kHelpContextHistoryViewer = 22;
inline constexpr int kHelpContextExportDialog = 23;
inline constexpr int kHelpContextCalibrationCertificate = 27;
// The device configuration dialog's pages and page controls.
inline constexpr int kHelpContextDeviceGeneralPage = 4;
inline constexpr int kHelpContextDeviceChannels1And2Page = 5;
inline constexpr int kHelpContextDeviceChannel3Page = 6;
inline constexpr int kHelpContextDeviceAmbientTemperaturePage = 7;
inline constexpr int kHelpContextDeviceDiagnosticsPage = 8;
inline constexpr int kHelpContextDeviceCustomCalibration = 26;
inline constexpr int kHelpContextDeviceCalibration = 28;
// The display wizard's device step has one topic per kind of display (kinds 1 to 6).
constexpr int DisplayWizardDeviceStepHelpContext(int kind) { return 10 + kind; }

inline constexpr char kHelpContextProperty[] = "helpContext";

inline void SetHelpContext(QWidget* widget, int context) {
  widget->setProperty(kHelpContextProperty, context);
}

inline int OwnHelpContext(const QWidget* widget) {
  const QVariant value = widget->property(kHelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

// The first non-zero context from the widget up through its parents (0 when none has one).
// An MDI frame holds the focus itself when the window inside it has no control that takes it
// (a display window): the frame then stands for that window.
int NearestHelpContext(const QWidget* widget);

}  // namespace ui
