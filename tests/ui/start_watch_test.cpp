#ifndef _WIN32
#include <QApplication>
#include <QTabWidget>
#include <chrono>
#include <thread>

#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

using StartWatchTest = UiTest;

// An emulator that fails at once is reported with what it printed; one that
// keeps running, or ends well, is not; the window never waits for either.
TEST_F(StartWatchTest, AQuickFailureIsReportedWithItsLastLines) {
  const struct {
    const char* body;
    const char* expected;  // nullptr: no message
  } cases[] = {
      {"echo 'err:module:import_dll Library MSVCRT.DLL not found' >&2; exit 3",
       "MSVCRT.DLL not found"},
      {"exit 0", nullptr},
      {"sleep 30", nullptr},
  };
  for (const auto& c : cases) {
    const auto folders = WriteCatalogue("1,0,0,0");
    WriteBytes(folders[0] + "ZSnes.exe", std::string("#!/bin/sh\n") + c.body + "\n");
    std::filesystem::permissions(folders[0] + "ZSnes.exe", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    Open();
    Child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    dialogs.messages.clear();
    const auto start = std::chrono::steady_clock::now();
    form->Brisk1_Click(2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.body;
    while (dialogs.messages.empty() &&
           std::chrono::steady_clock::now() - start < std::chrono::milliseconds(1500)) {
      QApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (c.expected == nullptr) {
      EXPECT_TRUE(dialogs.messages.empty()) << c.body;
    } else {
      ASSERT_EQ(dialogs.messages.size(), 1u) << c.body;
      EXPECT_TRUE(dialogs.messages[0].contains("codice di uscita 3"))
          << dialogs.messages[0].toStdString();
      EXPECT_TRUE(dialogs.messages[0].contains(c.expected)) << dialogs.messages[0].toStdString();
    }
    form.reset();
  }
}

}  // namespace
}  // namespace valmerin::testing
#endif
