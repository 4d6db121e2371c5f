// Feeds saved inputs to a target without libFuzzer: every file named, and every
// file inside every folder named. Used to replay the corpora and a crash input.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& named) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_directory(named)) {
    for (const auto& entry : std::filesystem::directory_iterator(named)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  } else {
    inputs.push_back(named);
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  // Absolute before the target makes its scratch folder current.
  std::vector<std::filesystem::path> named;
  for (int i = 1; i < argc; ++i) named.push_back(std::filesystem::absolute(argv[i]));
  LLVMFuzzerInitialize(&argc, &argv);
  std::size_t count = 0;
  for (const auto& path : named) {
    for (const auto& input : InputsOf(path)) {
      std::ifstream in(input, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), {});
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  return count > 0 ? 0 : 1;
}
