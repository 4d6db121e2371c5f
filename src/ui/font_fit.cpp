#include "ui/font_fit.h"

namespace valmerin {
namespace {

// Below this the captions stop being readable; a window that needs less stays cut.
constexpr double kSmallestPoints = 6.5;
constexpr double kStep = 0.25;

QFont StepFontDown(QFont font, const std::function<void(const QFont&)>& apply,
                   const std::function<bool()>& fits) {
  for (double points = font.pointSizeF();; points -= kStep) {
    font.setPointSizeF(points);
    apply(font);
    if (fits() || points - kStep < kSmallestPoints) return font;
  }
}

}  // namespace

QFont FitFont(const QFont& font, const std::function<void(const QFont&)>& apply,
              const std::function<bool()>& fits) {
  const QFont stepped = StepFontDown(font, apply, fits);
  if (fits()) return stepped;
  // Where no narrow face is installed, the wide one is drawn narrower before it
  // is made smaller.
  QFont narrowed = font;
  narrowed.setStretch(QFont::Condensed);
  return StepFontDown(narrowed, apply, fits);
}

}  // namespace valmerin
