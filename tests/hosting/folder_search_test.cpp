#include "hosting/folder_search.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/temp_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(MatchesPattern, StarsAndLetterCase) {
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
      {"", "*", true},
      {"ÀÈÌ.pce", "àèì.*", true},
      {"Ÿ.nes", "ÿ*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
  }
}

class SearchFolderTest : public testing::TempFolderTest {
 protected:
  static void Hidden(const fs::path& path) {
    Put(path, "x");
#ifdef _WIN32
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
  }
};

TEST_F(SearchFolderTest, OrdinaryFilesInCaseInsensitiveOrder) {
  for (const char* name : {"b.smc", "_z.smc", "C.SMC", "A.Smc", "notes.txt", "smc"}) {
    Put(name, "x");
  }
  fs::create_directory("folder.smc");
#ifdef _WIN32
  Hidden("hidden.smc");
#else
  Hidden(".hidden.smc");
#endif
  EXPECT_EQ(SearchFolder("*.smc"), (Names{"A.Smc", "b.smc", "C.SMC", "_z.smc"}));
  EXPECT_EQ(SearchFolder("*"), (Names{"A.Smc", "b.smc", "C.SMC", "notes.txt", "smc", "_z.smc"}));
  EXPECT_EQ(SearchFolder("*.nes"), Names{});
}

TEST_F(SearchFolderTest, FolderTextIsAPlainPrefix) {
  Put("Roms/Mario.smc", "x");
  Put("Roms/Zelda.nes", "x");
  Put("RomsWorld.smc", "x");
  EXPECT_EQ(SearchFolder("Roms\\*.smc"), Names{"Mario.smc"});
  EXPECT_EQ(SearchFolder("Roms/*.SMC"), Names{"Mario.smc"});
  EXPECT_EQ(SearchFolder((Root() / "Roms").string() + "/*.nes"), Names{"Zelda.nes"});
  // Without its final separator the folder's name becomes part of the pattern.
  EXPECT_EQ(SearchFolder("Roms*.smc"), Names{"RomsWorld.smc"});
#ifndef _WIN32
  EXPECT_EQ(SearchFolder("roms\\*.smc"), Names{"Mario.smc"});
#endif
}

TEST_F(SearchFolderTest, MissingOrUnreadableFolderYieldsNothing) {
  Put("file.smc", "x");
  EXPECT_EQ(SearchFolder("missing\\*.smc"), Names{});
  EXPECT_EQ(SearchFolder("file.smc\\*.smc"), Names{});
  EXPECT_EQ(SearchFolder(""), Names{});
  EXPECT_EQ(SearchFolder("\\\\nohost\\noshare\\*.smc"), Names{});
}

TEST_F(SearchFolderTest, SeveralPatternsGiveWhatOneSearchEachWouldGive) {
  for (const char* name : {"Roms/b.smc", "Roms/A.SFC", "Roms/c.1", "Roms/x.smc.1", "RomsMore.smc",
                           "RomsMore.1", "top.smc"}) {
    Put(name, "x");
  }
  const std::vector<std::string_view> patterns = {"*.smc", "*.1", "*.fig", "*.sfc"};
  for (std::string_view folder : {"Roms\\", "Roms/", "Roms", "", "missing\\"}) {
    const auto results = SearchFolderPatterns(folder, patterns);
    ASSERT_EQ(results.size(), patterns.size());
    for (size_t i = 0; i < patterns.size(); ++i) {
      EXPECT_EQ(results[i], SearchFolder(std::string(folder) + std::string(patterns[i])))
          << folder << " + " << patterns[i];
    }
  }
  EXPECT_EQ(SearchFolderPatterns("Roms", {"*.1"})[0], Names{"RomsMore.1"});
}

TEST(NameLessCaseInsensitive, FoldsEveryWindows1252Letter) {
  const std::pair<const char*, const char*> inOrder[] = {{"ša", "Šb"}, {"Ša", "šb"}, {"œa", "Œb"},
                                                         {"ža", "Žb"}, {"ÿa", "Ÿb"}, {"àa", "Àb"}};
  for (const auto& [first, second] : inOrder) {
    EXPECT_TRUE(NameLessCaseInsensitive(first, second)) << first << " < " << second;
    EXPECT_FALSE(NameLessCaseInsensitive(second, first)) << first << " < " << second;
    EXPECT_TRUE(MatchesPattern(second, std::string(first).substr(0, 2) + "*")) << second;
  }
}

#ifndef _WIN32
TEST_F(SearchFolderTest, NamesThatAreNotUtf8ListAsWindows1252) {
  Put("Giochi/Citt\xe0.NES", "");
  Put("Giochi/Cittadella.NES", "");
  EXPECT_EQ(SearchFolder("Giochi/*.nes"),
            (std::vector<std::string>{"Cittadella.NES", "Città.NES"}));
}
#endif

}  // namespace
}  // namespace valmerin
