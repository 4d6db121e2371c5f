#pragma once
// A clock that runs only while the computer is awake: play time counted with it
// leaves out the hours a laptop spent asleep with an emulator open.
#include <cstdint>

namespace valmerin {

// Milliseconds from an arbitrary start; never goes back, stops during suspend.
std::uint64_t AwakeMilliseconds();

}  // namespace valmerin
