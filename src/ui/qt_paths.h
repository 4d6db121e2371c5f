#pragma once
// Paths between Qt and the core. A narrow std::string is the ANSI code page to
// std::filesystem on Windows, which cannot hold every name a user may choose
// ("Liste è €.txt"): paths cross as UTF-8 through the core's own conversion.
#include <QString>
#include <filesystem>

#include "platform/utf8.h"

namespace valmerin {

inline std::filesystem::path PathFromQString(const QString& text) {
  return PathFromUtf8(text.toUtf8().toStdString());
}

inline QString QStringFromPath(const std::filesystem::path& path) {
  return QString::fromStdString(Utf8FromPath(path));
}

}  // namespace valmerin
