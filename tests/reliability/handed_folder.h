#pragma once
// A data folder handed over by someone else, inside a decoy home folder whose
// every entry is compared before and after: whatever the handed folder holds,
// nothing outside it and its emulator folders may change.
#ifndef _WIN32
#include <sys/stat.h>

#include <cstdlib>

#include "reliability_support.h"

namespace valmerin::testing {

class HandedFolderTest : public FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    home_ = Root() / "casa";
    data_ = home_ / "giochi" / "catalogo";
    fs::create_directories(data_ / "zs");
    fs::create_directories(home_ / "Documenti");
    WriteBytes(home_ / ".bashrc", "# il mio .bashrc\n");
    WriteBytes(home_ / ".profile", "# il mio .profile\n");
    WriteBytes(home_ / "Documenti" / "lettera.txt", "Cara Anna,\n");
    WriteBytes(home_ / "Documenti" / "chiave", "segreto");
    fs::permissions(home_ / "Documenti" / "chiave", fs::perms::owner_read | fs::perms::owner_write);
    WriteBytes(home_ / "giochi" / "Fuori.smc", "non un gioco della lista");
    fs::create_symlink("Documenti/lettera.txt", home_ / "ultima-lettera");
    if (const char* old = std::getenv("HOME")) oldHome_ = old;
    setenv("HOME", home_.c_str(), 1);
    fs::current_path(data_);
    before_ = HomeSnapshot();
  }
  void TearDown() override {
    setenv("HOME", oldHome_.c_str(), 1);
    FreshFolderTest::TearDown();
  }

  // Every entry of the home folder outside the data folder: kind, permissions,
  // bytes or link target.
  std::map<std::string, std::string> HomeSnapshot() const {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(home_);
         it != fs::recursive_directory_iterator(); ++it) {
      if (it->path() == data_) {
        it.disable_recursion_pending();
        continue;
      }
      struct stat info {};
      lstat(it->path().c_str(), &info);
      std::string what = std::to_string(info.st_mode) + " ";
      if (S_ISLNK(info.st_mode)) {
        what += "-> " + fs::read_symlink(it->path()).string();
      } else if (S_ISREG(info.st_mode)) {
        what += ReadBytes(it->path());
      }
      entries[fs::relative(it->path(), home_).string()] = what;
    }
    return entries;
  }
  void ExpectHomeUntouched() const { EXPECT_EQ(HomeSnapshot(), before_); }

  fs::path home_;
  fs::path data_;

 private:
  std::map<std::string, std::string> before_;
  std::string oldHome_;
};

}  // namespace valmerin::testing
#endif
