#pragma once
// The one QApplication of a window test program, made on first use and kept for
// the whole run, offscreen unless the caller chose a platform.
#include <QApplication>

#include "ui/program_style.h"

namespace valmerin::testing {

inline void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "valmerin_tests_ui";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  ApplyProgramStyle();
}

}  // namespace valmerin::testing
