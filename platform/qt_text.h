#pragma once
// The window boundary: code page 1252 bytes of the core to and from Qt's strings.
// Header-only so that the Qt-free core libraries never link Qt through it.
#include <QString>
#include <string>
#include <string_view>

#include "platform/cp1252.h"

namespace platform {

inline QString FromCp1252(std::string_view cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

inline std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace platform
