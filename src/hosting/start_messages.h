#pragma once
// The reasons a start fails, as the user reads them.
#include <string>
#include <string_view>

#include "platform/missing_loader.h"

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

inline std::string NotReachableFromDos(std::string_view path) {
  std::string text = "DOSBox non può raggiungere \"";
  text += path;
  text +=
      "\": in DOS ogni nome ha al più 8 caratteri, un punto e 3 di estensione, senza spazi né "
      "lettere accentate. Rinominare il file o la cartella.";
  return text;
}

inline std::string DosShellWouldRedirect(std::string_view characters) {
  std::string text = "la riga di comando DOS contiene ";
  text += characters;
  text +=
      ", che la shell di DOSBox prenderebbe per redirezioni. Togliere questi caratteri dalle "
      "opzioni o dai percorsi.";
  return text;
}

inline std::string NeedsWine32(std::string_view program) {
  std::string text = "Impossibile avviare \"";
  text += program;
  text +=
      "\": è un programma Windows a 32 bit e il Wine installato avvia solo programmi a 64 bit. "
      "Installare wine32; su Debian, come root:\n"
      "dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386";
  return text;
}

inline std::string PreparingWinePrefix(std::string_view prefix) {
  std::string text = "Wine prepara ora la sua cartella \"";
  text += prefix;
  text += "\": il primo avvio può richiedere qualche decina di secondi.";
  return text;
}

inline std::string NeedsDosBox(std::string_view program) {
  std::string text = "Per avviare \"";
  text += program;
#ifdef _WIN32
  text +=
      "\" (un programma DOS) serve DOSBox: installare DOSBox, DOSBox Staging o DOSBox-X "
      "(www.dosbox.com, dosbox-staging.github.io, dosbox-x.com) nella cartella proposta "
      "dall'installazione, o aggiungere la cartella di dosbox.exe al PATH.";
#else
  text += "\" (un programma DOS) serve DOSBox: installare il pacchetto dosbox.";
#endif
  return text;
}

// What the system lacks to run a program that is there, in the form CannotStart takes.
inline std::string MissingLoaderReason(const MissingLoader& missing) {
  switch (missing.kind) {
    case MissingLoader::Kind::Loader32:
      return "è un programma Linux a 32 bit e manca il suo caricatore \"" + missing.path +
             "\". Installare il supporto per i programmi a 32 bit; su Debian, come root:\n"
             "dpkg --add-architecture i386 && apt-get update && apt-get install libc6:i386";
    case MissingLoader::Kind::Loader:
      return "manca il suo caricatore \"" + missing.path +
             "\": il programma è fatto per un altro sistema.";
    case MissingLoader::Kind::Interpreter:
      break;
  }
  return "manca il programma che deve eseguirlo, \"" + missing.path +
         "\" (indicato nella sua prima riga). Installarlo o correggere quella riga.";
}

}  // namespace valmerin
