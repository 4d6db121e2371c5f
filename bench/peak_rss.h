#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace valmerin::bench {

// Starts `command` in `folder`, waits until its resident size has stopped growing
// for `settleSeconds` (the window is up and idle), ends it with SIGTERM and gives
// its peak resident size in KiB. nullopt when it could not be started or died
// before it settled.
std::optional<long> PeakRssOfSettledRun(const std::filesystem::path& folder,
                                        const std::vector<std::string>& command,
                                        double settleSeconds, double giveUpSeconds);

}  // namespace valmerin::bench
