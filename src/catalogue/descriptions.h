#pragma once
// The user's game descriptions ("Descrizioni.emu"): a file that only grows, two
// lines a record (key, description), loaded once at start-up.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/record_file.h"

namespace valmerin {

class Descriptions {
 public:
  void Add(std::string_view key, std::string_view text);
  // Room for texts of this many characters in all, so loading a large file does not
  // copy its texts again and again as the buffer grows.
  void ReserveText(std::size_t characters) { pool_.reserve(characters); }
  std::size_t Count() const { return starts_.size() / 2; }
  std::string_view Key(std::size_t i) const { return Field(2 * i); }
  std::string_view Text(std::size_t i) const { return Field(2 * i + 1); }

  // Forward walk: from record 0 up, every record whose key equals the current text
  // replaces it; later records are compared with the replaced text. The answer is a
  // view of `fileName` or of a stored description.
  std::string_view ResolveView(std::string_view fileName) const;
  // The same walk for each of `names` into `shown` (as many). The memory each name's
  // first step needs is fetched for a batch of names ahead, so their loads from
  // places far apart overlap instead of following one another.
  void ResolveViews(std::span<const std::string_view> names,
                    std::span<std::string_view> shown) const;

  // Loading is done: gives back what the growing buffers hold spare and builds the
  // index at once (the walks otherwise build it after the last Add).
  void Seal();

 private:
  // A flat hash table of the distinct keys, whose record numbers sit in ascending
  // runs of one array: a walk jumps from match to
  // match instead of visiting every record, and 100,000 records cost a handful of
  // allocations, not several each.
  struct Index {
    // Per slot, 0 when free, else the distinct text number + 1 in the low `bits`
    // bits and a few bits of its hash above them: most probes, and every miss,
    // stop at the table without touching another array.
    std::vector<std::uint32_t> table;
    unsigned bits = 32;
    // Per distinct text, its first record (the one a probe compares, and the answer
    // of most forward steps) and where its run of record numbers starts in
    // `records`; a last entry closes the last run.
    struct Run {
      std::uint32_t first;
      std::uint32_t start;
    };
    std::vector<Run> runs;
    std::vector<std::uint32_t> records;  // record numbers, grouped, ascending per group
  };
  static constexpr std::uint32_t kNoText = 0xFFFFFFFFu;
  std::string_view Field(std::size_t f) const {
    const std::size_t end = f + 1 < starts_.size() ? starts_[f + 1] : pool_.size();
    return std::string_view(pool_).substr(starts_[f], end - starts_[f]);
  }
  void EnsureIndexed() const;
  void BuildKeyIndex() const;
  // The distinct key number of `key`, or kNoText.
  std::uint32_t FindKey(std::string_view key) const;

  std::string pool_;                   // every key and description, one after another
  std::vector<std::uint32_t> starts_;  // key, text, key, text ... offsets into pool_
  // Built at the first walk after the last Add.
  mutable bool indexed_ = false;
  mutable Index byKey_;
};

inline constexpr std::string_view kDescriptionsFile = "Descrizioni.emu";

// Loads every record up to the first empty key; a missing file loads nothing.
Descriptions ReadDescriptions();

// Whether AppendDescription can store this pair so that it reads back whole.
enum class DescriptionProblem { None, EmptyKey, LineBreak, Quote, NotInCodePage };
DescriptionProblem CheckDescriptionStorable(std::string_view key, std::string_view description);

// Appends one record. Each text is written as a plain line when that reads back
// whole, otherwise between quotes; a pair that cannot be stored writes nothing.
// On a failed write the file is left as it was, never with half a record.
SaveOutcome AppendDescription(std::string_view key, std::string_view description);

}  // namespace valmerin
