// A window's font made to fit: smaller first, then narrower, never below the
// smallest readable size.
#include "ui/font_fit.h"

#include <gtest/gtest.h>

namespace valmerin {
namespace {

TEST(FontFitTest, SmallerFirstThenNarrowerWhereNoSizeFits) {
  const struct {
    const char* what;
    std::function<bool(const QFont&)> fits;
    double points;
    bool narrowed;
  } cases[] = {
      {"fits as it is", [](const QFont&) { return true; }, 8.25, false},
      {"fits smaller", [](const QFont& f) { return f.pointSizeF() <= 7.5; }, 7.5, false},
      {"only a narrower face fits",
       [](const QFont& f) { return f.stretch() == QFont::Condensed; }, 8.25, true},
      {"narrower and smaller",
       [](const QFont& f) { return f.stretch() == QFont::Condensed && f.pointSizeF() <= 7; }, 7, true},
      {"nothing fits: the smallest, narrower", [](const QFont&) { return false; }, 6.5, true},
  };
  for (const auto& row : cases) {
    QFont font;
    font.setPointSizeF(8.25);
    QFont applied;
    const QFont left =
        FitFont(font, [&](const QFont& f) { applied = f; }, [&] { return row.fits(applied); });
    EXPECT_EQ(left.pointSizeF(), row.points) << row.what;
    EXPECT_EQ(left.stretch() == QFont::Condensed, row.narrowed) << row.what;
    // What is left applied is what the window shows.
    EXPECT_EQ(applied, left) << row.what;
  }
}

}  // namespace
}  // namespace valmerin
