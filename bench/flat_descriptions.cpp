#include "bench/flat_descriptions.h"

#include <algorithm>
#include <functional>

#include "catalogue/descriptions.h"
#include "catalogue/record_file.h"

namespace valmerin::bench {

void FlatDescriptions::Add(std::string_view key, std::string_view text) {
  starts_.push_back(static_cast<std::uint32_t>(pool_.size()));
  pool_ += key;
  starts_.push_back(static_cast<std::uint32_t>(pool_.size()));
  pool_ += text;
}

void FlatDescriptions::Build(Index& index, int side) {
  const std::size_t count = Count();
  std::size_t size = 16;
  while (size < 2 * count) size *= 2;
  const std::size_t mask = size - 1;
  index.slots.assign(size, 0);
  std::vector<std::uint32_t> distinctOf(count);
  std::vector<std::uint32_t> firstOf;  // first record of each distinct text
  std::vector<std::uint32_t> sizes;
  for (std::uint32_t r = 0; r < count; ++r) {
    const std::string_view text = Field(2 * r + side);
    std::size_t slot = std::hash<std::string_view>{}(text)&mask;
    for (;; slot = (slot + 1) & mask) {
      if (index.slots[slot] == 0) {
        index.slots[slot] = static_cast<std::uint32_t>(firstOf.size() + 1);
        firstOf.push_back(r);
        sizes.push_back(0);
        break;
      }
      if (Field(2 * firstOf[index.slots[slot] - 1] + side) == text) break;
    }
    distinctOf[r] = index.slots[slot] - 1;
    ++sizes[distinctOf[r]];
  }
  index.runStart.assign(sizes.size() + 1, 0);
  for (std::size_t d = 0; d < sizes.size(); ++d)
    index.runStart[d + 1] = index.runStart[d] + sizes[d];
  index.records.resize(count);
  std::vector<std::uint32_t> fill(index.runStart.begin(), index.runStart.end() - 1);
  for (std::uint32_t r = 0; r < count; ++r) index.records[fill[distinctOf[r]]++] = r;
}

void FlatDescriptions::BuildIndex() {
  Build(byKey_, 0);
  Build(byText_, 1);
}

std::span<const std::uint32_t> FlatDescriptions::Find(const Index& index, int side,
                                                      std::string_view text) const {
  if (index.slots.empty()) return {};
  const std::size_t mask = index.slots.size() - 1;
  for (std::size_t slot = std::hash<std::string_view>{}(text)&mask;; slot = (slot + 1) & mask) {
    const std::uint32_t distinct = index.slots[slot];
    if (distinct == 0) return {};
    const std::uint32_t begin = index.runStart[distinct - 1];
    if (Field(2 * index.records[begin] + side) == text) {
      return std::span(index.records).subspan(begin, index.runStart[distinct] - begin);
    }
  }
}

std::string FlatDescriptions::ResolveGameName(std::string_view fileName) const {
  std::string_view current = fileName;
  std::uint32_t next = 0;
  for (;;) {
    const auto records = Find(byKey_, 0, current);
    auto at = std::lower_bound(records.begin(), records.end(), next);
    if (at == records.end()) break;
    current = Text(*at);
    next = *at + 1;
  }
  return std::string(current);
}

std::string FlatDescriptions::WalkBackToFileName(std::string_view shownText) const {
  std::string_view current = shownText;
  auto below = static_cast<std::uint32_t>(Count());
  for (;;) {
    const auto records = Find(byText_, 1, current);
    auto at = std::lower_bound(records.begin(), records.end(), below);
    if (at == records.begin()) break;
    --at;
    current = Key(*at);
    below = *at;
  }
  return std::string(current);
}

std::size_t FlatDescriptions::BytesReserved() const {
  std::size_t bytes = pool_.capacity() + starts_.capacity() * 4;
  for (const Index* index : {&byKey_, &byText_}) {
    bytes += (index->slots.capacity() + index->runStart.capacity() + index->records.capacity()) * 4;
  }
  return bytes;
}

FlatDescriptions ReadFlatDescriptions() {
  FlatDescriptions loaded;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kDescriptionsFile);
  FieldValue key;
  FieldValue text;
  for (;;) {
    key = FieldValue();
    reader.ReadField(key);
    if (key.AsText().empty()) break;
    text = FieldValue();
    reader.ReadField(text);
    loaded.Add(key.AsText(), text.AsText());
  }
  loaded.BuildIndex();
  return loaded;
}

}  // namespace valmerin::bench
