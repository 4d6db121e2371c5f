#include "options/control_labels.h"

#include "catalogue/record_file.h"
#include "platform/text_codec.h"

namespace valmerin {
namespace {

struct ControlLabel {
  ControlKind kind;
  int number;
  std::string_view caption;
  std::string_view tab;
};

constexpr std::string_view kSoundBlaster = "NESticle, SoundBlaster";
constexpr std::string_view kSoundBlasterPro = "NESticle, SoundBlaster Pro";

constexpr ControlLabel kLabels[] = {
    {ControlKind::Text, 1, "Abilita frame skip:", "ZSnes"},
    {ControlKind::Text, 2, "Abilità correzione gamma:", "ZSnes"},
    {ControlKind::Text, 3, "Seleziona il livello del volume:", "ZSnes"},
    {ControlKind::Text, 4, "Seleziona la percentuale di istruzioni da eseguire:", "ZSnes"},
    {ControlKind::Text, 5, "risultato", "ZSnes"},
    {ControlKind::Text, 7, "Abilita frame skip:", "KGen"},
    {ControlKind::Text, 8, "risultato", "KGen"},
    {ControlKind::Text, 9, "Porta:", kSoundBlaster},
    {ControlKind::Text, 10, "IRQ:", kSoundBlaster},
    {ControlKind::Text, 11, "DMA:", kSoundBlaster},
    {ControlKind::Text, 12, "Porta:", kSoundBlasterPro},
    {ControlKind::Text, 13, "IRQ:", kSoundBlasterPro},
    {ControlKind::Text, 14, "DMA:", kSoundBlasterPro},
    {ControlKind::Text, 15, "Cambia risoluzione video:", "NESticle, altezza"},
    {ControlKind::Text, 16, "Cambia risoluzione video:", "NESticle, larghezza"},
    {ControlKind::Text, 17, "Leggi palette da:", "NESticle"},
    {ControlKind::Text, 18, "Cambia sound rate:", "NESticle"},
    {ControlKind::Text, 19, "Cambia dimensione di un blocco sonoro:", "NESticle"},
    {ControlKind::Text, 20, "La periferica di input n.", "NESticle"},
    {ControlKind::Text, 21, "Imposta virtual FPS:", "NESticle"},
    {ControlKind::Text, 22, "Imposta cicli hblank:", "NESticle"},
    {ControlKind::Text, 23, "Imposta linee vbank:", "NESticle"},
    {ControlKind::Text, 24, "Imposta framelines:", "NESticle"},
    {ControlKind::Text, 25, "Imposta cartella dei file \".NES\":", "NESticle"},
    {ControlKind::Text, 26, "Imposta cartella dei file di salvataggio:", "NESticle"},
    {ControlKind::Text, 27, "Imposta cartella per gli snapshots", "NESticle"},
    {ControlKind::Text, 28, "Imposta cartella per i LOGs", "NESticle"},
    {ControlKind::Text, 29, "Imposta cartella per le patches", "NESticle"},
    {ControlKind::Text, 30, "risultato", "NESticle"},
    {ControlKind::Text, 31, "è del tipo", "NESticle"},
    {ControlKind::Text, 32, "Cartella di ZSnes:", "Generali"},
    {ControlKind::Text, 33, "Cartella di NESticle:", "Generali"},
    {ControlKind::Text, 34, "Cartella di Kgen:", "Generali"},
    {ControlKind::Text, 35, "Cartella di PCEngine:", "Generali"},
    {ControlKind::Text, 36, "risultato", "Magic Engine"},
    {ControlKind::Combo, 1, "Input giocatore 1:", "ZSnes"},
    {ControlKind::Combo, 2, "Input giocatore 2:", "ZSnes"},
    {ControlKind::Combo, 3, "Seleziona sampling rate:", "ZSnes"},
    {ControlKind::Combo, 4, "Seleziona modalità video:", "ZSnes"},
};

}  // namespace

std::string DescribeControl(ControlId control) {
  for (const ControlLabel& label : kLabels) {
    if (label.kind == control.kind && label.number == control.number) {
      return "\"" + std::string(label.caption) + "\" (" + std::string(label.tab) + ")";
    }
  }
  return control.Name();
}

std::string WhyTextCannotBeStored(std::string_view text) {
  if (TextReadsBack(text)) return {};
  if (text.find('"') != std::string_view::npos) {
    return "contiene le virgolette (\"), che non si possono salvare";
  }
  if (text.find_first_of("\r\n") != std::string_view::npos) return "va a capo";
  return "contiene un carattere che non si può salvare nei file del programma";
}

}  // namespace valmerin
