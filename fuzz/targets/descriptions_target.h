#pragma once
// The descriptions file read from any bytes: the indexed walk gives what a plain
// record-by-record walk gives, and every record that can be stored is appended and
// read back unchanged.
#include <algorithm>

#include "catalogue/descriptions.h"
#include "fuzz_support.h"
#include "../../tests/support/plain_walks.h"

namespace valmerin::fuzz {

using reference::PlainResolveGameName;

inline void DescriptionsTarget(const std::uint8_t* data, std::size_t size) {
  // Appending and reading back costs a folder pass each: a few records show it.
  constexpr std::size_t kWalked = 64;
  constexpr std::size_t kAppended = 16;

  RemoveFiles({kDescriptionsFile});
  WriteFileBytes(kDescriptionsFile, AsBytes(data, size));
  const Descriptions loaded = ReadDescriptions();

  for (std::size_t i = 0; i < std::min(loaded.Count(), kWalked); ++i) {
    Require(!loaded.Key(i).empty(), "a record with an empty key was loaded");
    for (std::string_view name : {loaded.Key(i), loaded.Text(i)}) {
      Require(loaded.ResolveView(name) == PlainResolveGameName(loaded, name),
              "the forward walk skipped or added a record");
    }
  }

  RemoveFiles({kDescriptionsFile});
  Descriptions kept;
  for (std::size_t i = 0; i < std::min(loaded.Count(), kAppended); ++i) {
    const bool storable = CheckDescriptionStorable(loaded.Key(i), loaded.Text(i)) ==
                          DescriptionProblem::None;
    const SaveResult saved = AppendDescription(loaded.Key(i), loaded.Text(i));
    Require((saved == SaveResult::Saved) == storable, "a storable record was refused, or the reverse");
    if (storable) kept.Add(loaded.Key(i), loaded.Text(i));
  }
  const Descriptions back = ReadDescriptions();
  Require(back.Count() == kept.Count(), "appended records came back in another number");
  for (std::size_t i = 0; i < kept.Count(); ++i) {
    Require(back.Key(i) == kept.Key(i) && back.Text(i) == kept.Text(i),
            "an appended record came back changed");
  }
  RemoveFiles({kDescriptionsFile});
}

}  // namespace valmerin::fuzz
