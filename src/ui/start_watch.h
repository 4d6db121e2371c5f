#pragma once
// After a start: tells the user what they should know at once (a Wine prefix
// being made) and, for a few seconds, watches the emulator from the window's
// timer, so one that fails right away is reported with what it printed.
#include <functional>
#include <memory>
#include <string>

#include "platform/child_watch.h"

class QWidget;

namespace valmerin {

class DialogService;

// `ended`, when given, runs once the emulator has ended, however long it ran.
void WatchStart(QWidget* window, DialogService& dialogs, const std::string& commandLine,
                const std::string& notice, std::shared_ptr<ChildWatch> watch,
                std::function<void()> ended = {});

}  // namespace valmerin
