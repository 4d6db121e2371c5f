// The options window's controls as data: one row per control, walked by one loop.
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <span>

#include "ui/form2_pages.h"

namespace valmerin {
namespace {

enum class Kind { Check, Option, Text, ValueBox, Combo, Scroll, Label, Frame };

struct ControlRow {
  const char* name;
  Kind kind;
  const char* caption = "";
  const char* frame = nullptr;  // the frame that holds it, if any
};

constexpr ControlRow kZSnes[] = {
    {"Check1", Kind::Check, "Disabilita modificazione del colore 0 in modalità 256 colori"},
    {"Check2", Kind::Check, "Disabilita hack della velocità \"SPC700\""},
    {"Check3", Kind::Check, "Forza suono a 8 bit"},
    {"Check4", Kind::Check, "[Off by 1 line fix]"},
    {"Check5", Kind::Check, "Abilita frame skip automatico"},
    {"Check6", Kind::Check, "Occupa lo schermo intero (320x240 VESA2/640x480 VESA2)"},
    {"Check7", Kind::Check, "Immagine proporzionata e centrata (640x480 VESA2)"},
    {"Check8", Kind::Check, "Inizia col debugger"},
    {"Check9", Kind::Check, "Disabilita l'emulazione del suono DSP"},
    {"Check10", Kind::Check, "Tralascia l'attesa per la pressione di INVIO all'inizio"},
    {"Check11", Kind::Check, "Abilita frame skip:"},
    {"Check12", Kind::Check, "Abilità correzione gamma:"},
    {"Check13", Kind::Check, "Forza HiROM"},
    {"Check14", Kind::Check, "[Uninterleave ROM Image]"},
    {"Check15", Kind::Check, "Disabilita mouse"},
    {"Check16", Kind::Check, "Seleziona il livello del volume:"},
    {"Check17", Kind::Check, "Forza LoRom"},
    {"Check18", Kind::Check, "Disabilita GUI"},
    {"Check19", Kind::Check, "Abilita ScanLines (soltanto 256x256 e 640x480)"},
    {"Check20", Kind::Check, "Abilita copia FPU"},
    {"Check21", Kind::Check, "Seleziona la percentuale di istruzioni da eseguire:"},
    {"Check22", Kind::Check, "Abilita buffering del suono"},
    {"Check23", Kind::Check, "Seleziona sampling rate:"},
    {"Check24", Kind::Check, "Abilita emulazione suono di SPC700/DSP"},
    {"Check25", Kind::Check, "Seleziona modalità video:"},
    {"Check26", Kind::Check, "Forza timing PAL"},
    {"Check27", Kind::Check, "Forza timing NTSC"},
    {"Check28", Kind::Check, "Visualizza tutte le estensioni nella GUI"},
    {"Check29", Kind::Check, "Abilita VSync"},
    {"Check30", Kind::Check, "Abilita Eagle (640x480x256) o Interpolation (640x480x65536)"},
    {"Check31", Kind::Check, "Abilita suono stereo"},
    {"Check32", Kind::Check, "Abilita copia MMX"},
    {"Text1", Kind::ValueBox},
    {"VScroll1", Kind::Scroll},
    {"Text2", Kind::ValueBox},
    {"VScroll2", Kind::Scroll},
    {"Text3", Kind::ValueBox},
    {"VScroll3", Kind::Scroll},
    {"Text4", Kind::ValueBox},
    {"VScroll4", Kind::Scroll},
    {"Combo3", Kind::Combo},
    {"Combo4", Kind::Combo},
    {"Label1", Kind::Label, "Input giocatore 1:"},
    {"Combo1", Kind::Combo},
    {"Label2", Kind::Label, "Input giocatore 2:"},
    {"Combo2", Kind::Combo},
    {"Text5", Kind::Text},
};

constexpr ControlRow kKGen[] = {
    {"Frame1", Kind::Frame, "Seleziona versione"},
    {"Option1", Kind::Option, "Giapponese (JAP)", "Frame1"},
    {"Option2", Kind::Option, "Stati Uniti d'America (USA)", "Frame1"},
    {"Option3", Kind::Option, "Europa (EUR)", "Frame1"},
    {"Option4", Kind::Option, "Rilevamento automatico", "Frame1"},
    {"Check33", Kind::Check, "Abilita frame skip:"},
    {"Text7", Kind::ValueBox},
    {"VScroll5", Kind::Scroll},
    {"Check34", Kind::Check, "Disabilita l'emulazione del suono"},
    {"Check35", Kind::Check, "Disabilita il supporto per i nomi di file lunghi"},
    {"Check36", Kind::Check, "Forza suono a 8 bit"},
    {"Check37", Kind::Check, "Abilita suono a 44.100 hz"},
    {"Check38", Kind::Check, "Abilita suono stereo"},
    {"Text8", Kind::Text},
};

constexpr ControlRow kNESticle[] = {
    {"Check39", Kind::Check, "Imposta manualmente settaggi hardware per schede SoundBlaster"},
    {"Label3", Kind::Label, "Porta:"},
    {"Text9", Kind::Text},
    {"Label4", Kind::Label, "IRQ:"},
    {"Text10", Kind::Text},
    {"Label5", Kind::Label, "DMA:"},
    {"Text11", Kind::Text},
    {"Check40", Kind::Check, "Imposta manualmente settaggi hardware per schede SoundBlaster Pro"},
    {"Label6", Kind::Label, "Porta:"},
    {"Text12", Kind::Text},
    {"Label7", Kind::Label, "IRQ:"},
    {"Text13", Kind::Text},
    {"Label8", Kind::Label, "DMA:"},
    {"Text14", Kind::Text},
    {"Check41", Kind::Check, "Non usare estensioni VESA 2.0"},
    {"Check42", Kind::Check, "Forza modalità video \"banked\""},
    {"Check43", Kind::Check, "Forza modalità video \"linear\""},
    {"Check44", Kind::Check, "Disabilita nomi di file lunghi"},
    {"Check45", Kind::Check, "Usa istruzione pentium di profilamento RDTSC"},
    {"Check46", Kind::Check, "Utilizza FPU per la copia della memoria"},
    {"Check47", Kind::Check, "Cambia risoluzione video:"},
    {"Text16", Kind::Text},
    {"Label9", Kind::Label, "X"},
    {"Text15", Kind::Text},
    {"Check48", Kind::Check, "Disabilita il suono"},
    {"Check49", Kind::Check,
     "Attendi che la sincronizzazione verticale sia completa per disegnare i frames."},
    {"Check50", Kind::Check, "Leggi palette da:"},
    {"Text17", Kind::Text},
    {"Check51", Kind::Check, "Cambia sound rate:"},
    {"Text18", Kind::Text},
    {"Check52", Kind::Check, "Cambia dimensione di un blocco sonoro:"},
    {"Text19", Kind::Text},
    {"Check53", Kind::Check, "Codici Op (opcodes) per trap errati"},
    // Text20 stands in the ten blanks of this caption.
    {"Check54", Kind::Check, "La periferica di input n.          è del tipo"},
    {"Text20", Kind::Text},
    {"Text31", Kind::Text},
    {"Check55", Kind::Check, "Imposta virtual FPS:"},
    {"Text21", Kind::Text},
    {"Check56", Kind::Check, "Imposta cicli hblank:"},
    {"Text22", Kind::Text},
    {"Check57", Kind::Check, "Imposta linee vbank:"},
    {"Text23", Kind::Text},
    {"Check58", Kind::Check, "Imposta framelines:"},
    {"Text24", Kind::Text},
    {"Check59", Kind::Check, "Forza output sonoro a 8 bit"},
    {"Check60", Kind::Check, "Imposta cartella dei file \".NES\":"},
    {"Text25", Kind::Text},
    {"Check61", Kind::Check, "Imposta cartella dei file di salvataggio:"},
    {"Text26", Kind::Text},
    {"Check62", Kind::Check, "Imposta cartella per gli snapshots"},
    {"Text27", Kind::Text},
    {"Check63", Kind::Check, "Imposta cartella per i LOGs"},
    {"Text28", Kind::Text},
    {"Check64", Kind::Check, "Imposta cartella per le patches"},
    {"Text29", Kind::Text},
    {"Text30", Kind::Text},
};

constexpr ControlRow kGeneral[] = {
    {"Label10", Kind::Label, "Cartella di ZSnes:"},     {"Text32", Kind::Text},
    {"Label11", Kind::Label, "Cartella di NESticle:"},  {"Text33", Kind::Text},
    {"Label12", Kind::Label, "Cartella di Kgen:"},      {"Text34", Kind::Text},
    {"Label13", Kind::Label, "Cartella di PCEngine:"},  {"Text35", Kind::Text},
    {"Frame2", Kind::Frame, "Emulatori disponibili:"},  {"Check71", Kind::Check, "ZSnes", "Frame2"},
    {"Check72", Kind::Check, "NESticle", "Frame2"},     {"Check73", Kind::Check, "KGen", "Frame2"},
    {"Check74", Kind::Check, "Magic Engine", "Frame2"},
};

constexpr ControlRow kMagicEngine[] = {
    {"Check65", Kind::Check, "Cambia il formato dell'image"},
    {"Check66", Kind::Check, "Fai partire direttamente dal CD"},
    {"Check67", Kind::Check, "Abilita l'emulazione Super Grafx"},
    {"Check68", Kind::Check, "Inverti l'ordine dei bit dell'image (-us)"},
    {"Check69", Kind::Check, "Disabilita i joypad"},
    {"Check70", Kind::Check, "Disabilita la scheda audio"},
    {"Text36", Kind::Text},
};

struct PageRow {
  const char* caption;
  std::span<const ControlRow> controls;
};

const PageRow kPages[] = {
    {"ZSnes", kZSnes},
    {"KGen", kKGen},
    {"NESticle", kNESticle},
    {"Generali", kGeneral},
    {"Magic Engine", kMagicEngine},
};

QWidget* Create(const ControlRow& row, QWidget* parent) {
  const QString caption = QString::fromUtf8(row.caption);
  QWidget* widget = nullptr;
  switch (row.kind) {
    case Kind::Check:
      widget = new QCheckBox(caption, parent);
      break;
    case Kind::Option: {
      auto* option = new QRadioButton(caption, parent);
      // The model keeps the group exclusive, and may leave no button selected.
      option->setAutoExclusive(false);
      widget = option;
      break;
    }
    case Kind::Text:
      widget = new QLineEdit(parent);
      break;
    case Kind::ValueBox: {
      auto* box = new QLineEdit(parent);
      box->setReadOnly(true);
      widget = box;
      break;
    }
    case Kind::Combo: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      // Typed texts are settings, not new entries of the list.
      combo->setInsertPolicy(QComboBox::NoInsert);
      // A text typed in another letter case is not the item: it must stay as typed.
      combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
      widget = combo;
      break;
    }
    case Kind::Scroll:
      widget = new QScrollBar(Qt::Vertical, parent);
      break;
    case Kind::Label:
      widget = new QLabel(caption, parent);
      break;
    case Kind::Frame:
      widget = new QGroupBox(caption, parent);
      break;
  }
  widget->setObjectName(QString::fromLatin1(row.name));
  return widget;
}

}  // namespace

void BuildOptionsPages(QTabWidget* tabs) {
  for (const PageRow& page : kPages) {
    auto* widget = new QWidget;
    for (const ControlRow& row : page.controls) {
      QWidget* parent = widget;
      if (row.frame != nullptr)
        parent = widget->findChild<QWidget*>(QString::fromLatin1(row.frame));
      Create(row, parent);
    }
    tabs->addTab(widget, QString::fromUtf8(page.caption));
  }
}

}  // namespace valmerin
