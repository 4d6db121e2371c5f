// The names a launch reserves: "Gioco." and three characters, in any letter case,
// or a temporary of one.
#include "catalogue/copy_names.h"

#include <gtest/gtest.h>

namespace valmerin {
namespace {

TEST(CopyNames, OnlyTheStemAndThreeCharactersInAnyCaseAreReserved) {
  const struct {
    const char* name;
    bool reserved;
  } cases[] = {
      {"Gioco.smc", true},
      {"GIOCO.SMC", true},
      {"gIoCo.fig", true},
      {"Gioco.àèì", true},
      {"Gioco.smc.valmerin-tmp-12-00ab", true},
      {"Gioco.sm", false},
      {"Gioco.smcx", false},
      {"Giocx.smc", false},
      {"Gioc", false},
      {"", false},
      {"Il Gioco.smc", false},
      {"Gioco_smc", false},
      {"Giòco.smc", false},
      {"Gioco.a/b", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCopyName(c.name), c.reserved) << c.name;
  EXPECT_EQ(CopyNameFor("Super Mario.smc"), "Gioco.smc");
}

}  // namespace
}  // namespace valmerin
