#include "catalogue/descriptions.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/text_codec.h"

namespace valmerin {

void Descriptions::Add(std::string_view key, std::string_view text) {
  starts_.push_back(static_cast<std::uint32_t>(pool_.size()));
  pool_ += key;
  starts_.push_back(static_cast<std::uint32_t>(pool_.size()));
  pool_ += text;
  indexed_ = false;
}

namespace {

// Hash bits for a slot's tag, mixed so they do not repeat the bits that chose the
// slot, whatever the width of size_t.
std::uint32_t TagOf(std::size_t hash) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(hash) * 0x9E3779B97F4A7C15ull) >>
                                    32);
}

// The slot bits that hold the text number; the rest hold the tag.
std::uint32_t NumberMask(unsigned bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }

}  // namespace

void Descriptions::BuildKeyIndex() const {
  Index& index = byKey_;
  const std::size_t count = Count();
  std::size_t size = 16;
  while (size < 2 * count) size *= 2;
  const std::size_t mask = size - 1;
  index.table.assign(size, 0);
  index.bits = static_cast<unsigned>(std::bit_width(count));
  const std::uint32_t low = NumberMask(index.bits);
  index.runs.clear();
  std::vector<std::uint32_t> distinctOf(count);
  std::vector<std::uint32_t> sizes;
  // Most texts are distinct: room for all of them up front spares the copies of
  // growing two arrays one text at a time.
  index.runs.reserve(count + 1);
  sizes.reserve(count);
  for (std::uint32_t r = 0; r < count; ++r) {
    const std::string_view key = Key(r);
    const std::size_t hash = std::hash<std::string_view>{}(key);
    const std::uint32_t tag = TagOf(hash) & ~low;
    std::size_t slot = hash & mask;
    for (;; slot = (slot + 1) & mask) {
      const std::uint32_t entry = index.table[slot];
      if (entry == 0) {
        index.table[slot] = static_cast<std::uint32_t>(index.runs.size() + 1) | tag;
        index.runs.push_back({r, 0});
        sizes.push_back(0);
        break;
      }
      if ((entry & ~low) == tag && Key(index.runs[(entry & low) - 1].first) == key) {
        break;
      }
    }
    distinctOf[r] = (index.table[slot] & low) - 1;
    ++sizes[distinctOf[r]];
  }
  std::uint32_t start = 0;
  std::vector<std::uint32_t> fill(sizes.size());
  for (std::size_t d = 0; d < sizes.size(); ++d) {
    index.runs[d].start = fill[d] = start;
    start += sizes[d];
  }
  index.runs.push_back({0, start});
  index.records.resize(count);
  for (std::uint32_t r = 0; r < count; ++r) index.records[fill[distinctOf[r]]++] = r;
}

void Descriptions::Seal() {
  // Giving back a little spare room would cost a copy of everything: only a lot is
  // worth it.
  if (pool_.capacity() > pool_.size() + pool_.size() / 4) pool_.shrink_to_fit();
  starts_.shrink_to_fit();
  EnsureIndexed();
}

void Descriptions::EnsureIndexed() const {
  if (indexed_) return;
  BuildKeyIndex();
  indexed_ = true;
}

std::uint32_t Descriptions::FindKey(std::string_view key) const {
  const Index& index = byKey_;
  const std::size_t mask = index.table.size() - 1;
  const std::uint32_t low = NumberMask(index.bits);
  const std::size_t hash = std::hash<std::string_view>{}(key);
  const std::uint32_t tag = TagOf(hash) & ~low;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = index.table[slot];
    if (entry == 0) return kNoText;
    if ((entry & ~low) != tag) continue;
    const std::uint32_t distinct = (entry & low) - 1;
    if (Key(index.runs[distinct].first) == key) return distinct;
  }
}

void Descriptions::ResolveViews(std::span<const std::string_view> names,
                                std::span<std::string_view> shown) const {
  EnsureIndexed();
  const Index& index = byKey_;
  const std::size_t mask = index.table.size() - 1;
  const std::uint32_t low = NumberMask(index.bits);
  constexpr std::size_t kBatch = 16;
  std::size_t slots[kBatch];
  std::uint32_t firsts[kBatch];
  for (std::size_t at = 0; at < names.size(); at += kBatch) {
    const std::size_t count = std::min(kBatch, names.size() - at);
    // Each stage fetches what the next one reads, for the whole batch at once.
    for (std::size_t i = 0; i < count; ++i) {
      slots[i] = std::hash<std::string_view>{}(names[at + i]) & mask;
      __builtin_prefetch(&index.table[slots[i]]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t entry = index.table[slots[i]];
      firsts[i] = entry == 0 ? kNoText : (entry & low) - 1;
      if (firsts[i] != kNoText) __builtin_prefetch(&index.runs[firsts[i]]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (firsts[i] == kNoText) continue;
      firsts[i] = index.runs[firsts[i]].first;
      __builtin_prefetch(&starts_[2 * firsts[i]]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (firsts[i] != kNoText) __builtin_prefetch(pool_.data() + starts_[2 * firsts[i]]);
    }
    for (std::size_t i = 0; i < count; ++i) shown[at + i] = ResolveView(names[at + i]);
  }
}

std::string_view Descriptions::ResolveView(std::string_view fileName) const {
  EnsureIndexed();
  std::string_view current = fileName;
  std::uint32_t next = 0;  // the first record still to compare
  for (;;) {
    const std::uint32_t distinct = FindKey(current);
    if (distinct == kNoText) break;
    const Index::Run& run = byKey_.runs[distinct];
    std::uint32_t record = run.first;
    if (record < next) {
      const auto first = byKey_.records.begin() + run.start;
      const auto last = byKey_.records.begin() + byKey_.runs[distinct + 1].start;
      const auto at = std::lower_bound(first, last, next);
      if (at == last) break;
      record = *at;
    }
    current = Text(record);
    next = record + 1;
  }
  return current;
}

Descriptions ReadDescriptions() {
  Descriptions loaded;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kDescriptionsFile);
  loaded.ReserveText(reader.Remaining());
  for (;;) {
    std::string_view key;  // at the end of the file the key stays empty
    reader.ReadFieldText(key);
    if (key.empty()) break;
    std::string_view text;
    reader.ReadFieldText(text);
    loaded.Add(key, text);
    // The file's text and the records built from it would otherwise both be whole
    // at the end of a large file.
    reader.ForgetWhatWasRead();
  }
  reader = FieldReader();  // the file's text goes before the index is built
  loaded.Seal();
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

SaveOutcome AppendDescription(std::string_view key, std::string_view description) {
  if (CheckDescriptionStorable(key, description) != DescriptionProblem::None) {
    return {SaveResult::Unencodable, FileError::None};
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
