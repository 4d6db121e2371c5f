#include "hosting/folder_search.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/utf8.h"
#include "support/fresh_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// What one search text finds: the folder text up to its last separator, one pattern.
Names FoundBy(std::string_view searchText) {
  const std::size_t cut = searchText.find_last_of("\\/");
  const std::size_t split = cut == std::string_view::npos ? 0 : cut + 1;
  Names found;
  FolderListing(searchText.substr(0, split))
      .Visit({searchText.substr(split)}, [&](std::size_t, std::span<const std::string_view> names) {
        found.assign(names.begin(), names.end());
      });
  return found;
}

using SearchFolderTest = testing::FreshFolderTest;

TEST_F(SearchFolderTest, StarsAndLetterCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"Mario.SMC", "*.smc", true},
      {"mario.smcx", "*.smc", false},
      {"a.b.smc", "*.smc", true},
      {"ZSnesWorld.smc", "ZSnes*.smc", true},
      {"aXbYc", "a*b*c", true},
      {"aaa", "*a*a*a*a", false},
      {"x", "", false},
      {"ÀÈÌ.pce", "àèì.*", true},
      {"Ÿ.nes", "ÿ*", true},
  };
  for (const Case& c : cases) {
    WriteBytes(PathFromUtf8(c.name), "x");
    EXPECT_EQ(FoundBy(c.pattern), c.matches ? Names{c.name} : Names{})
        << c.name << " ~ " << c.pattern;
    std::filesystem::remove(PathFromUtf8(c.name));
  }
}

TEST_F(SearchFolderTest, OrdinaryFilesInCaseInsensitiveOrder) {
  for (const char* name : {"b.smc", "_z.smc", "C.SMC", "A.Smc", "notes.txt", "smc"}) {
    WriteBytes(name, "x");
  }
  fs::create_directory("folder.smc");
#ifdef _WIN32
  WriteBytes("hidden.smc", "x");
  SetFileAttributesW(L"hidden.smc", FILE_ATTRIBUTE_HIDDEN);
#else
  WriteBytes(".hidden.smc", "x");
#endif
  EXPECT_EQ(FoundBy("*.smc"), (Names{"A.Smc", "b.smc", "C.SMC", "_z.smc"}));
  EXPECT_EQ(FoundBy("*"), (Names{"A.Smc", "b.smc", "C.SMC", "notes.txt", "smc", "_z.smc"}));
  EXPECT_EQ(FoundBy("*.nes"), Names{});
}

TEST_F(SearchFolderTest, FolderTextIsAPlainPrefixAndAMissingFolderYieldsNothing) {
  for (const char* name : {"Roms/Mario.smc", "Roms/Zelda.nes", "RomsWorld.smc", "file.smc"}) {
    WriteBytes(name, "x");
  }
#ifndef _WIN32
  WriteBytes("Giochi/Citt\xe0.NES", "");  // not UTF-8: listed as Windows-1252
  WriteBytes("Giochi/Cittadella.NES", "");
#endif
  const std::pair<std::string, Names> cases[] = {
      {"Roms\\*.smc", {"Mario.smc"}},
      {"Roms/*.SMC", {"Mario.smc"}},
      {(Root() / "Roms").string() + "/*.nes", {"Zelda.nes"}},
      // Without its final separator the folder's name becomes part of the pattern.
      {"Roms*.smc", {"RomsWorld.smc"}},
      {"missing\\*.smc", {}},
      {"file.smc\\*.smc", {}},
      {"", {}},
      {"\\\\nohost\\noshare\\*.smc", {}},
#ifndef _WIN32
      {"roms\\*.smc", {"Mario.smc"}},
      {"Giochi/*.nes", {"Cittadella.NES", "Città.NES"}},
#endif
  };
  for (const auto& [text, names] : cases) EXPECT_EQ(FoundBy(text), names) << text;
}

TEST_F(SearchFolderTest, SeveralPatternsGiveWhatOneSearchEachWouldGive) {
  for (const char* name : {"Roms/b.smc", "Roms/A.SFC", "Roms/c.1", "Roms/x.smc.1", "RomsMore.smc",
                           "RomsMore.1", "top.smc"}) {
    WriteBytes(name, "x");
  }
  const std::vector<std::string_view> patterns = {"*.smc", "*.1", "*.fig", "*.sfc", ""};
  for (std::string_view folder : {"Roms\\", "Roms/", "Roms", "", "missing\\"}) {
    std::vector<Names> results(patterns.size());
    FolderListing(folder).Visit(patterns, [&](std::size_t i, std::span<const std::string_view> n) {
      results[i].assign(n.begin(), n.end());
    });
    for (size_t i = 0; i < patterns.size(); ++i) {
      EXPECT_EQ(results[i], FoundBy(std::string(folder) + std::string(patterns[i])))
          << folder << " + " << patterns[i];
    }
  }
  EXPECT_EQ(FoundBy("Roms*.1"), Names{"RomsMore.1"});
}

TEST_F(SearchFolderTest, FoldsEveryWindows1252Letter) {
  const std::pair<const char*, const char*> inOrder[] = {{"ša", "Šb"}, {"Ša", "šb"}, {"œa", "Œb"},
                                                         {"ža", "Žb"}, {"ÿa", "Ÿb"}, {"àa", "Àb"}};
  for (const auto& [first, second] : inOrder) {
    WriteBytes(PathFromUtf8(second), "x");
    WriteBytes(PathFromUtf8(first), "x");
    EXPECT_EQ(FoundBy("*"), (Names{first, second}));
    EXPECT_EQ(FoundBy(std::string(first).substr(0, 2) + "*"), (Names{first, second}));
    std::filesystem::remove(PathFromUtf8(first));
    std::filesystem::remove(PathFromUtf8(second));
  }
}

}  // namespace
}  // namespace valmerin
