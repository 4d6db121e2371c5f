#include "catalogue/descriptions.h"

#include <gtest/gtest.h>

#include <random>

#include "support/fresh_folder.h"
#include "support/plain_walks.h"

namespace valmerin {
namespace {

Descriptions Make(std::initializer_list<std::pair<const char*, const char*>> records) {
  Descriptions d;
  for (auto [key, text] : records) d.Add(key, text);
  return d;
}

// Each name resolved alone and all in one batch, both against the plain walk.
void ExpectPlainWalks(const Descriptions& d, const std::vector<std::string_view>& names) {
  std::vector<std::string_view> shown(names.size());
  d.ResolveViews(names, shown);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string plain = reference::PlainResolveGameName(d, names[i]);
    ASSERT_EQ(d.ResolveView(names[i]), plain) << names[i];
    ASSERT_EQ(shown[i], plain) << names[i];
  }
}

TEST(DescriptionWalksTest, ChainsFollowFileOrder) {
  EXPECT_EQ(Make({{"A", "B"}, {"B", "C"}}).ResolveView("A"), "C");
  EXPECT_EQ(Make({{"B", "C"}, {"A", "B"}}).ResolveView("A"), "B");
  EXPECT_EQ(Make({{"A", "B"}, {"A", "C"}}).ResolveView("A"), "B");
  EXPECT_EQ(Make({{"Mario.smc", "M"}}).ResolveView("mario.smc"), "mario.smc");
}

TEST(DescriptionWalksTest, IndexedWalksMatchPlainWalksOnRandomRecords) {
  // A small alphabet makes chains, repeated keys and cycles common.
  const std::vector<std::string> words = {"A", "B", "C", "D", "", "a"};
  std::mt19937 random(99);
  for (int round = 0; round < 5000; ++round) {
    Descriptions d;
    for (int i = random() % 40; i > 0; --i) {
      d.Add(words[random() % words.size()], words[random() % words.size()]);
    }
    SCOPED_TRACE(round);
    ExpectPlainWalks(d, {words.begin(), words.end()});
    if (HasFatalFailure()) return;
  }
}

// How fast the walk is, is measured in bench/; here, that its jumps from match to
// match land where the plain walk would at the sizes the benchmarks use, and
// along long runs of one key.
TEST(DescriptionWalksTest, LargeFilesAndLongRunsOfOneKeyResolveLikeThePlainWalk) {
  Descriptions d;
  for (int i = 0; i < 100000; ++i) d.Add("g" + std::to_string(i), "d" + std::to_string(i));
  // Chains of three lengths, so a walk that lands one record off cannot end on
  // the right text by luck.
  for (const int pairs : {20000, 20001, 20002}) {
    const std::string name = std::to_string(pairs) + ".smc";
    const std::string other = std::to_string(pairs);
    for (int i = 0; i < pairs; ++i) {
      d.Add(name, other);
      d.Add(other, name);
    }
    d.Add(name, "Fine " + other);
  }
  d.Add("d7", "g8");
  std::vector<std::string> names;
  for (int i = 0; i < 100000; i += 997) names.push_back("g" + std::to_string(i));
  names.push_back("senza descrizione.smc");
  ExpectPlainWalks(d, {names.begin(), names.end()});  // several batches, the last one short
  ASSERT_FALSE(HasFatalFailure());
  for (const char* pairs : {"20000", "20001", "20002"}) {
    EXPECT_EQ(d.ResolveView(std::string(pairs) + ".smc"), "Fine " + std::string(pairs));
    EXPECT_EQ(d.ResolveView(pairs), "Fine " + std::string(pairs));
  }
  EXPECT_EQ(d.ResolveView("g7"), "g8");  // a later record moves on from the first answer
}

class DescriptionsFileTest : public testing::FreshFolderTest {};

TEST_F(DescriptionsFileTest, LoadingHasNoLimitStopsAtAnEmptyKeyAndPadsAShortRecord) {
  EXPECT_EQ(ReadDescriptions().Count(), 0u);
  std::string file;
  for (int i = 0; i < 1500; ++i) file += "k" + std::to_string(i) + "\r\nv\r\n";
  WriteBytes("descrizioni.EMU", file + "ultimo");
  auto d = ReadDescriptions();
  ASSERT_EQ(d.Count(), 1501u);
  EXPECT_EQ(d.Text(1500), "");
  WriteBytes("descrizioni.EMU", "a\r\nA\r\n\r\nnascosto\r\nb\r\nB\r\n");
  EXPECT_EQ(ReadDescriptions().Count(), 1u);
}

TEST_F(DescriptionsFileTest, AwkwardPairsAreAppendedSoTheyReadBackWhole) {
  WriteBytes("Descrizioni.emu", "a.smc\r\nPrimo");  // edited by hand: no last line end
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"a.smc", "Primo"},
      {"b.smc", "Super Mario, il ritorno"},
      {"  spazi  ", "Citazione \"finale\" "},
      {"c.smc", ""},
      {"#TRUE#", "12 "},
      {"d.pce", "Perché sì €"}};
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    ASSERT_EQ(AppendDescription(pairs[i].first, pairs[i].second), SaveResult::Saved) << i;
  }
  auto d = ReadDescriptions();
  ASSERT_EQ(d.Count(), pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(d.Key(i), pairs[i].first);
    EXPECT_EQ(d.Text(i), pairs[i].second);
  }
}

TEST_F(DescriptionsFileTest, RefusedPairsWriteNothing) {
  EXPECT_EQ(CheckDescriptionStorable("", "x"), DescriptionProblem::EmptyKey);
  EXPECT_EQ(CheckDescriptionStorable("a", "due\r\nrighe"), DescriptionProblem::LineBreak);
  EXPECT_EQ(CheckDescriptionStorable(" \"k", "x"), DescriptionProblem::Quote);
  EXPECT_EQ(CheckDescriptionStorable("a", "\"a\", b"), DescriptionProblem::Quote);
  EXPECT_EQ(CheckDescriptionStorable("a", "日本"), DescriptionProblem::NotInCodePage);
  EXPECT_EQ(AppendDescription("", "x"), SaveResult::Unencodable);
  EXPECT_EQ(AppendDescription("a", "日本"), SaveResult::Unencodable);
  EXPECT_FALSE(std::filesystem::exists("Descrizioni.emu"));
  std::filesystem::create_directory("Descrizioni.emu");
  EXPECT_EQ(AppendDescription("a", "b"), SaveResult::WriteFailed);
}

}  // namespace
}  // namespace valmerin
