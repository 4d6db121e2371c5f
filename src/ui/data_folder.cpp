#include "ui/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace valmerin {

namespace {

bool SameFolder(const QString& a, const QString& b) {
  const QString left = QFileInfo(a).canonicalFilePath();
  const QString right = QFileInfo(b).canonicalFilePath();
  if (left.isEmpty() || right.isEmpty()) return false;
#ifdef _WIN32
  return left.compare(right, Qt::CaseInsensitive) == 0;
#else
  return left == right;
#endif
}

}  // namespace

DataFolderChoice ChooseDataFolder(const QString& current, const QString& programFolder,
                                  const QString& userData) {
  if (!QFileInfo::exists(QDir(programFolder).filePath(QString::fromLatin1(kInstalledMarker))) ||
      !SameFolder(current, programFolder)) {
    return {};
  }
  if (userData.isEmpty() || !QDir().mkpath(userData)) {
    return {{},
            QStringLiteral("Impossibile creare la cartella dei dati di Valmerin \"%1\": Valmerin "
                           "non scrive nella cartella in cui \u00e8 installato.")
                .arg(QDir::toNativeSeparators(userData))};
  }
  return {userData, {}};
}

QString UserDataFolder() {
  // AppDataLocation adds organisation and program names: only the user's own folder.
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#ifdef _WIN32
  const QString roaming = qEnvironmentVariable("APPDATA");
  if (!roaming.isEmpty()) return QDir(roaming).filePath(QStringLiteral("Valmerin"));
#endif
  return base.isEmpty() ? QString() : QDir(base).filePath(QStringLiteral("valmerin"));
}

std::optional<QString> EnterDataFolder() {
  const DataFolderChoice choice = ChooseDataFolder(
      QDir::currentPath(), QCoreApplication::applicationDirPath(), UserDataFolder());
  if (!choice.error.isEmpty()) return choice.error;
  if (!choice.folder.isEmpty() && !QDir::setCurrent(choice.folder)) {
    return QStringLiteral("Impossibile usare la cartella dei dati di Valmerin \"%1\".")
        .arg(QDir::toNativeSeparators(choice.folder));
  }
  return std::nullopt;
}

}  // namespace valmerin
