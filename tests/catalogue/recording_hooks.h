#pragma once
#include <string>
#include <vector>

#include "catalogue/window_hooks.h"

namespace valmerin::testing {

// Writes down every window call in order, as one readable line each.
class RecordingHooks : public WindowHooks {
 public:
  void ShowMessage(const std::string& text) override { calls.push_back("message: " + text); }
  void ShowOptionsWindow() override { calls.push_back("options window"); }
  void SwitchOffTab(int tabIndex) override {
    calls.push_back("tab off " + std::to_string(tabIndex));
  }
  std::vector<std::string> calls;
};

}  // namespace valmerin::testing
