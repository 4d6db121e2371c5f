#pragma once
// The folder and availability files read from any bytes: every folder ends up
// non-empty, and what the OK button would write from them reads back the same (a
// folder that cannot be stored refuses the file and leaves it as it was).
#include <array>

#include "catalogue/folder_files.h"
#include "catalogue/record_file.h"
#include "fuzz_support.h"

namespace valmerin::fuzz {

inline void RemoveFolderFiles() {
  RemoveFiles({kFolderFile, kAvailabilityFile, kAvailabilityFileWritten});
}

inline void FolderFilesTarget(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = AsBytes(data, size);
  RemoveFolderFiles();
  WriteFileBytes(kFolderFile, bytes);
  WriteFileBytes(kAvailabilityFile, bytes);

  Folders folders;
  Require(ReadFolderFile(folders), "the folder file was not found");
  Availability available;
  ReadAvailabilityFile(available);
  ApplyDefaultFolders(folders);
  bool storable = true;
  for (const std::string& folder : folders) {
    Require(!folder.empty(), "a folder stayed empty after the defaults");
    storable = storable && TextReadsBack(folder);
  }

  const SaveResult saved = WriteFolderFile(folders);
  Require((saved == SaveResult::Saved) == storable, "a storable folder was refused, or the reverse");
  if (saved == SaveResult::Saved) {
    Folders back;
    Require(ReadFolderFile(back), "the written folder file was not found");
    Require(back == folders, "the folders came back changed");
  } else {
    Require(ReadFileBytes(kFolderFile) == std::string(bytes), "a refused folder file was changed");
  }

  std::array<int, kEmulatorCount> checks{};
  for (int i = 0; i < kEmulatorCount; ++i) checks[i] = available[i].value_or(0);
  Require(WriteAvailabilityFile(checks) == SaveResult::Saved, "the availability file was not written");
  Availability back;
  ReadAvailabilityFile(back);
  for (int i = 0; i < kEmulatorCount; ++i) {
    Require(back[i] == checks[i], "an availability value came back changed");
  }
  RemoveFolderFiles();
}

}  // namespace valmerin::fuzz
