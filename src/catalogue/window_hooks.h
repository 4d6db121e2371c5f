#pragma once
// What the start-up sequence needs from the windows: the Qt windows implement it,
// tests record it.
#include <string>

namespace valmerin {

class WindowHooks {
 public:
  virtual ~WindowHooks() = default;
  // A modal message box: caption "Valmerin", no icon, one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // Shows the options window, modeless.
  virtual void ShowOptionsWindow() = 0;
  // Switches a tab of the main window off (greyed, keeping its index).
  virtual void SwitchOffTab(int tabIndex) = 0;
};

}  // namespace valmerin
