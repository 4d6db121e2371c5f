#include "options/options_model.h"

#include <algorithm>
#include <utility>

#include "catalogue/folder_files.h"
#include "catalogue/record_file.h"

namespace valmerin {
namespace {

struct KindName {
  ControlKind kind;
  std::string_view prefix;
};

constexpr std::array<KindName, 5> kKindNames = {{
    {ControlKind::Check, "Check"},
    {ControlKind::Option, "Option"},
    {ControlKind::Text, "Text"},
    {ControlKind::Combo, "Combo"},
    {ControlKind::Scroll, "VScroll"},
}};

// The texts the window was designed with; Text6 is not on the window.
constexpr std::array<std::string_view, kTextCount + 1> kDesignTexts = {
    "",
    "0",      // Text1, VScroll1's value box
    "0",      // Text2
    "100",    // Text3
    "100",    // Text4
    "Text5",  // ZSnes result box
    "",       // Text6
    "0",      // Text7, VScroll5's value box
    "Text8",  // KGen result box
    "220",
    "5",
    "1",  // SoundBlaster port, IRQ, DMA
    "220",
    "5",
    "1",                           // SoundBlaster Pro port, IRQ, DMA
    "224",                         // Text15, height
    "256",                         // Text16, width
    "C:\\NESticle\\NESticle.pal",  // Text17
    "22010",                       // Text18
    "256",                         // Text19
    "",
    "",
    "",
    "",
    "",  // Text20..Text24
    "C:\\NESticle\\",
    "C:\\NESticle\\",
    "C:\\NESticle\\",
    "C:\\NESticle\\",
    "C:\\NESticle\\",  // Text25..Text29
    "Text30",          // NESticle result box
    "",                // Text31
    "C:\\ZSnes\\",
    "C:\\NESticle\\",
    "C:\\KGen\\",
    "C:\\PCE\\",  // Text32..Text35
    "Text36",     // Magic Engine result box
};

constexpr std::array<std::string_view, kComboCount + 1> kDesignComboTexts = {
    "", "Tastiera", "Tastiera", "3 - 44100", "0 - 320x240x256"};

const std::vector<std::string>& InputDevices() {
  static const std::vector<std::string> items = {"Niente",     "Tastiera",   "Joystick",  "Gamepad",
                                                 "4 Pulsanti", "6 Pulsanti", "Sidewinder"};
  return items;
}

// Listed by rate, so the codes run 0, 1, 4, 2, 5, 3.
const std::vector<std::string>& SamplingRates() {
  static const std::vector<std::string> items = {"0 - 8000",  "1 - 11025", "4 - 16000",
                                                 "2 - 22050", "5 - 32000", "3 - 44100"};
  return items;
}

const std::vector<std::string>& VideoModes() {
  static const std::vector<std::string> items = {
      "0 - 320x240x256",           "1 - 256x256x256",          "2 - 320x240x256 (VESA2)",
      "3 - 320x240x65536 (VESA2)", "4 - 640x480x256 (VESA2)",  "5 - 640x480x65536 (VESA2)",
      "6 - 512x384x256 (VESA2)",   "7 - 512x384x65536 (VESA2)"};
  return items;
}

constexpr std::array<ScrollLimits, kScrollCount + 1> kLimits = {
    {{0, 0}, {0, 9}, {0, 5}, {0, 100}, {50, 120}, {0, 3}}};
constexpr std::array<int, kScrollCount + 1> kValueBoxes = {0, 1, 2, 3, 4, 7};
// As stored in the design; start-up then raises VScroll3 and VScroll4 to 100.
constexpr std::array<int, kScrollCount + 1> kDesignScrolls = {0, 0, 0, 0, 50, 0};

constexpr std::array<int, 4> kAvailabilityChecks = {71, 72, 73, 74};

bool InRange(int n, int count) { return n >= 1 && n <= count; }

// Whether the text was new.
bool Assign(std::string& slot, std::string text) {
  if (slot == text) return false;
  slot = std::move(text);
  return true;
}

}  // namespace

std::string ControlId::Name() const {
  for (const KindName& k : kKindNames) {
    if (k.kind == kind) return std::string(k.prefix) + std::to_string(number);
  }
  return {};
}

OptionsModel::OptionsModel() {
  for (int n : kAvailabilityChecks) checks_[n] = 1;
  options_[4] = true;
  for (int n = 1; n <= kTextCount; ++n) texts_[n] = std::string(kDesignTexts[n]);
  for (int n = 1; n <= kComboCount; ++n) comboTexts_[n] = std::string(kDesignComboTexts[n]);
  for (int n = 1; n <= kScrollCount; ++n) scrolls_[n] = kDesignScrolls[n];
}

void OptionsModel::Changed(ControlKind kind, int n) {
  if (listener_) listener_(ControlId{kind, n});
}

int OptionsModel::Check(int n) const { return InRange(n, kCheckCount) ? checks_[n] : 0; }

bool OptionsModel::SetCheck(int n, int state) {
  if (!InRange(n, kCheckCount) || state < 0 || state > 2) return false;
  if (checks_[n] != state) {
    checks_[n] = state;
    Changed(ControlKind::Check, n);
  }
  return true;
}

bool OptionsModel::Option(int n) const { return InRange(n, kOptionCount) && options_[n]; }

void OptionsModel::SetOption(int n, bool selected) {
  if (!InRange(n, kOptionCount)) return;
  if (selected) {
    for (int other = 1; other <= kOptionCount; ++other) {
      if (other != n && options_[other]) {
        options_[other] = false;
        Changed(ControlKind::Option, other);
      }
    }
  }
  if (options_[n] != selected) {
    options_[n] = selected;
    Changed(ControlKind::Option, n);
  }
}

const std::string& OptionsModel::Text(int n) const {
  return InRange(n, kTextCount) ? texts_[n] : texts_[0];
}

void OptionsModel::SetText(int n, std::string text) {
  if (InRange(n, kTextCount) && Assign(texts_[n], std::move(text))) Changed(ControlKind::Text, n);
}

const std::string& OptionsModel::ComboText(int n) const {
  return InRange(n, kComboCount) ? comboTexts_[n] : comboTexts_[0];
}

void OptionsModel::SetComboText(int n, std::string text) {
  if (InRange(n, kComboCount) && Assign(comboTexts_[n], std::move(text))) {
    Changed(ControlKind::Combo, n);
  }
}

const std::vector<std::string>& OptionsModel::ComboItems(int n) const {
  return InRange(n, kComboCount) ? comboItems_[n] : comboItems_[0];
}

int OptionsModel::Scroll(int n) const { return InRange(n, kScrollCount) ? scrolls_[n] : 0; }

bool OptionsModel::SetScroll(int n, int value) {
  if (!InRange(n, kScrollCount)) return false;
  const ScrollLimits limits = LimitsOf(n);
  if (value < limits.lowest || value > limits.highest) return false;
  // Like the bar's change event: only a new position rewrites the value box.
  if (scrolls_[n] != value) {
    scrolls_[n] = value;
    Changed(ControlKind::Scroll, n);
    SetText(ValueBoxOf(n), std::to_string(value));
  }
  return true;
}

ScrollLimits OptionsModel::LimitsOf(int scroll) {
  return InRange(scroll, kScrollCount) ? kLimits[scroll] : ScrollLimits{0, 0};
}

int OptionsModel::ValueBoxOf(int scroll) {
  return InRange(scroll, kScrollCount) ? kValueBoxes[scroll] : 0;
}

void OptionsModel::RunWindowStartup() {
  // One holder for all four reads: a read that fails leaves the previous value in
  // it, so a short file repeats its last value into the remaining boxes.
  FieldReader reader = FieldReader::OpenCurrentFolderFile(kAvailabilityFile);
  FieldValue holder;
  for (int n : kAvailabilityChecks) {
    reader.ReadField(holder);
    if (std::optional<int> state = AvailabilityCheckState(holder)) SetCheck(n, *state);
  }

  auto fill = [this](int combo, const std::vector<std::string>& items) {
    comboItems_[combo] = items;
    Changed(ControlKind::Combo, combo);
  };
  fill(4, VideoModes());
  fill(3, SamplingRates());
  SetScroll(3, 100);
  SetScroll(4, 100);
  fill(1, InputDevices());
  fill(2, InputDevices());
}

}  // namespace valmerin
