#include "options/command_line_builder.h"

#include <variant>

#include "catalogue/folder_files.h"
#include "catalogue/record_file.h"
#include "launch/launch_parameters.h"
#include "options/control_labels.h"
#include "options/switch_tables.h"
#include "platform/file_io.h"
#include "platform/host_path.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// The boxes that show each emulator's last built line, in tab order.
constexpr std::array<int, kEmulatorCount> kResultBoxes = {5, 8, 30, 36};

bool Holds(const SwitchRow& row, const OptionsModel& options) {
  switch (row.condition) {
    case SwitchCondition::Always:
      return true;
    case SwitchCondition::Ticked:
      return options.Check(row.control) == 1;
    case SwitchCondition::NotTicked:
      return options.Check(row.control) != 1;
    case SwitchCondition::Selected:
      return options.Option(row.control);
    case SwitchCondition::ComboIs:
      return options.ComboText(row.control) == row.text;
  }
  return false;
}

std::string FirstCharacter(const std::string& text) {
  if (text.empty()) return {};
  size_t end = 0;
  if (!NextCodePoint(text, end)) end = 1;
  return text.substr(0, end);
}

std::string PartText(const SwitchPart& part, const OptionsModel& options) {
  switch (part.kind) {
    case PartKind::Literal:
      return std::string(part.text);
    case PartKind::TextOf:
      return options.Text(part.control);
    case PartKind::ScrollSigned:
      return " " + std::to_string(options.Scroll(part.control));
    case PartKind::ComboFirstChar:
      return FirstCharacter(options.ComboText(part.control));
    case PartKind::LastDigitPlusOne:
      return std::string(1, std::to_string(options.Scroll(part.control) + 1).back());
  }
  return {};
}

// The control whose text a part copies, if any.
std::optional<ControlId> SourceOf(const SwitchPart& part) {
  if (part.kind == PartKind::TextOf) return ControlId{ControlKind::Text, part.control};
  if (part.kind == PartKind::ComboFirstChar) return ControlId{ControlKind::Combo, part.control};
  return std::nullopt;
}

std::string WithFinalSeparator(std::string folder) {
  if (folder.empty()) return folder;
#ifndef _WIN32
  // A host path keeps the host's separator; either one already ends it.
  if (folder.front() == '/') {
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
  }
#endif
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

std::string UnstorableMessage(ControlId control, const std::string& why) {
  return "Il testo della casella " + DescribeControl(control) + " " + why +
         ". Correggerlo e premere di nuovo OK: nessun file è stato scritto.";
}

// The first text about to be written that would not read back, as a message.
std::optional<std::string> FindUnstorable(const OptionsModel& options, const CommandLines& lines,
                                          const Folders& folders) {
  for (Emulator emulator : kTabOrder) {
    const int index = IndexOf(emulator);
    if (!lines[index]) continue;
    for (const SwitchRow& row : SwitchTableOf(emulator)) {
      if (!Holds(row, options)) continue;
      for (const SwitchPart& part : row.parts) {
        std::optional<ControlId> source = SourceOf(part);
        if (!source) continue;
        std::string why = WhyTextCannotBeStored(PartText(part, options));
        if (!why.empty()) return UnstorableMessage(*source, why);
      }
    }
    std::string why = WhyTextCannotBeStored(*lines[index]);
    if (!why.empty()) return UnstorableMessage({ControlKind::Text, kResultBoxes[index]}, why);
  }
  for (Emulator emulator : kFolderFileOrder) {
    std::string why = WhyTextCannotBeStored(folders[IndexOf(emulator)]);
    if (!why.empty()) {
      return UnstorableMessage({ControlKind::Text, InfoOf(emulator).folderTextBox}, why);
    }
  }
  return std::nullopt;
}

ConfirmOutcome NotWritten(std::string_view file, const SaveOutcome& saved) {
  // Named as the folder spells it, which is the file that was written.
  const std::string name = Utf8FromPath(CurrentFolderFileForWriting(file).filename());
  std::string message = "Impossibile scrivere il file \"" + name + "\"";
  if (saved.error != FileError::None) message += ": " + std::string(DescribeFileError(saved.error));
  return {false, message + "."};
}

// A file of OK's that is there but cannot be read is replaced only when the user
// says so: its content was never seen by this window.
std::optional<std::string> RefusedUnreadable(const ReplaceQuestion& mayReplace) {
  for (std::string_view name : {kAvailabilityFile, kLaunchParametersFile, kFolderFile}) {
    const auto path = FindInCurrentFolder(name);
    if (!path || !ExistsButUnreadable(*path)) continue;
    const std::string file = Utf8FromPath(path->filename());
    if (!mayReplace || !mayReplace(file)) {
      return "Il file \"" + file +
             "\" non si può leggere ed è rimasto com'è: le opzioni non sono state salvate.";
    }
  }
  return std::nullopt;
}

}  // namespace

CommandLines BuildCommandLines(const OptionsModel& options) {
  CommandLines lines;
  for (Emulator emulator : kTabOrder) {
    std::optional<std::string>& line = lines[IndexOf(emulator)];
    for (const SwitchRow& row : SwitchTableOf(emulator)) {
      if (!Holds(row, options)) continue;
      if (!line) line.emplace();
      for (const SwitchPart& part : row.parts) *line += PartText(part, options);
    }
  }
  return lines;
}

ConfirmOutcome ConfirmOptions(OptionsModel& options, const ReplaceQuestion& mayReplace) {
  const CommandLines lines = BuildCommandLines(options);
  Folders folders;
  for (Emulator emulator : kTabOrder) {
    folders[IndexOf(emulator)] = WithFinalSeparator(options.Text(InfoOf(emulator).folderTextBox));
  }
  if (std::optional<std::string> message = FindUnstorable(options, lines, folders)) {
    return {false, *message};
  }
  if (std::optional<std::string> message = RefusedUnreadable(mayReplace)) return {false, *message};

  std::array<int, kEmulatorCount> available{};
  for (Emulator emulator : kTabOrder) {
    available[IndexOf(emulator)] = options.Check(InfoOf(emulator).availabilityCheck);
  }
  if (const SaveOutcome saved = WriteAvailabilityFile(available); saved != SaveResult::Saved) {
    return NotWritten(kAvailabilityFileWritten, saved);
  }

  RecordWriter parameters;
  for (int index = 0; index < kEmulatorCount; ++index) {
    options.SetText(kResultBoxes[index], lines[index].value_or(""));
    // A line that never received a switch is the empty value: no quotes at all.
    if (lines[index]) {
      parameters.WriteRecord({RecordValue(*lines[index])});
    } else {
      parameters.WriteRecord({RecordValue(std::monostate{})});
    }
  }
  if (const SaveOutcome saved = SaveCurrentFolderFile(kLaunchParametersFile, parameters);
      saved != SaveResult::Saved) {
    return NotWritten(kLaunchParametersFile, saved);
  }

  for (Emulator emulator : kFolderFileOrder) {
    options.SetText(InfoOf(emulator).folderTextBox, folders[IndexOf(emulator)]);
  }
  if (const SaveOutcome saved = WriteFolderFile(folders); saved != SaveResult::Saved) {
    return NotWritten(kFolderFile, saved);
  }
  return {};
}

}  // namespace valmerin
