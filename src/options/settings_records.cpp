#include "options/settings_records.h"

#include <array>
#include <vector>

namespace valmerin {
namespace {

void AddChecks(std::vector<SettingsField>& fields, int first, int last) {
  for (int n = first; n <= last; ++n) fields.push_back({FieldKind::CheckValue, n});
}

void AddTexts(std::vector<SettingsField>& fields, int first, int last) {
  for (int n = first; n <= last; ++n) fields.push_back({FieldKind::BoxText, n});
}

std::vector<SettingsField> ZSnesRecord() {
  std::vector<SettingsField> fields;
  AddChecks(fields, 1, 32);
  for (int combo = 1; combo <= 4; ++combo) fields.push_back({FieldKind::ComboText, combo});
  // The scroll bars are not fields of their own: their value boxes carry them.
  for (int bar = 1; bar <= 4; ++bar) fields.push_back({FieldKind::LinkedText, bar, bar});
  fields.push_back({FieldKind::BoxText, 5});
  return fields;
}

std::vector<SettingsField> KGenRecord() {
  std::vector<SettingsField> fields;
  AddChecks(fields, 33, 38);
  for (int option = 1; option <= 4; ++option) fields.push_back({FieldKind::OptionValue, option});
  AddTexts(fields, 7, 8);
  fields.push_back({FieldKind::ScrollValue, 5});
  return fields;
}

std::vector<SettingsField> NESticleRecord() {
  // Text15 (height) is stored before Text16 (width), in control order.
  std::vector<SettingsField> fields;
  AddChecks(fields, 39, 64);
  AddTexts(fields, 9, 29);
  return fields;
}

std::vector<SettingsField> MagicEngineRecord() {
  std::vector<SettingsField> fields;
  AddChecks(fields, 65, 70);
  return fields;
}

}  // namespace

std::span<const SettingsField> SettingsRecordOf(Emulator emulator) {
  static const std::array<std::vector<SettingsField>, kEmulatorCount> records = {
      ZSnesRecord(), KGenRecord(), NESticleRecord(), MagicEngineRecord()};
  return records[IndexOf(emulator)];
}

}  // namespace valmerin
