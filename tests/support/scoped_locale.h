#pragma once
// Makes a locale the default one (as the user's system locale would be) while it lives.
#include <QLocale>

namespace testsupport {

class ScopedDefaultLocale {
 public:
  explicit ScopedDefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
  ~ScopedDefaultLocale() { QLocale::setDefault(previous_); }
  ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
  ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

 private:
  QLocale previous_;
};

inline QLocale Brazil() { return QLocale(QLocale::Portuguese, QLocale::Brazil); }
inline QLocale UnitedStates() { return QLocale(QLocale::English, QLocale::UnitedStates); }

}  // namespace testsupport
