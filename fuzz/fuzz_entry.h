#pragma once
// The libFuzzer entry of one target: a scratch folder made once and made current,
// and a broken property turned into a crash libFuzzer records.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "targets/fuzz_support.h"

namespace valmerin::fuzz {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("valmerin-fuzz-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace valmerin::fuzz

#define VALMERIN_FUZZ_ENTRY(target)                                              \
  extern "C" int LLVMFuzzerInitialize(int*, char***) {                           \
    static valmerin::fuzz::ScratchFolder scratch;                                \
    return 0;                                                                    \
  }                                                                              \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    try {                                                                        \
      target(data, size);                                                        \
    } catch (const valmerin::fuzz::PropertyBroken& broken) {                     \
      std::fprintf(stderr, "property broken: %s\n", broken.what());              \
      std::abort();                                                              \
    }                                                                            \
    return 0;                                                                    \
  }
