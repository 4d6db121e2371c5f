#pragma once
// The user's game descriptions ("Descrizioni.emu"): a file that only grows, two
// lines a record (key, description), loaded once at start-up.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/record_file.h"

namespace valmerin {

class Descriptions {
 public:
  void Add(std::string key, std::string text);
  std::size_t Count() const { return keys_.size(); }
  const std::string& Key(std::size_t i) const { return keys_[i]; }
  const std::string& Text(std::size_t i) const { return texts_[i]; }

  // Forward walk: from record 0 up, every record whose key equals the current text
  // replaces it; later records are compared with the replaced text.
  std::string ResolveGameName(std::string_view fileName) const;
  // Backward walk: from the last record down, every record whose description
  // equals the current text replaces it with its key.
  std::string WalkBackToFileName(std::string_view shownText) const;

 private:
  std::vector<std::string> keys_;
  std::vector<std::string> texts_;
  // Per key and per description, the ascending record numbers where it stands, so
  // a walk jumps from match to match instead of visiting every record.
  std::unordered_map<std::string, std::vector<std::uint32_t>> byKey_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> byText_;
};

inline constexpr std::string_view kDescriptionsFile = "Descrizioni.emu";

// Loads every record up to the first empty key; a missing file loads nothing.
Descriptions ReadDescriptions();

// Whether AppendDescription can store this pair so that it reads back whole.
enum class DescriptionProblem { None, EmptyKey, LineBreak, Quote, NotInCodePage };
DescriptionProblem CheckDescriptionStorable(std::string_view key, std::string_view description);

// Appends one record. Each text is written as a plain line when that reads back
// whole, otherwise between quotes; a pair that cannot be stored writes nothing.
SaveResult AppendDescription(std::string_view key, std::string_view description);

}  // namespace valmerin
