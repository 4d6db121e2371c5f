// The guard of one Valmerin per folder cannot be blocked, hung or switched off by
// what stands at the lock's name or by a full disk, and its socket is out of
// other accounts' reach and cheap to connect to.
#include <QElapsedTimer>
#include <QLocalSocket>

#include "platform/private_folder.h"
#include "ui/single_instance.h"
#include "ui_test_support.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace valmerin::testing {
namespace {
namespace fs = std::filesystem;

using SingleInstanceGuardTest = UiTest;

#ifndef _WIN32
TEST_F(SingleInstanceGuardTest, WhatStandsAtTheLockNameNeverBlocksOrHangsTheStart) {
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
TEST_F(SingleInstanceGuardTest, AFullDiskAtStartKeepsTheGuard) {
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

int OpenDescriptors() {
  return static_cast<int>(
      std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// The socket lives in a folder only this user may enter, and a flood of held
// connections costs the running window a few descriptors at most; a later start
// still brings it forward.
TEST_F(SingleInstanceGuardTest, TheSocketIsPrivateAndConnectionsAreBounded) {
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
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 500) QApplication::processEvents();
  // The flood's own 40 sockets are on this side of the test too.
  EXPECT_LE(OpenDescriptors() - descriptors - 40, 2 * 4 + 2);
  waited.restart();
  while (waited.elapsed() < 2500) QApplication::processEvents();
  flood.clear();
  EXPECT_TRUE(asker.AskOtherToComeForward());
  waited.restart();
  while (shown == 0 && waited.elapsed() < 5000) QApplication::processEvents();
  EXPECT_EQ(shown, 1);
}
#endif

}  // namespace
}  // namespace valmerin::testing
