#pragma once
// The core's texts are Windows-1251 bytes; the widgets hold Unicode. Conversions happen here only.
#include <QCoreApplication>
#include <QString>
#include <string>

#include "codec/cp1251.h"

namespace morvek::gui {

inline QString ToQt(std::string_view cp1251Text) {
  return QString::fromStdString(Cp1251ToUtf8(cp1251Text));
}

inline std::string FromQt(const QString& text) {
  return Utf8ToCp1251(text.toStdString());
}

// The model's text where the logic set one, otherwise the window's own text (Russian UTF-8, in the
// operator's language).
inline QString TextOr(const std::string& cp1251Text, const char* fallbackUtf8) {
  return cp1251Text.empty() ? QCoreApplication::translate("morvek", fallbackUtf8)
                            : ToQt(cp1251Text);
}

}  // namespace morvek::gui
