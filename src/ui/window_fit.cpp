#include "ui/window_fit.h"

#include <QLayout>
#include <QTabBar>
#include <QTabWidget>

#include "ui/artwork.h"
#include "ui/button_bar.h"
#include "ui/font_fit.h"

namespace valmerin {
namespace {

constexpr int kButtons = 5;

}  // namespace

bool CaptionsFit(QTabWidget* tabs, ButtonBar* bar, int width) {
  // The tab bar is given at most the tab widget's width; more than that scrolls.
  if (tabs->tabBar()->sizeHint().width() > width) return false;
  const int spacing = bar->layout() ? bar->layout()->spacing() : 0;
  const int buttonWidth = (width - (kButtons - 1) * spacing) / kButtons;
  for (int number = 1; number <= kButtons; ++number) {
    BarButton* button = bar->Button(number);
    if (!button->LabelFits(QSize(buttonWidth, button->sizeHint().height()))) return false;
  }
  return true;
}

QFont FitCaptions(QTabWidget* tabs, ButtonBar* bar, int width) {
  const auto apply = [tabs, bar](const QFont& font) {
    tabs->tabBar()->setFont(font);
    for (int number = 1; number <= kButtons; ++number) bar->Button(number)->setFont(font);
  };
  const auto fits = [tabs, bar, width] { return CaptionsFit(tabs, bar, width); };
  return FitFont(CatalogueFont(), apply, fits);
}

}  // namespace valmerin
