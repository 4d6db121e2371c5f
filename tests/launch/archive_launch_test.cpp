// Games inside archives, from the scan to the copy the emulator is given.
#include <gtest/gtest.h>

#include "catalogue/archive_scan.h"
#include "launch/game_launch.h"
#include "launch_test_support.h"
#include "platform/utf8.h"
#include "support/archive_maker.h"

namespace valmerin {
namespace {

using testing::ArchivedFile;
using testing::ArchiveKind;

// How the archive is made: as it should be, or spoilt afterwards, or locked.
enum Making { Plain, Damaged, DataSpoilt, HugeDeclared, Password };

struct Shape {
  const char* archive;  // file name in the ZSnes folder; ".7z" or a zip
  std::vector<ArchivedFile> files;
  const char* inside;         // the game the scan picks; none: not listed
  const char* copy;           // the copy made, with the inside file's bytes; none: none made
  const char* why = nullptr;  // what the launch's message says when no copy is made
  Making making = Plain;
};

std::string Noise(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t seed = 12345;
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
  return bytes;
}

#ifdef _WIN32
// libarchive's writer on Windows cannot store a name its code page lacks.
constexpr const char* kUtf8Name = "Kirby \xc3\xa9 \xc3\xbc.swc";
#else
constexpr const char* kUtf8Name =
    "\xe6\x98\x9f\xe3\x81\xae\xe3\x82\xab\xe3\x83\xbc\xe3\x83\x93\xe3\x82\xa3.swc";
#endif

const std::string kZeros(5000, '\0');
const std::vector<Shape> kShapes = {
    {"Mario.zip", {{"Mario.smc", "rom:mario"}}, "Mario.smc", "Gioco.smc"},
    // Pattern order first (.smc before .sfc), then name order; the readme never.
    {"Zelda.7z",
     {{"LEGGIMI.txt", "leggi"},
      {"Zelda (b).sfc", "sfc"},
      {"zelda.SMC", "rom:zelda"},
      {"Zelda (a).smc", "rom:a"}},
     "Zelda (a).smc",
     "Gioco.smc"},
    {"Pok\xc3\xa9mon.zip", {{"Pok\xe9mon.fig", "rom:cp1252"}}, "Pok\xc3\xa9mon.fig", "Gioco.fig"},
    {"Kirby.zip", {{kUtf8Name, "rom:utf8", true}}, kUtf8Name, "Gioco.swc"},
    {"Dentro.7z", {{"giochi/Dentro.1", "rom:1"}}, "giochi/Dentro.1", "Gioco.o.1"},
    {"Niente.zip", {{"LEGGIMI.txt", "x"}, {"Mario.nes", "x"}}, {}, {}},
    {"Rotto.zip", {{"Rotto.smc", "x"}}, {}, {}, {}, Damaged},
    {"Guasto.zip", {{"Guasto.smc", Noise(4000)}}, "Guasto.smc", {}, "danneggiato", DataSpoilt},
    {"Segreto.zip", {{"Segreto.smc", "rom:segreto"}}, "Segreto.smc", {}, "password", Password},
    // The path inside never reaches the disk: only the copy name does.
    {"Fuga.zip", {{"../../x.smc", "rom:fuga"}}, "../../x.smc", "Gioco.smc"},
    {"Vuoto.zip", {{"Vuoto.smc", ""}}, "Vuoto.smc", "Gioco.smc"},
    {"Bomba.zip", {{"Bomba.smc", kZeros}}, "Bomba.smc", {}, "troppo per un gioco", HugeDeclared},
};

class ArchiveLaunchTest : public testing::LaunchFolderTest {};

TEST_F(ArchiveLaunchTest, EachArchiveIsListedAndStartedFromTheRightFileOrRefusedCleanly) {
  for (std::size_t i = 0; i < kShapes.size(); ++i) {
    const Shape& shape = kShapes[i];
    SCOPED_TRACE(shape.archive);
    const std::string folder = MakeFolder("case " + std::to_string(i));
    const std::filesystem::path archive = PathFromUtf8(folder + shape.archive);
    const ArchiveKind kind = shape.making == Password       ? ArchiveKind::EncryptedZip
                             : archive.extension() == ".7z" ? ArchiveKind::SevenZip
                                                            : ArchiveKind::Zip;
    ASSERT_TRUE(testing::MakeArchive(archive, kind, shape.files));
    if (shape.making == Damaged) WriteBytes(archive, "PK\x03\x04 non un archivio");
    if (shape.making == DataSpoilt) testing::SpoilZipData(archive);
    if (shape.making == HugeDeclared) testing::DeclareZipSize(archive, 0xF0000000u);

    MainWindowState state;
    state.EmulatorFolder[IndexOf(Emulator::ZSnes)] = folder;
    ArchiveCache cache;
    ListedArchives archives;
    ScanInto(state.gameLists, state.EmulatorFolder, state.descriptions, {true, false, false, false},
             &archives);
    const bool listed =
        ScanArchivesInto(state.gameLists, state.archiveGames, state.EmulatorFolder, archives,
                         state.descriptions, {true, false, false, false}, cache);
    const std::string* inside = GameInsideArchive(state, Emulator::ZSnes, shape.archive);
    ASSERT_EQ(listed, shape.inside != nullptr);
    ASSERT_EQ(state.gameLists[0].size(), shape.inside ? 1u : 0u);
    if (shape.inside == nullptr) continue;
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(*inside, shape.inside);
    EXPECT_EQ(state.gameLists[0].File(0), shape.archive);

    state.Text1 = shape.archive;
#ifndef _WIN32
    // The stand-in keeps the bytes it was given: the copy goes once it has ended.
    testing::WriteProgram(folder + "ZSnes.exe", "#!/bin/sh\ncat \"$1\" > \"$0.got\"\n");
#endif
    const LaunchOutcome outcome = LaunchGame(state, Emulator::ZSnes);
    testing::WaitUntilGameEnded(state.copies, Emulator::ZSnes);
    std::vector<std::string> left = testing::NamesIn(PathFromUtf8(folder));
    std::erase_if(left, [](const std::string& name) { return name.starts_with("ZSnes.exe"); });
    EXPECT_EQ(left, std::vector<std::string>{shape.archive});
    if (shape.copy != nullptr) {
      std::string bytes;
      for (const ArchivedFile& file : shape.files)
        if (file.name == shape.inside || (!file.utf8Name && file.name == "Pok\xe9mon.fig"))
          bytes = file.bytes;
#ifndef _WIN32
      EXPECT_TRUE(outcome.started) << outcome.message;
      EXPECT_EQ(ReadBytes(PathFromUtf8(folder + "ZSnes.exe.got")), bytes);
#endif
      EXPECT_EQ(outcome.commandLine, folder + "ZSnes.exe " + folder + shape.copy);
    } else {
      testing::ExpectRefusal(outcome, {shape.why, folder + shape.archive});
      EXPECT_FALSE(state.copies.CopyOf(Emulator::ZSnes).has_value());
    }
  }
  // Nothing climbed out of the emulator folders.
  EXPECT_FALSE(std::filesystem::exists(Root() / "x.smc"));
  EXPECT_FALSE(std::filesystem::exists(Root().parent_path() / "x.smc"));
}

}  // namespace
}  // namespace valmerin
