#pragma once
#include <filesystem>

namespace valmerin::bench {

// Registers every benchmark over the data written by WriteAllData(root). Names are
// "<measure>/<files>/<records>" or "<measure>/<records>"; the table looks them up.
void RegisterBenchmarks(const std::filesystem::path& root);

}  // namespace valmerin::bench
