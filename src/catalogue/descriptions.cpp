#include "catalogue/descriptions.h"

#include <algorithm>

#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/text_codec.h"

namespace valmerin {

void Descriptions::Add(std::string key, std::string text) {
  const auto record = static_cast<std::uint32_t>(keys_.size());
  byKey_[key].push_back(record);
  byText_[text].push_back(record);
  keys_.push_back(std::move(key));
  texts_.push_back(std::move(text));
}

std::string Descriptions::ResolveGameName(std::string_view fileName) const {
  std::string current(fileName);
  std::uint32_t next = 0;  // the first record still to compare
  for (;;) {
    auto found = byKey_.find(current);
    if (found == byKey_.end()) break;
    const auto& records = found->second;
    auto at = std::lower_bound(records.begin(), records.end(), next);
    if (at == records.end()) break;
    current = texts_[*at];
    next = *at + 1;
  }
  return current;
}

std::string Descriptions::WalkBackToFileName(std::string_view shownText) const {
  std::string current(shownText);
  auto below = static_cast<std::uint32_t>(keys_.size());  // records under this remain
  for (;;) {
    auto found = byText_.find(current);
    if (found == byText_.end()) break;
    const auto& records = found->second;
    auto at = std::lower_bound(records.begin(), records.end(), below);
    if (at == records.begin()) break;
    --at;
    current = keys_[*at];
    below = *at;
  }
  return current;
}

Descriptions ReadDescriptions() {
  Descriptions loaded;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kDescriptionsFile);
  for (;;) {
    FieldValue key;
    reader.ReadField(key);  // at the end of the file the key stays empty
    if (key.AsText().empty()) break;
    FieldValue text;
    reader.ReadField(text);
    loaded.Add(key.AsText(), text.AsText());
  }
  return loaded;
}

namespace {

DescriptionProblem WhyNotStorable(std::string_view text) {
  if (PlainLineReadsBack(text) || TextReadsBack(text)) return DescriptionProblem::None;
  if (text.find_first_of("\r\n") != std::string_view::npos) return DescriptionProblem::LineBreak;
  if (!FitsCp1252(text)) return DescriptionProblem::NotInCodePage;
  return DescriptionProblem::Quote;
}

void WriteReadingBack(RecordWriter& writer, std::string_view text) {
  if (PlainLineReadsBack(text)) {
    writer.WritePlainLine(text);
  } else {
    writer.WriteRecord({std::string(text)});
  }
}

}  // namespace

DescriptionProblem CheckDescriptionStorable(std::string_view key, std::string_view description) {
  if (key.empty()) return DescriptionProblem::EmptyKey;
  if (auto problem = WhyNotStorable(key); problem != DescriptionProblem::None) return problem;
  return WhyNotStorable(description);
}

SaveResult AppendDescription(std::string_view key, std::string_view description) {
  if (CheckDescriptionStorable(key, description) != DescriptionProblem::None) {
    return SaveResult::Unencodable;
  }
  RecordWriter writer;
  // A file edited by hand may lack its last line end; without one the new key
  // would join that line and shift every record after it.
  if (auto path = FindInCurrentFolder(kDescriptionsFile)) {
    auto bytes = ReadWholeFile(*path);
    if (bytes && !bytes->empty() && bytes->back() != '\n' && bytes->back() != '\r') {
      writer.WritePlainLine("");
    }
  }
  WriteReadingBack(writer, key);
  WriteReadingBack(writer, description);
  return AppendCurrentFolderFile(kDescriptionsFile, writer);
}

}  // namespace valmerin
