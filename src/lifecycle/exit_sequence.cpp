#include "lifecycle/exit_sequence.h"

#include "options/settings_files.h"
#include "platform/file_io.h"
#include "hosting/path_forms.h"

namespace valmerin {

namespace {

std::string KeptMessage(const std::vector<KeptFile>& kept) {
  if (kept.empty()) return {};
  std::string text = "Alcune impostazioni non sono state salvate:";
  for (const KeptFile& file : kept) {
    const std::string why = file.why == FileError::None
                                ? "un testo delle opzioni non si può conservare in questo file"
                                : std::string(DescribeFileError(file.why));
    // A file that was not there is not "kept": say it was not made.
    const bool there = FindInCurrentFolder(file.file).has_value();
    text += "\n\"" + file.file + "\": " + why +
            (there ? "; è rimasto com'era." : "; non è stato creato.");
  }
  return text;
}

}  // namespace

std::vector<std::string> RunExitSequence(MainWindowState& state, const OptionsModel& options,
                                         std::string* message) {
  // What an emulator still running holds waits for the next start.
  const std::string handedBack = state.copies.FinishEnded();

  // A settings file not read this run is written only when the user changed that
  // emulator's options: the controls' defaults would overwrite the user's settings.
  std::vector<std::string> keep = state.unreadableAtStart;
  for (Emulator emulator : kTabOrder) {
    const auto& atStart = state.settingsNotRead[IndexOf(emulator)];
    if (atStart && *atStart == SettingsRecordValues(options, emulator)) {
      keep.emplace_back(InfoOf(emulator).settingsFile);
    }
  }
  const std::vector<KeptFile> kept = SaveSettingsFiles(options, keep);
  if (message != nullptr) {
    *message = handedBack;
    if (const std::string text = KeptMessage(kept); !text.empty())
      *message += (message->empty() ? "" : "\n\n") + text;
  }
  std::vector<std::string> failed;
  for (const KeptFile& file : kept) failed.push_back(file.file);
  return failed;
}

}  // namespace valmerin
