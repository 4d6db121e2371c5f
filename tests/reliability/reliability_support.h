#pragma once
// A fresh current folder per test, snapshots of what the user's files hold, and a
// window stand-in that writes down what the start-up asked of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/window_hooks.h"

namespace valmerin::testing {

namespace fs = std::filesystem;

class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device seed;
    root_ = fs::temp_directory_path() /
            ("valmerin-rel-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    fs::create_directories(root_);
    previous_ = fs::current_path();
    fs::current_path(root_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Every regular file of the current folder with its bytes; a folder shows as "<folder>".
  static std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(".")) {
      const std::string name = entry.path().filename().string();
      files[name] = entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return files;
  }

  fs::path root_;
  fs::path previous_;
};

class RecordingHooks : public WindowHooks {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowOptionsWindow() override { ++optionsShown; }
  void SwitchOffTab(int tabIndex) override { tabsOff.push_back(tabIndex); }
  std::vector<std::string> messages;
  int optionsShown = 0;
  std::vector<int> tabsOff;
};

}  // namespace valmerin::testing
