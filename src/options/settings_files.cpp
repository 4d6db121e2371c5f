#include "options/settings_files.h"

#include <algorithm>
#include <optional>

#include "catalogue/record_file.h"
#include "options/settings_records.h"
#include "platform/file_io.h"
#include "platform/host_path.h"

namespace valmerin {
namespace {

// A Boolean is itself, a number is true unless 0, Empty is false; a word is no
// option value at all.
std::optional<bool> AsOptionValue(const FieldValue& field) {
  switch (field.kind) {
    case FieldValue::Kind::Empty:
      return false;
    case FieldValue::Kind::Boolean:
      return field.boolean;
    case FieldValue::Kind::Number:
      return field.number != 0;
    case FieldValue::Kind::Text:
      if (std::optional<int> number = field.AsWholeNumber()) return *number != 0;
      return std::nullopt;
  }
  return std::nullopt;
}

// Refused or unconvertible values leave the control as it was.
void ApplyField(OptionsModel& options, const SettingsField& field, const FieldValue& value) {
  switch (field.kind) {
    case FieldKind::CheckValue:
      if (std::optional<int> state = value.AsWholeNumber()) options.SetCheck(field.control, *state);
      break;
    case FieldKind::OptionValue:
      if (std::optional<bool> selected = AsOptionValue(value)) {
        options.SetOption(field.control, *selected);
      }
      break;
    case FieldKind::BoxText:
      options.SetText(field.control, value.AsText());
      break;
    case FieldKind::ComboText:
      options.SetComboText(field.control, value.AsText());
      break;
    case FieldKind::ScrollValue:
      if (std::optional<int> position = value.AsWholeNumber()) {
        options.SetScroll(field.control, *position);
      }
      break;
    case FieldKind::LinkedText:
      // The text first; a bar that moves then writes its position back as digits.
      options.SetText(field.control, value.AsText());
      if (std::optional<int> position = value.AsWholeNumber()) {
        options.SetScroll(field.scroll, *position);
      }
      break;
  }
}

RecordValue FieldToWrite(const OptionsModel& options, const SettingsField& field) {
  switch (field.kind) {
    case FieldKind::CheckValue:
      return options.Check(field.control);
    case FieldKind::OptionValue:
      return options.Option(field.control);
    case FieldKind::BoxText:
    case FieldKind::LinkedText:
      return options.Text(field.control);
    case FieldKind::ComboText:
      return options.ComboText(field.control);
    case FieldKind::ScrollValue:
      return options.Scroll(field.control);
  }
  return std::monostate{};
}

void ReadSettingsFile(OptionsModel& options, SettingsBuffer& buffer, Emulator emulator) {
  const std::string_view name = InfoOf(emulator).settingsFile;
  if (!FindInCurrentFolder(name)) return;
  FieldReader reader = FieldReader::OpenCurrentFolderFile(name);
  const std::span<const SettingsField> record = SettingsRecordOf(emulator);

  // Only the slots this file actually filled set their controls: a file that ends
  // early leaves the rest of its controls as they were.
  std::array<bool, kSettingsBufferSize> filled{};
  for (size_t slot = 0; slot < record.size(); ++slot) {
    filled[slot] = reader.ReadField(buffer[slot]);
  }
  for (size_t slot = 0; slot < record.size(); ++slot) {
    if (filled[slot]) ApplyField(options, record[slot], buffer[slot]);
  }
}

}  // namespace

void ReadSettingsFiles(OptionsModel& options, SettingsBuffer& buffer,
                       const std::array<bool, kEmulatorCount>& available) {
  for (Emulator emulator : kTabOrder) {
    if (available[IndexOf(emulator)]) ReadSettingsFile(options, buffer, emulator);
  }
}

std::vector<RecordValue> SettingsRecordValues(const OptionsModel& options, Emulator emulator) {
  std::vector<RecordValue> values;
  for (const SettingsField& field : SettingsRecordOf(emulator)) {
    values.push_back(FieldToWrite(options, field));
  }
  return values;
}

std::vector<KeptFile> SaveSettingsFiles(const OptionsModel& options,
                                        const std::vector<std::string>& keep) {
  std::vector<KeptFile> failed;
  for (Emulator emulator : kTabOrder) {
    const std::string name(InfoOf(emulator).settingsFile);
    // What could not be read was never seen by the window: writing would lose it.
    if (std::find(keep.begin(), keep.end(), name) != keep.end()) continue;
    if (auto path = FindInCurrentFolder(name); path && ExistsButUnreadable(*path)) {
      failed.push_back({name, FileError::Unreadable});
      continue;
    }
    const std::vector<RecordValue> values = SettingsRecordValues(options, emulator);
    bool storable = true;
    for (const RecordValue& value : values) {
      if (const auto* text = std::get_if<std::string>(&value)) {
        storable = storable && TextReadsBack(*text);
      }
    }
    // A text that would not read back would shift every field after it: keep the
    // old file instead.
    if (!storable) {
      failed.push_back({name, FileError::None});
      continue;
    }
    RecordWriter writer;
    writer.WriteRecord(values);
    if (const SaveOutcome saved = SaveCurrentFolderFile(name, writer); saved != SaveResult::Saved) {
      failed.push_back({name, saved.error});
    }
  }
  return failed;
}

bool OptionTextStorable(std::string_view text) { return TextReadsBack(text); }

}  // namespace valmerin
