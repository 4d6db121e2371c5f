// Writes the starting corpora with the program's own writers, so the fuzzers start
// from files the program really makes. Usage: valmerin_fuzz_seeds CORPUS_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "catalogue/descriptions.h"
#include "catalogue/folder_files.h"
#include "catalogue/record_file.h"
#include "options/options_model.h"
#include "options/settings_files.h"
#include "platform/text_codec.h"

namespace fs = std::filesystem;
using namespace valmerin;

namespace {

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& corpus, const std::string& target, const std::string& name,
         const std::string& bytes) {
  fs::create_directories(corpus / target);
  std::ofstream(corpus / target / ("seed-" + name), std::ios::binary) << bytes;
}

std::string Encoded(const RecordWriter& writer) { return EncodeCp1252(writer.Text()).value_or(""); }

void FieldReaderSeeds(const fs::path& corpus) {
  RecordWriter record;
  record.WriteRecord({0, 1, -1, 32767, -32768, true, false, std::string("a, b"), std::string(""),
                      std::monostate{}, std::string("Città")});
  record.WritePlainLine("two words");
  record.WritePlainLine("   leading blanks");
  record.WritePlainLine("");
  Put(corpus, "field_reader", "record-and-lines", Encoded(record));
  Put(corpus, "field_reader", "kgen-initial",
      "0,0,0,0,0,0,#FALSE#,#FALSE#,#FALSE#,#TRUE#,\"0\",\"Text8\",0\r\n");
  Put(corpus, "field_reader", "odd-ends", "\"unclosed\r12 ,\n-.5,\"a\"b,c\r\r\n#TRUE# ");
}

void CodecSeeds(const fs::path& corpus) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  Put(corpus, "text_codec", "every-byte", all);
  Put(corpus, "text_codec", "utf8", "Citt\xC3\xA0 \xE2\x82\xAC \xC2\x81 \xF0\x9F\x8E\xAE");
}

void SettingsSeeds(const fs::path& corpus) {
  OptionsModel options;
  options.RunWindowStartup();
  SaveSettingsFiles(options, {});
  for (const EmulatorInfo& info : EmulatorTable()) {
    Put(corpus, "settings_files", "initial-" + std::string(info.settingsFile), Bytes(info.settingsFile));
  }
  options.SetCheck(1, 2);
  options.SetCheck(33, 1);
  options.SetOption(2, true);
  options.SetText(5, "-a, -b");
  options.SetText(8, "");
  options.SetScroll(1, 3);
  options.SetScroll(5, 4);
  SaveSettingsFiles(options, {});
  for (const EmulatorInfo& info : EmulatorTable()) {
    Put(corpus, "settings_files", "changed-" + std::string(info.settingsFile), Bytes(info.settingsFile));
  }
}

void DescriptionSeeds(const fs::path& corpus) {
  AppendDescription("A.smc", "B");
  AppendDescription("B", "C");
  AppendDescription("Mario, il ritorno.smc", "\"Il migliore\"");
  AppendDescription(" blank.nes", "");
  AppendDescription("A.smc", "Città");
  Put(corpus, "descriptions", "chain", Bytes(kDescriptionsFile));
}

void FolderSeeds(const fs::path& corpus) {
  WriteFolderFile({"C:\\ZSnes\\", "C:\\KGen\\", "", "/home/me/PC Engine/"});
  Put(corpus, "folder_files", "folders", Bytes(kFolderFile));
  WriteAvailabilityFile({1, 0, 2, 1});
  Put(corpus, "folder_files", "availability", Bytes(kAvailabilityFileWritten));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path corpus = fs::absolute(argv[1]);
  const fs::path scratch = fs::temp_directory_path() / "valmerin-fuzz-seeds";
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::current_path(scratch);
  FieldReaderSeeds(corpus);
  CodecSeeds(corpus);
  SettingsSeeds(corpus);
  DescriptionSeeds(corpus);
  FolderSeeds(corpus);
  fs::current_path(corpus);
  fs::remove_all(scratch);
  return 0;
}
