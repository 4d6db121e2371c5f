#include "catalogue/folder_files.h"

#include "platform/host_path.h"

namespace valmerin {

bool ReadFolderFile(Folders& folders) {
  if (!FindInCurrentFolder("cartelle.cfg")) return false;
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
    // Any number other than 0 means available, however it is written (0.4, 99999);
    // anything else stays unset, which means not available.
    if (field.kind == FieldValue::Kind::Number) {
      const std::optional<int> whole = field.AsWholeNumber();
      const bool nonZero = field.number != 0;
      available[IndexOf(emulator)] = whole && (*whole != 0) == nonZero ? *whole : nonZero;
    } else if (field.kind == FieldValue::Kind::Text && field.AsWholeNumber()) {
      available[IndexOf(emulator)] = *field.AsWholeNumber();  // a hand-quoted "1"
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

SaveResult WriteAvailabilityFile(const std::array<int, kEmulatorCount>& checkStates) {
  RecordWriter writer;
  writer.WriteRecord(
      {checkStates[IndexOf(kFolderFileOrder[0])], checkStates[IndexOf(kFolderFileOrder[1])],
       checkStates[IndexOf(kFolderFileOrder[2])], checkStates[IndexOf(kFolderFileOrder[3])]});
  return SaveCurrentFolderFile(kAvailabilityFileWritten, writer);
}

SaveResult WriteFolderFile(const Folders& folders) {
  RecordWriter writer;
  for (Emulator emulator : kFolderFileOrder) {
    const std::string& folder = folders[IndexOf(emulator)];
    // A folder that would not read back (a quote, a line break) would shift the
    // folders after it at the next start: refuse the whole file instead.
    if (!TextReadsBack(folder)) return SaveResult::Unencodable;
    writer.WriteRecord({folder});
  }
  return SaveCurrentFolderFile(kFolderFile, writer);
}

}  // namespace valmerin
