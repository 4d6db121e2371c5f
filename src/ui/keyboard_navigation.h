#pragma once
// The main window without a mouse: one focus order (tab bar, the current tab's
// list, the game-file field, the five buttons) and the keys that switch tabs from
// anywhere in the window, skipping the tabs that are switched off; the focused list
// and tab are marked in green.
#include <QObject>
#include <vector>

class QTabBar;
class QTabWidget;
class QWidget;

namespace valmerin {

class ButtonBar;

class KeyboardNavigation : public QObject {
  Q_OBJECT
 public:
  // lists[i] is the page of tab i; the tabs after the last list hold none.
  KeyboardNavigation(QTabWidget* tabs, std::vector<QWidget*> lists, QWidget* gameFile,
                     ButtonBar* bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SwitchTab(int step);
  void PaintFocusRing() const;

  QTabWidget* tabs_;
  // Kept apart: the filter still sees the lists' last events while the tab
  // control is half torn down, when asking it for its bar is no longer safe.
  QTabBar* tabBar_;
  std::vector<QWidget*> lists_;
};

}  // namespace valmerin
