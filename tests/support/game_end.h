#pragma once
// Waiting for a started stand-in to end, as the window's watch would.
#include <chrono>
#include <thread>

#include "launch/game_copies.h"

namespace valmerin::testing {

// Once the stand-in has ended, its game's files go back as the window's watch
// would have it. False when it did not end within five seconds.
inline bool WaitUntilGameEnded(GameCopies& copies, Emulator emulator) {
  for (int wait = 0; wait < 250; ++wait) {
    copies.FinishEnded();
    if (!copies.CopyOf(emulator)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace valmerin::testing
