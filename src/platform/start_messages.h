#pragma once
// The reasons a start fails, as the user reads them.
#include <string>
#include <string_view>

namespace valmerin {

inline std::string CannotStart(std::string_view program, std::string_view reason) {
  std::string text = "Impossibile avviare \"";
  text += program;
  text += "\": ";
  text += reason;
  return text;
}

inline constexpr std::string_view kNoSuchFile = "il file non esiste.";
inline constexpr std::string_view kNotAProgram = "il file non è un programma.";
inline constexpr std::string_view kNotExecutable = "il file non è eseguibile.";
inline constexpr std::string_view kNoWine = "per avviarlo serve Wine, che non è installato.";
inline constexpr std::string_view kStartFailed = "il sistema non è riuscito ad avviarlo.";
inline constexpr std::string_view kNotForDosBox =
    "i suoi argomenti non si possono passare a un programma DOS.";
inline constexpr std::string_view kNoDosBoxConfiguration =
    "non è stato possibile scrivere la configurazione di DOSBox.";

inline std::string NeedsDosBox(std::string_view program) {
  std::string text = "Per avviare \"";
  text += program;
#ifdef _WIN32
  text +=
      "\" (un programma DOS) serve DOSBox: installare DOSBox e aggiungere la sua cartella al PATH.";
#else
  text += "\" (un programma DOS) serve DOSBox: installare il pacchetto dosbox.";
#endif
  return text;
}

}  // namespace valmerin
