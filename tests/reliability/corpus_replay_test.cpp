// Every saved fuzz input runs again in each ordinary build, sanitizers or not, so
// a fixed fault found by fuzzing stays fixed.
#include <cstdlib>
#include <filesystem>

#include "../../fuzz/targets/descriptions_target.h"
#include "../../fuzz/targets/field_reader_target.h"
#include "../../fuzz/targets/folder_files_target.h"
#include "../../fuzz/targets/settings_files_target.h"
#include "../../fuzz/targets/text_codec_target.h"
#include "reliability_support.h"

namespace valmerin::testing {
namespace {

struct Target {
  const char* name;
  void (*run)(const std::uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"text_codec", fuzz::TextCodecTarget},         {"field_reader", fuzz::FieldReaderTarget},
    {"settings_files", fuzz::SettingsFilesTarget}, {"descriptions", fuzz::DescriptionsTarget},
    {"folder_files", fuzz::FolderFilesTarget},
};

fs::path CorpusRoot() {
  if (const char* set = std::getenv("VALMERIN_FUZZ_CORPUS")) return fs::absolute(set);
  fs::path source = VALMERIN_SOURCE_DIR;
#ifdef _WIN32
  // A cross build names the sources by their Linux path; Wine shows it on Z:.
  if (!source.empty() && source.native().front() == L'/') source = fs::path(L"Z:") / source;
#endif
  return fs::absolute(source / "fuzz" / "corpus");
}

class CorpusReplay : public FreshFolderTest, public ::testing::WithParamInterface<Target> {
 protected:
  // Taken before SetUp makes the scratch folder current.
  const fs::path corpus_ = CorpusRoot() / GetParam().name;
};

TEST_P(CorpusReplay, EverySavedInputHoldsItsProperties) {
  ASSERT_TRUE(fs::is_directory(corpus_)) << corpus_;
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(corpus_)) {
    if (!entry.is_regular_file()) continue;
    const std::string bytes = ReadBytes(entry.path());
    try {
      GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    } catch (const fuzz::PropertyBroken& broken) {
      ADD_FAILURE() << entry.path().filename() << ": " << broken.what();
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valmerin::testing
