#pragma once
// The windows draw green on black through the palette, which the native Windows
// style ignores for tabs and buttons: Windows gets the style Linux has.
#include <QApplication>

namespace valmerin {

inline void ApplyProgramStyle() {
#ifdef _WIN32
  QApplication::setStyle(QStringLiteral("Fusion"));
#endif
}

}  // namespace valmerin
