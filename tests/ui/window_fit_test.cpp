#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "ui/button_bar.h"
#include "ui/font_fit.h"
#include "ui_test_support.h"

namespace valmerin::testing {
namespace {

using WindowFitTest = UiTest;

// The fonts of a bare Debian: fonts-dejavu-core alone, with no condensed face.
QString BareFontConfig(const std::filesystem::path& root) {
  const std::filesystem::path fonts = root / "fonts";
  std::filesystem::create_directories(fonts);
  for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                           "DejaVuSansMono-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"}) {
    const std::filesystem::path file =
        std::filesystem::path("/usr/share/fonts/truetype/dejavu") / face;
    if (std::filesystem::exists(file)) std::filesystem::create_symlink(file, fonts / face);
  }
  const std::filesystem::path config = root / "fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string()
                        << "</dir><cachedir>" << (root / "font-cache").string()
                        << "</cachedir></fontconfig>\n";
  return QString::fromStdString(config.string());
}

// Qt reads the scale factor and the fonts once, when the application starts: each
// row gets a test program of its own, which runs the check below.
TEST_F(WindowFitTest, MainWindowShowsEveryTabAndLabelWholeAtEveryScaleAndFontSet) {
#ifdef _WIN32
  // No fontconfig on Windows: every scale with the system's own fonts.
  const bool fontConfig = false;
#else
  if (!std::filesystem::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) {
    GTEST_SKIP() << "fonts-dejavu-core is not installed";
  }
  const bool fontConfig = true;
#endif
  const QString bare = fontConfig ? BareFontConfig(Root()) : QString();
  struct Row {
    const char* scale;
    bool bareFonts;
  };
  for (const Row& row :
       {Row{"1", true}, Row{"2", true}, Row{"1.5", true}, Row{"1", false}, Row{"2", false}}) {
    if (row.bareFonts && !fontConfig) continue;
    SCOPED_TRACE(std::string("scale ") + row.scale + (row.bareFonts ? ", DejaVu only" : ""));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(row.scale));
    if (row.bareFonts) environment.insert(QStringLiteral("FONTCONFIG_FILE"), bare);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DISABLED_WindowAtThisScale.*"),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
  }
}

using DISABLED_WindowAtThisScale = UiTest;

TEST_F(DISABLED_WindowAtThisScale, TabsNeedNoScrollButtonsAndLabelsAreNotCut) {
  WriteCatalogue("1,1,1,1");
  Open();
  EXPECT_EQ(form->size(), QSize(354, 297));
  EXPECT_DOUBLE_EQ(form->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
  QTabBar* bar = Child<QTabWidget>("SSTab1")->tabBar();
  for (QToolButton* scroll : bar->findChildren<QToolButton*>()) {
    EXPECT_FALSE(scroll->isVisible()) << "scroll button " << scroll->objectName().toStdString();
  }
  for (int i = 0; i < bar->count(); ++i) {
    EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString();
  }
  const auto* buttons = Child<ButtonBar>("Brisk1");
  for (int number = 1; number <= 5; ++number) {
    const BarButton* button = buttons->Button(number);
    EXPECT_TRUE(button->LabelFits(button->size()))
        << button->text().toStdString() << " in " << button->width() << " px at "
        << QFontInfo(button->font()).family().toStdString() << " " << button->font().pointSizeF();
  }
}

// A window's font made to fit: smaller first, then narrower, never below the
// smallest readable size.
TEST(FontFitTest, SmallerFirstThenNarrowerWhereNoSizeFits) {
  const struct {
    const char* what;
    std::function<bool(const QFont&)> fits;
    double points;
    bool narrowed;
  } cases[] = {
      {"fits as it is", [](const QFont&) { return true; }, 8.25, false},
      {"fits smaller", [](const QFont& f) { return f.pointSizeF() <= 7.5; }, 7.5, false},
      {"only a narrower face fits", [](const QFont& f) { return f.stretch() == QFont::Condensed; },
       8.25, true},
      {"narrower and smaller",
       [](const QFont& f) { return f.stretch() == QFont::Condensed && f.pointSizeF() <= 7; }, 7,
       true},
      {"nothing fits: the smallest, narrower", [](const QFont&) { return false; }, 6.5, true},
  };
  for (const auto& row : cases) {
    QFont font;
    font.setPointSizeF(8.25);
    QFont applied;
    const QFont left = FitFont(
        font, [&](const QFont& f) { applied = f; }, [&] { return row.fits(applied); });
    EXPECT_EQ(left.pointSizeF(), row.points) << row.what;
    EXPECT_EQ(left.stretch() == QFont::Condensed, row.narrowed) << row.what;
    // What is left applied is what the window shows.
    EXPECT_EQ(applied, left) << row.what;
  }
}

}  // namespace
}  // namespace valmerin::testing
