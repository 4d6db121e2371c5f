// One Valmerin per data folder: the second start in the same folder brings the
// first forward and ends touching no file; another folder is free, and so is the
// folder of a run that was killed. The guard cannot be blocked, hung or switched
// off by what stands at the lock's name or by a full disk, and its socket is out of
// other accounts' reach and cheap to connect to. An end signal at any moment of the
// start-up, a start-up message up included, ends the program the normal way: the
// lock goes and the settings are saved.
#include "ui/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QWidget>
#include <fstream>

#include "platform/private_folder.h"
#include "ui/data_folder.h"
#include "ui/qt_paths.h"
#include "ui/session_end.h"
#include "ui_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "reliability/handed_folder.h"
#endif

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using SingleInstanceTest = UiTest;

// Beside the tests; on Windows the name without ".exe" is the program folder "Valmerin".
QString ProgramPath() {
#ifdef _WIN32
  return QCoreApplication::applicationDirPath() + QStringLiteral("/valmerin.exe");
#else
  return QCoreApplication::applicationDirPath() + QStringLiteral("/valmerin");
#endif
}

// The program itself, started in the current folder with no screen.
struct Program : QProcess {
  Program() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    setProcessEnvironment(environment);
    setWorkingDirectory(QDir::currentPath());
    start(ProgramPath(), {});
  }
  ~Program() override {
    kill();
    waitForFinished(5000);
  }
  // Runs this process's events until the program ends; false when it runs on.
  bool Ended(int milliseconds) {
    return ProcessEventsUntil([this] { return state() == QProcess::NotRunning; }, milliseconds);
  }
};

TEST_F(SingleInstanceTest, ASecondStartEndsAtOnceTouchingNothingAndBringsTheFirstForward) {
  ASSERT_TRUE(fs::is_regular_file(ProgramPath().toStdString()));
  WriteCatalogue("1,1,1,1");
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  int shown = 0;
  first.OnComeForward([&shown] { ++shown; });
  const std::vector<std::string> files = NamesIn(".");

  Program second;
  ASSERT_TRUE(second.Ended(20000)) << "the second start ran on";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(NamesIn("."), files);  // no settings file, no copy, no journal

  fs::create_directory("altra");
  fs::current_path("altra");
  SingleInstance elsewhere;
  EXPECT_TRUE(elsewhere.Claim());
  fs::current_path("..");
}

// A run that was killed leaves its lock and its socket behind: the next start
// takes the folder over, and a start after that still finds it.
TEST_F(SingleInstanceTest, AKilledRunsFolderIsTakenOver) {
  {
    Program killed;
    // Killed only once its lock is written and its socket answers.
    ASSERT_TRUE(ProcessEventsUntil(
        [] {
          std::error_code unknown;
          if (fs::file_size(".valmerin.lock", unknown) == 0 || unknown) return false;
          SingleInstance probe;
          return !probe.Claim() && probe.AskOtherToComeForward();
        },
        20000));
  }
  ASSERT_TRUE(fs::exists(".valmerin.lock")) << "a killed run cannot remove its lock";
  SingleInstance next;
  ASSERT_TRUE(next.Claim());
  int shown = 0;
  next.OnComeForward([&shown] { ++shown; });
  SingleInstance later;
  EXPECT_FALSE(later.Claim());
  EXPECT_TRUE(later.AskOtherToComeForward());
  ProcessEventsUntil([&] { return shown != 0; });
  EXPECT_EQ(shown, 1);
}

// A lock another computer took (a shared or removable folder) is never stale from
// here: the message names that computer and the file that frees the folder.
TEST_F(SingleInstanceTest, ALockFromAnotherComputerSaysHowToFreeTheFolder) {
  WriteBytes(".valmerin.lock",
             std::to_string(QCoreApplication::applicationPid()) + "\nvalmerin\naltro-computer\n");
  SingleInstance second;
  EXPECT_FALSE(second.Claim());
  const QString message = second.AlreadyOpenMessage();
  EXPECT_TRUE(message.contains(QStringLiteral("\"altro-computer\""))) << message.toStdString();
  EXPECT_TRUE(message.contains(QStringLiteral("\".valmerin.lock\""))) << message.toStdString();
}

#ifndef _WIN32
TEST_F(SingleInstanceTest, WhatStandsAtTheLockNameNeverBlocksOrHangsTheStart) {
  struct Case {
    const char* what;
    std::function<void()> make;
    bool claims;              // this start goes on
    const char* messageSays;  // else the message says what stands there
  };
  const Case cases[] = {
      {"empty lock (power cut)", [] { WriteBytes(".valmerin.lock", ""); }, true, nullptr},
      {"garbage lock", [] { WriteBytes(".valmerin.lock", "\x01\x02zz\n\n\n\n"); }, true, nullptr},
      {"lock of a process gone", [] { WriteBytes(".valmerin.lock", "999999999\nvalmerin\n\n"); },
       true, nullptr},
      {"folder", [] { fs::create_directory(".valmerin.lock"); }, false, "una cartella"},
      {"FIFO", [] { ASSERT_EQ(mkfifo(".valmerin.lock", 0600), 0); }, false, "un file speciale"},
      {"link", [] { fs::create_symlink("/etc/passwd", ".valmerin.lock"); }, false,
       "un collegamento"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(".valmerin.lock");
    c.make();
    SingleInstance start;
    EXPECT_EQ(start.Claim(), c.claims);
    if (c.messageSays != nullptr) {
      const QString message = start.AlreadyOpenMessage();
      EXPECT_TRUE(message.contains(QStringLiteral("\".valmerin.lock\""))) << message.toStdString();
      EXPECT_TRUE(message.contains(QString::fromUtf8(c.messageSays))) << message.toStdString();
    } else {
      // And the folder is really ours: a second start is turned away.
      SingleInstance second;
      EXPECT_FALSE(second.Claim());
    }
  }
}

// A disk with no room for the lock file does not let a second window open.
TEST_F(SingleInstanceTest, AFullDiskAtStartKeepsTheGuard) {
  struct rlimit before {};
  getrlimit(RLIMIT_FSIZE, &before);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit none = before;
  none.rlim_cur = 0;
  setrlimit(RLIMIT_FSIZE, &none);
  SingleInstance first;
  const bool firstClaims = first.Claim();
  SingleInstance second;
  const bool secondClaims = second.Claim();
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(firstClaims);
  EXPECT_FALSE(secondClaims);
}

int OpenDescriptors() { return static_cast<int>(NamesIn("/proc/self/fd").size()); }

// The socket lives in a folder only this user may enter, and a flood of held
// connections costs the running window a few descriptors at most; a later start
// still brings it forward.
TEST_F(SingleInstanceTest, TheSocketIsPrivateAndConnectionsAreBounded) {
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  int shown = 0;
  first.OnComeForward([&shown] { ++shown; });
  const std::optional<fs::path> folder = PrivateRuntimeFolder();
  ASSERT_TRUE(folder.has_value());
  struct stat info {};
  ASSERT_EQ(lstat(folder->c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);
  EXPECT_EQ(info.st_uid, geteuid());
  bool socketThere = false;
  for (const auto& entry : fs::directory_iterator(*folder)) {
    socketThere = socketThere || entry.path().filename().string().starts_with("valmerin-");
  }
  EXPECT_TRUE(socketThere);

  const int descriptors = OpenDescriptors();
  std::vector<std::unique_ptr<QLocalSocket>> flood;
  SingleInstance asker;
  EXPECT_FALSE(asker.Claim());
  for (int i = 0; i < 40; ++i) {
    // Connections of our own, held open without a word: what another account
    // in a shared group could do to the socket.
    fs::path socketPath;
    for (const auto& entry : fs::directory_iterator(*folder)) {
      if (entry.is_socket()) socketPath = entry.path();
    }
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(QString::fromStdString(socketPath.string()));
    socket->waitForConnected(200);
    flood.push_back(std::move(socket));
  }
  ProcessEventsUntil([] { return false; }, 500);
  // The flood's own 40 sockets are on this side of the test too.
  EXPECT_LE(OpenDescriptors() - descriptors - 40, 2 * 4 + 2);
  ProcessEventsUntil([] { return false; }, 2500);
  flood.clear();
  EXPECT_TRUE(asker.AskOtherToComeForward());
  ProcessEventsUntil([&] { return shown != 0; });
  EXPECT_EQ(shown, 1);
}

TEST_F(SingleInstanceTest, AnEndSignalDuringAStartUpMessageEndsTheProgramNormally) {
  if (!fs::exists(ProgramPath().toStdString()))
    GTEST_SKIP() << "the program is not built beside the tests";
  struct Case {
    const char* what;
    std::function<void()> prepare;
    bool settingsSaved;
  };
  const Case cases[] = {
      // An empty ZSnes folder: a message, then the options window, before the
      // main window is shown.
      {"empty ZSnes folder", [this] { WriteCatalogue("1,0,0,0"); }, true},
      // Valmerin is already open here (the lock of another computer): its message.
      {"already open", [] { WriteBytes(".valmerin.lock", "1\nvalmerin\naltro-computer\n"); },
       false},
  };
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " " + std::to_string(signal));
      for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
      c.prepare();
      Program program;
      ASSERT_TRUE(program.waitForStarted());
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      ::kill(static_cast<pid_t>(program.processId()), signal);
      ASSERT_TRUE(program.waitForFinished(5000)) << "it did not end";
      EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
      if (c.settingsSaved) {
        EXPECT_FALSE(fs::exists(".valmerin.lock"));
        EXPECT_TRUE(fs::exists("zsnes.config.valmerin"));
      } else {
        EXPECT_EQ(ReadBytes(".valmerin.lock"), "1\nvalmerin\naltro-computer\n");
      }
    }
  }
}

// What a handed folder or another account puts where the single-instance guard
// looks: a link or a special file at the lock's name, the user's fallback socket
// folder taken first. The guard still holds, nothing outside the data folder
// changes, and nothing of the user's lands in the other account's folder.
class HandedFolderAttackLock : public HandedFolderTest {
 protected:
  void SetUp() override {
    testing::EnsureApplication();
    HandedFolderTest::SetUp();
  }
};

TEST_F(HandedFolderAttackLock, ALinkOrSpecialFileAtTheLockNameIsNamedAndLeftAlone) {
  for (const char* target : {"../../.bashrc", "../../Documenti", "/dev/zero"}) {
    SCOPED_TRACE(target);
    fs::remove(".valmerin.lock");
    fs::create_symlink(target, ".valmerin.lock");
    SingleInstance start;
    EXPECT_FALSE(start.Claim());
    EXPECT_TRUE(start.AlreadyOpenMessage().contains(QStringLiteral(".valmerin.lock")));
    EXPECT_TRUE(fs::is_symlink(".valmerin.lock"));
    ExpectHomeUntouched();
  }
}

// An environment variable put back as it was when the test ends.
struct EnvironmentKept {
  explicit EnvironmentKept(const char* name)
      : name(name), was(qEnvironmentVariableIsSet(name)), value(qgetenv(name)) {}
  ~EnvironmentKept() { was ? qputenv(name, value) : qunsetenv(name); }
  const char* name;
  bool was;
  QByteArray value;
};

// Without a private runtime folder the socket goes into a folder of the user's in
// the shared temporary folder; when another account got that name first, the
// guard works without a socket and tells that account nothing.
TEST_F(HandedFolderAttackLock, ASocketFolderTakenByAnotherAccountIsNeverUsed) {
  EnvironmentKept runtime("XDG_RUNTIME_DIR");
  EnvironmentKept temporary("TMPDIR");
  unsetenv("XDG_RUNTIME_DIR");
  fs::path taken;
  if (const char* attacker = std::getenv("VALMERIN_ATTACKER_FOLDER")) {
    // make test-attack: the other account really made it, open to all.
    taken = attacker;
    setenv("TMPDIR", taken.parent_path().c_str(), 1);
  } else {
    fs::create_directories(Root() / "tmp");
    setenv("TMPDIR", (Root() / "tmp").c_str(), 1);
    taken = Root() / "tmp" / ("valmerin-" + std::to_string(geteuid()));
    fs::create_directory(taken);
    fs::permissions(taken, fs::perms::all);
    // As root, hand it to another account as well.
    if (geteuid() == 0) {
      ASSERT_EQ(chown(taken.c_str(), 65534, 65534), 0);
    }
  }
  ASSERT_EQ(taken.filename().string(), "valmerin-" + std::to_string(geteuid()));
  EXPECT_FALSE(PrivateRuntimeFolder().has_value());
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  SingleInstance second;
  EXPECT_FALSE(second.Claim());
  EXPECT_FALSE(second.AskOtherToComeForward());
  EXPECT_TRUE(fs::is_empty(taken));
  ExpectHomeUntouched();
}

#endif

// What Windows does differently from Linux at the window layer: paths with any
// letter between Qt and the core, the session ending, the data folder of an
// installed copy, the hidden lock file.
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
       QString(), false},
      {"portable: no marker", root + QStringLiteral("/Portatile"),
       root + QStringLiteral("/Portatile"), userData, QString(), false},
      {"the user's folder cannot be made", installed, installed,
       root + QStringLiteral("/d\u00e0ti occupati/Valmerin"), QString(), true},
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
