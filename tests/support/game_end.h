#pragma once
// Waiting for a started stand-in to end, as the window's watch would.
#include "launch/game_copies.h"
#include "support/started_programs.h"

namespace valmerin::testing {

// Once the stand-in has ended, its game's files go back as the window's watch
// would have it. False when it did not end within five seconds.
inline bool WaitUntilGameEnded(GameCopies& copies, Emulator emulator) {
  return WaitUntil([&] {
    copies.FinishEnded();
    return !copies.CopyOf(emulator);
  });
}

}  // namespace valmerin::testing
