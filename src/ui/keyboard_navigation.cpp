#include "ui/keyboard_navigation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <array>

#include "ui/button_bar.h"

namespace valmerin {
namespace {

struct TabKey {
  int key;
  Qt::KeyboardModifiers modifiers;
  int step;
};

// Ctrl+Tab as in every tabbed window, Ctrl+PgDown/PgUp as in browsers. Shift+Tab
// arrives as Backtab on most platforms and as Tab with Shift on some.
const std::array<TabKey, 5> kTabKeys = {{
    {Qt::Key_Tab, Qt::ControlModifier, +1},
    {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1},
    {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, -1},
    {Qt::Key_PageDown, Qt::ControlModifier, +1},
    {Qt::Key_PageUp, Qt::ControlModifier, -1},
}};

// +1 for the next tab, -1 for the previous one, 0 for a key that switches none.
int TabStep(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers =
      key.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
  for (const TabKey& entry : kTabKeys) {
    if (entry.key == key.key() && entry.modifiers == modifiers) return entry.step;
  }
  return 0;
}

}  // namespace

KeyboardNavigation::KeyboardNavigation(QTabWidget* tabs, std::vector<QWidget*> lists,
                                       QWidget* gameFile, ButtonBar* bar)
    : QObject(tabs), tabs_(tabs), tabBar_(tabs->tabBar()), lists_(std::move(lists)) {
  std::vector<QWidget*> chain = {tabs_->tabBar()};
  chain.insert(chain.end(), lists_.begin(), lists_.end());
  chain.push_back(gameFile);
  for (int number = 1; bar->Button(number); ++number) chain.push_back(bar->Button(number));
  // Hidden lists drop out of the Tab walk, so this reads as "the current list".
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) QWidget::setTabOrder(chain[i], chain[i + 1]);
  for (QWidget* widget : chain) widget->installEventFilter(this);
  // The style's own focus marks are faint on black, and only drawn once Tab has
  // been pressed; a keyboard user needs to see at a glance where the keys go.
  // Unfocused, a list keeps the dark edge the style gives it on black.
  for (QWidget* list : lists_) {
    list->setStyleSheet(QStringLiteral("QListView { border: 1px solid rgb(19, 19, 19); }"
                                       "QListView:focus { border: 1px solid rgb(0, 255, 0); }"));
  }
  // Keys that a page does not take (the information tab, a field over a list)
  // rise to the tab control.
  tabs_->installEventFilter(this);
  // A click on a tab hands the focus of a list to the new page, even to the
  // information page, which shows no focus and takes no key: the tab bar does.
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    QWidget* page = tabs_->currentWidget();
    if (page && QApplication::focusWidget() == page && page->focusPolicy() == Qt::NoFocus) {
      tabs_->tabBar()->setFocus(Qt::OtherFocusReason);
    }
  });
}

bool KeyboardNavigation::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int step = TabStep(*static_cast<QKeyEvent*>(event));
      if (step == 0) return false;
      SwitchTab(step);
      return true;
    }
    // A style rule cannot mark one tab of the bar without drawing every tab
    // itself, so the current tab's ring is painted over the style's own tabs.
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      if (watched == tabBar_) tabBar_->update();
      return false;
    case QEvent::Paint:
      if (watched != tabBar_ || !tabBar_->hasFocus()) return false;
      watched->event(event);  // the bar's own drawing first, the ring over it
      PaintFocusRing();
      return true;
    default:
      return false;
  }
}

void KeyboardNavigation::PaintFocusRing() const {
  QPainter painter(tabBar_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 255, 0), 2));
  const QRect tab = tabBar_->tabRect(tabs_->currentIndex());
  painter.drawRoundedRect(QRectF(tab).adjusted(4, 4, -4, -3), 3, 3);
}

void KeyboardNavigation::SwitchTab(int step) {
  const int count = tabs_->count();
  int next = tabs_->currentIndex();
  for (int tried = 0; tried < count; ++tried) {
    next = (next + step + count) % count;
    if (tabs_->isTabEnabled(next)) break;
  }
  if (next == tabs_->currentIndex() || !tabs_->isTabEnabled(next)) return;

  // Focus on the page that goes away follows to the new page: its list, or the
  // tab bar where the page has none. Focus elsewhere stays where it is.
  QWidget* focus = QApplication::focusWidget();
  QWidget* page = tabs_->currentWidget();
  const bool focusOnPage = focus && page && page->isAncestorOf(focus);
  tabs_->setCurrentIndex(next);
  if (!focusOnPage) return;
  const auto index = static_cast<std::size_t>(next);
  QWidget* target = index < lists_.size() ? lists_[index] : tabs_->tabBar();
  target->setFocus(Qt::TabFocusReason);
}

}  // namespace valmerin
