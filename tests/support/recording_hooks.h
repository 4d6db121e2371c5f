#pragma once
// The window stand-in for the start-up, refresh and exit sequences: it answers
// nothing and writes down every call, both in order (`calls`, one readable line
// each) and by kind (`messages`, `optionsShown`, `tabsOff`), so a test asserts
// whichever it names.
#include <string>
#include <vector>

#include "catalogue/window_hooks.h"

namespace valmerin::testing {

class RecordingHooks : public WindowHooks {
 public:
  void ShowMessage(const std::string& text) override {
    calls.push_back("message: " + text);
    messages.push_back(text);
  }
  void ShowOptionsWindow() override {
    calls.push_back("options window");
    ++optionsShown;
  }
  void SwitchOffTab(int tabIndex) override {
    calls.push_back("tab off " + std::to_string(tabIndex));
    tabsOff.push_back(tabIndex);
  }

  std::vector<std::string> calls;
  std::vector<std::string> messages;
  int optionsShown = 0;
  std::vector<int> tabsOff;
};

}  // namespace valmerin::testing
