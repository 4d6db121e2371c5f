#include "options/switch_tables.h"

#include <array>

namespace valmerin {
namespace {

SwitchPart Lit(std::string_view text) { return {PartKind::Literal, text, 0}; }
SwitchPart Txt(int box) { return {PartKind::TextOf, {}, box}; }
SwitchPart Signed(int scroll) { return {PartKind::ScrollSigned, {}, scroll}; }
SwitchPart First(int combo) { return {PartKind::ComboFirstChar, {}, combo}; }
SwitchPart PlusOneDigit(int scroll) { return {PartKind::LastDigitPlusOne, {}, scroll}; }

SwitchRow Tick(int check, std::vector<SwitchPart> parts) {
  return {SwitchCondition::Ticked, check, {}, std::move(parts)};
}
SwitchRow Tick(int check, std::string_view piece) { return Tick(check, {Lit(piece)}); }
SwitchRow ComboIs(int combo, std::string_view item, std::string_view piece) {
  return {SwitchCondition::ComboIs, combo, item, {Lit(piece)}};
}

std::vector<SwitchRow> ZSnesTable() {
  // The letters' order: digits first, then a to z.
  return {
      Tick(1, "-0 "),
      ComboIs(1, "Niente", "-1 0 "),
      ComboIs(1, "Tastiera", "-1 1 "),
      ComboIs(1, "Joystick", "-1 2 "),
      ComboIs(1, "Gamepad", "-1 3 "),
      ComboIs(1, "4 Pulsanti", "-1 4 "),
      ComboIs(1, "6 Pulsanti", "-1 5 "),
      ComboIs(1, "Sidewinder", "-1 6 "),
      ComboIs(2, "Niente", "-2 0 "),
      ComboIs(2, "Tastiera", "-2 1 "),
      ComboIs(2, "Joystick", "-2 2 "),
      ComboIs(2, "Gamepad", "-2 3 "),
      ComboIs(2, "4 Pulsanti", "-2 4 "),
      ComboIs(2, "6 Pulsanti", "-2 5 "),
      ComboIs(2, "Sidewinder", "-2 6 "),
      Tick(2, "-7 "),
      Tick(3, "-8 "),
      Tick(4, "-9 "),
      Tick(5, "-a "),
      Tick(6, "-c "),
      Tick(7, "-cc "),
      Tick(8, "-d "),
      Tick(9, "-dd "),
      Tick(10, "-e "),
      Tick(11, {Lit("-f "), Signed(1), Lit(" ")}),
      Tick(12, {Lit("-g "), Signed(2), Lit(" ")}),
      Tick(13, "-h "),
      Tick(14, "-i "),
      Tick(15, "-j "),
      Tick(16, {Lit("-k "), Signed(3), Lit(" ")}),
      Tick(17, "-l "),
      Tick(18, "-m "),
      Tick(19, "-n "),
      Tick(20, "-o "),
      Tick(32, "-om "),
      Tick(21, {Lit("-p "), Signed(4), Lit(" ")}),
      Tick(22, "-q "),
      Tick(23, {Lit("-r "), First(3), Lit(" ")}),
      Tick(24, "-s "),
      Tick(28, "-sa "),
      Tick(27, "-t "),
      Tick(26, "-u "),
      Tick(25, {Lit("-v "), First(4), Lit(" ")}),
      Tick(29, "-w "),
      Tick(30, "-y "),
      Tick(31, "-z "),
  };
}

std::vector<SwitchRow> KGenTable() {
  return {
      {SwitchCondition::Selected, 1, {}, {Lit("-J ")}},
      {SwitchCondition::Selected, 2, {}, {Lit("-U ")}},
      {SwitchCondition::Selected, 3, {}, {Lit("-E ")}},
      {SwitchCondition::Selected, 4, {}, {Lit("-A ")}},
      Tick(33, {Lit("-F"), PlusOneDigit(5), Lit(" ")}),
      Tick(34, "-D "),
      Tick(35, "-L "),
      Tick(36, "-8 "),
      Tick(37, "-4 "),
      Tick(38, "-S "),
  };
}

std::vector<SwitchRow> NESticleTable() {
  // Check64 (patches folder) has no switch.
  return {
      Tick(39, {Lit("-sb "), Txt(9), Lit(" "), Txt(10), Lit(" "), Txt(11), Lit(" ")}),
      Tick(40, {Lit("-sb16 "), Txt(12), Lit(" "), Txt(13), Lit(" "), Txt(14), Lit(" ")}),
      Tick(41, "-novesa "),
      Tick(42, "-banked "),
      Tick(43, "-linear "),
      Tick(44, "-disablefn "),
      Tick(45, "-rdtsc "),
      Tick(46, "-fpucopy "),
      Tick(47, {Lit("-res "), Txt(16), Lit(" "), Txt(15), Lit(" ")}),  // width, then height
      Tick(48, "-nosound "),
      // Always exactly one of the two.
      Tick(49, "-vsync ON "),
      {SwitchCondition::NotTicked, 49, {}, {Lit("-vsync OFF ")}},
      Tick(50, {Lit("-palfile "), Txt(17), Lit(" ")}),
      Tick(51, {Lit("-sndrate "), Txt(18), Lit(" ")}),
      Tick(52, {Lit("-sndblksize "), Txt(19), Lit(" ")}),
      Tick(53, "-trapbadops "),
      Tick(54, {Lit("-setinput "), Txt(20), Lit(" "), Txt(31), Lit(" ")}),
      Tick(55, {Lit("-vfps "), Txt(21), Lit(" ")}),
      Tick(56, {Lit("-hblank "), Txt(22), Lit(" ")}),
      Tick(57, {Lit("-vblank "), Txt(23), Lit(" ")}),
      Tick(58, {Lit("-framelines "), Txt(24), Lit(" ")}),
      Tick(59, "-force8bit "),
      Tick(60, {Lit("-romdir "), Txt(25), Lit(" ")}),
      Tick(61, {Lit("-savedir "), Txt(26), Lit(" ")}),
      Tick(62, {Lit("-pcxdir "), Txt(27), Lit(" ")}),
      Tick(63, {Lit("-logdir "), Txt(28), Lit(" ")}),
  };
}

std::vector<SwitchRow> MagicEngineTable() {
  return {
      Tick(65, "-1 "),  Tick(66, "-cd "),    Tick(67, "-sgx "),
      Tick(68, "-us "), Tick(69, "-nojoy "), Tick(70, "-nosound "),
  };
}

}  // namespace

std::span<const SwitchRow> SwitchTableOf(Emulator emulator) {
  static const std::array<std::vector<SwitchRow>, kEmulatorCount> tables = {
      ZSnesTable(), KGenTable(), NESticleTable(), MagicEngineTable()};
  return tables[IndexOf(emulator)];
}

}  // namespace valmerin
