// What Windows does differently from Linux at the window layer: paths with any
// letter between Qt and the core, the session ending, the data folder of an
// installed copy, the hidden lock file.
#include <QDir>
#include <QFile>
#include <QWidget>
#include <fstream>

#include "ui/data_folder.h"
#include "ui/qt_paths.h"
#include "ui/session_end.h"
#include "ui/single_instance.h"
#include "ui_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using WindowsCounterpartsTest = UiTest;

// A name chosen in a Qt dialog reaches the file system as it was chosen, and a
// path from the core reaches Qt whole: no ANSI code page in between.
TEST_F(WindowsCounterpartsTest, PathsCrossBetweenQtAndTheCoreWhole) {
  const QString names[] = {
      QStringLiteral("Liste.txt"),
      QStringLiteral("Liste \u00e8 gi\u00e0.txt"),
      QStringLiteral("Prezzi \u20ac.txt"),
      QStringLiteral("\u0141\u00f3d\u017a \u65e5\u672c.txt"),  // outside every ANSI code page
      QStringLiteral("cartella \u00e0/dentro \u00f1.txt"),
  };
  for (const QString& name : names) {
    const fs::path path = PathFromQString(name);
    EXPECT_EQ(QStringFromPath(path), name) << name.toStdString();
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    EXPECT_TRUE(QFile::exists(name)) << name.toStdString();
    EXPECT_TRUE(QDir::current().entryList().contains(name.section(QLatin1Char('/'), 0, 0)))
        << name.toStdString();
  }
}

// An installed Valmerin never writes into its install folder: started there, it
// works in the user's data folder, made when missing; anywhere else it stays.
TEST_F(WindowsCounterpartsTest, AnInstalledCopyStartedInItsFolderWorksInTheUsersFolder) {
  const QString root = QDir::currentPath();
  QDir().mkpath(QStringLiteral("Programmi/Valmerin"));
  QDir().mkpath(QStringLiteral("Portatile"));
  QDir().mkpath(QStringLiteral("Miei giochi"));
  QFile marker(QStringLiteral("Programmi/Valmerin/") + QString::fromLatin1(kInstalledMarker));
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.close();
  QFile blocker(QStringLiteral("d\u00e0ti occupati"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString installed = root + QStringLiteral("/Programmi/Valmerin");
  const QString userData = root + QStringLiteral("/Dati utente/Valmerin \u00e8");
  struct Case {
    const char* name;
    QString current;
    QString program;
    QString userData;
    QString folder;
    bool error;
  };
  const Case cases[] = {
      {"installed, started in its folder", installed, installed, userData, userData, false},
      {"installed, started elsewhere", root + QStringLiteral("/Miei giochi"), installed, userData,
       {}, false},
      {"portable: no marker", root + QStringLiteral("/Portatile"),
       root + QStringLiteral("/Portatile"), userData, {}, false},
      {"the user's folder cannot be made", installed, installed,
       root + QStringLiteral("/d\u00e0ti occupati/Valmerin"), {}, true},
#ifdef _WIN32
      {"letter case does not tell Windows folders apart",
       root + QStringLiteral("/PROGRAMMI/valmerin"), installed, userData, userData, false},
#endif
  };
  for (const Case& c : cases) {
    const DataFolderChoice choice = ChooseDataFolder(c.current, c.program, c.userData);
    EXPECT_EQ(choice.folder, c.folder) << c.name;
    EXPECT_EQ(!choice.error.isEmpty(), c.error) << c.name << ": " << choice.error.toStdString();
    if (!c.folder.isEmpty()) {
      EXPECT_TRUE(QDir(c.folder).exists()) << c.name;
    }
  }
  // Nothing was written into the install folder.
  EXPECT_EQ(QDir(installed).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QString::fromLatin1(kInstalledMarker)});
}

#ifdef _WIN32

MSG Message(UINT message, WPARAM wParam) {
  MSG msg = {};
  msg.message = message;
  msg.wParam = wParam;
  return msg;
}

// Logoff and shutdown close the main window the normal way, and only when the
// session really ends.
TEST_F(WindowsCounterpartsTest, TheSessionEndingClosesTheWindow) {
  struct Case {
    const char* name;
    QByteArray type;
    MSG msg;
    bool closes;
  };
  const Case cases[] = {
      {"the session ends", "windows_generic_MSG", Message(WM_ENDSESSION, TRUE), true},
      {"another program refused the ending", "windows_generic_MSG", Message(WM_ENDSESSION, FALSE),
       false},
      {"only asked whether it may end", "windows_generic_MSG", Message(WM_QUERYENDSESSION, 0),
       false},
      {"another message", "windows_generic_MSG", Message(WM_PAINT, 0), false},
      {"another kind of event", "windows_dispatcher_MSG", Message(WM_ENDSESSION, TRUE), false},
  };
  for (const Case& c : cases) {
    QWidget window;
    window.show();
    SessionEndFilter filter(&window);
    qintptr result = 0;
    MSG msg = c.msg;
    EXPECT_FALSE(filter.nativeEventFilter(c.type, &msg, &result)) << c.name;
    EXPECT_EQ(!window.isVisible(), c.closes) << c.name;
  }
}

TEST_F(WindowsCounterpartsTest, TheLockFileIsHidden) {
  SingleInstance guard;
  ASSERT_TRUE(guard.Claim());
  const DWORD attributes = GetFileAttributesW(L".valmerin.lock");
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

#endif

}  // namespace
}  // namespace valmerin::testing
