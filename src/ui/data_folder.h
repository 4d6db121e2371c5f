#pragma once
// Where Valmerin keeps its files: the current folder, as always. An installed
// Valmerin (its installer leaves kInstalledMarker beside valmerin.exe) never
// writes into its install folder: started there (from the Start menu, or by a
// double click on the program), it works in a data folder of the user's own.
#include <QString>
#include <optional>

namespace valmerin {

inline constexpr char kInstalledMarker[] = "valmerin-installato.txt";

struct DataFolderChoice {
  QString folder;  // where to work, when it is not the current folder
  QString error;   // why no data folder could be had (Italian)
};

// `current` and `program` are absolute folders; `userData` is the per-user data
// folder to use (made when missing). Empty results: stay where we are.
DataFolderChoice ChooseDataFolder(const QString& current, const QString& programFolder,
                                  const QString& userData);

// The per-user data folder: %APPDATA%\Valmerin on Windows.
QString UserDataFolder();

// Applies the choice for this run (changes the current folder). The error text
// when the program must not go on.
std::optional<QString> EnterDataFolder();

}  // namespace valmerin
