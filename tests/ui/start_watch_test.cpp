#ifndef _WIN32
#include <QApplication>
#include <QTabWidget>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

using StartWatchTest = UiTest;

// An emulator that fails within the watch is reported with what it printed, even
// when it fails after a few polls; one that ends well, or is still running when
// the watch ends, is not; the window never waits for either.
TEST_F(StartWatchTest, AFailureWithinTheWatchIsReportedWithItsLastLines) {
  const struct {
    const char* body;
    const char* expected;  // nullptr: no message
    int exitCode;
    std::chrono::milliseconds watched;
  } cases[] = {
      {"echo 'err:module:import_dll Library MSVCRT.DLL not found' >&2; exit 3",
       "MSVCRT.DLL not found", 3, std::chrono::milliseconds(1500)},
      {"exit 0", nullptr, 0, std::chrono::milliseconds(1500)},
      {"sleep 2; echo 'fallito dopo due secondi' >&2; exit 4", "fallito dopo due secondi", 4,
       std::chrono::milliseconds(4500)},
      // Longer than the watch: still running then is running.
      {"echo $$ > running.pid; exec sleep 30", nullptr, 0, std::chrono::milliseconds(6500)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    const auto folders = WriteCatalogue("1,0,0,0");
    WriteBytes(folders[0] + "ZSnes.exe", std::string("#!/bin/sh\n") + c.body + "\n");
    std::filesystem::permissions(folders[0] + "ZSnes.exe", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    Open();
    Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    dialogs.messages.clear();
    const auto start = std::chrono::steady_clock::now();
    form->Brisk1_Click(2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    while (dialogs.messages.empty() && std::chrono::steady_clock::now() - start < c.watched) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (c.expected == nullptr) {
      EXPECT_TRUE(dialogs.messages.empty());
    } else {
      ASSERT_EQ(dialogs.messages.size(), 1u);
      EXPECT_TRUE(dialogs.messages[0].contains("codice di uscita " + QString::number(c.exitCode)))
          << dialogs.messages[0].toStdString();
      EXPECT_TRUE(dialogs.messages[0].contains(c.expected)) << dialogs.messages[0].toStdString();
    }
    form.reset();
    if (const std::string pid = ReadBytes(folders[0] + "running.pid"); !pid.empty()) {
      ::kill(std::stoi(pid), SIGKILL);
    }
  }
}

}  // namespace
}  // namespace valmerin::testing
#endif
