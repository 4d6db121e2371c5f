#include "catalogue/folder_files.h"

#include "platform/file_io.h"
#include "platform/host_path.h"

namespace valmerin {

bool ReadFolderFile(Folders& folders) {
  // One that cannot be read counts as missing, so the window shows what it would
  // without it.
  const auto path = FindInCurrentFolder("cartelle.cfg");
  if (!path || ExistsButUnreadable(*path)) return false;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kFolderFile);
  for (Emulator emulator : kFolderFileOrder) {
    FieldValue field;
    if (!reader.ReadField(field)) break;  // a short file leaves the rest empty
    folders[IndexOf(emulator)] = field.AsText();
  }
  return true;
}

void ReadAvailabilityFile(Availability& available) {
  if (!FindInCurrentFolder(kAvailabilityFile)) return;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kAvailabilityFile);
  for (Emulator emulator : kFolderFileOrder) {
    FieldValue field;
    if (!reader.ReadField(field)) break;
    if (std::optional<int> state = AvailabilityCheckState(field)) {
      available[IndexOf(emulator)] = *state;
    }
  }
}

void ApplyDefaultFolders(Folders& folders) {
  for (Emulator emulator : kFolderFileOrder) {
    std::string& folder = folders[IndexOf(emulator)];
    if (folder.empty()) folder = std::string(InfoOf(emulator).defaultFolder);
  }
}

bool IsAvailable(const std::optional<int>& value) { return value.has_value() && *value != 0; }

std::optional<int> AvailabilityCheckState(const FieldValue& field) {
  if (field.kind == FieldValue::Kind::Empty) return 0;
  const std::optional<double> number = field.AsNumber();
  if (!number) return std::nullopt;
  if (*number == 0) return 0;
  return *number == 2 ? 2 : 1;
}

SaveOutcome WriteAvailabilityFile(const std::array<int, kEmulatorCount>& checkStates) {
  RecordWriter writer;
  writer.WriteRecord(
      {checkStates[IndexOf(kFolderFileOrder[0])], checkStates[IndexOf(kFolderFileOrder[1])],
       checkStates[IndexOf(kFolderFileOrder[2])], checkStates[IndexOf(kFolderFileOrder[3])]});
  const bool existing = FindInCurrentFolder(kAvailabilityFile).has_value();
  return SaveCurrentFolderFile(existing ? kAvailabilityFile : kAvailabilityFileWritten, writer);
}

SaveOutcome WriteFolderFile(const Folders& folders) {
  RecordWriter writer;
  for (Emulator emulator : kFolderFileOrder) {
    const std::string& folder = folders[IndexOf(emulator)];
    // A folder that would not read back (a quote, a line break) would shift the
    // folders after it at the next start: refuse the whole file instead.
    if (!TextReadsBack(folder)) return {SaveResult::Unencodable, FileError::None};
    writer.WriteRecord({folder});
  }
  return SaveCurrentFolderFile(kFolderFile, writer);
}

}  // namespace valmerin
