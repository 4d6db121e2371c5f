// The real main window over damaged files: it comes up with its five tabs in good
// time, and closing it writes the four settings files whole.
#include <QElapsedTimer>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "options/settings_records.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

namespace fs = std::filesystem;

const std::pair<const char*, Emulator> kSettingsFiles[] = {
    {"zsnes.config.valmerin", Emulator::ZSnes},
    {"kgen.config.valmerin", Emulator::KGen},
    {"nesticle.config.valmerin", Emulator::NESticle},
    {"pcengine.config.valmerin", Emulator::MagicEngine},
};

class DamagedFilesWindow : public UiTest {
 protected:
  // Back to an empty folder and a fresh state, for the next input.
  void Reset() {
    form.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
    state = {};
    options = {};
    dialogs.messages.clear();
  }

  // Shows the window and waits until it is on screen; false when that takes too long.
  bool ShowAndWaitExposed() {
    QElapsedTimer clock;
    clock.start();
    form = std::make_unique<Form1>(state, options, dialogs);
    form->show();
    // Generous: the build machines are shared and often loaded.
    while (clock.elapsed() < 60000) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
      if (form->windowHandle() && form->windowHandle()->isExposed()) return true;
    }
    return false;
  }
};

TEST_F(DamagedFilesWindow, ShowsAndClosesCleanlyWhateverTheFilesHold) {
  std::string tenThousandFields;
  for (int i = 0; i < 10000; ++i) tenThousandFields += "1,";
  tenThousandFields += "\r\n";

  const std::pair<const char*, std::function<void()>> cases[] = {
      {"folder file of binary garbage, NUL bytes and lone carriage returns",
       [&] {
         static constexpr char kGarbage[] = "\"C:\\Z\0\0\\\"\r\r\x01\xff\0\r\"a\rb";
         WriteBytes("Cartelle.cfg",
                    std::string(kGarbage, sizeof kGarbage - 1) + std::string(300, '\0') + "\r,\r");
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
      {"descriptions with bytes the code page leaves undefined",
       [&] {
         // All four on: only settings read at start are written at exit.
         const auto folders = WriteCatalogue("1,1,1,1");
         WriteBytes(folders[0] + "Mario.smc", "");
         WriteBytes("Descrizioni.emu",
                    "Mario.smc\r\n\x81\x8D\x8F\x90\x9D\r\n\x81\x8D\r\n\x8F,\x90\x9D\r\n");
       }},
      {"settings file of ten thousand fields",
       [&] {
         const auto folders = WriteCatalogue("1,1,1,1");
         WriteBytes(folders[0] + "Mario.smc", "");
         for (const auto& [file, emulator] : kSettingsFiles) WriteBytes(file, tenThousandFields);
       }},
      {"folder file of one unterminated quote",
       [&] {
         WriteBytes("Cartelle.cfg", "\"");
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
      {"every emulator available in folders that do not exist",
       [&] {
         std::string folders;
         for (const char* name : {"ZSnes", "NESticle", "KGen", "PCE"}) {
           folders += "\"" + (Root() / "gone" / name).string() + "/\"\r\n";
         }
         WriteBytes("Cartelle.cfg", folders);
         WriteBytes("Disponibili.emu", "1,1,1,1\r\n");
       }},
  };

  for (const auto& [label, writeFiles] : cases) {
    SCOPED_TRACE(label);
    Reset();
    writeFiles();
    ASSERT_TRUE(ShowAndWaitExposed());
    EXPECT_TRUE(form->isVisible());
    auto* tabs = Child<QTabWidget>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 5);

    EXPECT_TRUE(form->close());
    // One whole record per file, one line each.
    for (const auto& [file, emulator] : kSettingsFiles) {
      const std::string written = ReadBytes(file);
      ASSERT_GE(written.size(), 2u) << file;
      EXPECT_EQ(written.find("\r\n"), written.size() - 2) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), '\r'), 1) << file;
      EXPECT_EQ(std::count(written.begin(), written.end(), ','),
                static_cast<long>(SettingsRecordOf(emulator).size() - 1))
          << file;
    }
  }
}

}  // namespace
}  // namespace valmerin::testing
