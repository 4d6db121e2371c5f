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

}  // namespace valmerin
