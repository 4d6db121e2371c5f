#pragma once
// The options are the states of the options window's controls, known by control
// name. This is the one copy; Form2 is a view of it.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace valmerin {

enum class ControlKind { Check, Option, Text, Combo, Scroll };

struct ControlId {
  ControlKind kind;
  int number;                // Check1..74, Option1..4, Text1..36, Combo1..4, VScroll1..5
  std::string Name() const;  // "Check11", "VScroll4" ...
  bool operator==(const ControlId&) const = default;
};

inline constexpr int kCheckCount = 74;
inline constexpr int kOptionCount = 4;
inline constexpr int kTextCount = 36;
inline constexpr int kComboCount = 4;
inline constexpr int kScrollCount = 5;

struct ScrollLimits {
  int lowest;
  int highest;
};

class OptionsModel {
 public:
  // The window as designed: every emulator check box unchecked, Check71..74
  // checked, Option4 selected, the design texts, VScroll3 at 0 and VScroll4 at 50,
  // combo boxes with their texts and no items yet.
  OptionsModel();

  int Check(int n) const;
  bool SetCheck(int n, int state);  // refuses anything but 0, 1, 2
  bool Option(int n) const;
  // true selects it and deselects the others; false only deselects it.
  void SetOption(int n, bool selected);
  const std::string& Text(int n) const;
  void SetText(int n, std::string text);
  const std::string& ComboText(int n) const;
  void SetComboText(int n, std::string text);
  const std::vector<std::string>& ComboItems(int n) const;
  int Scroll(int n) const;
  // Refuses a value outside the bar's limits; a new value is also written, as
  // decimal text, into the bar's value box.
  bool SetScroll(int n, int value);
  static ScrollLimits LimitsOf(int scroll);
  static int ValueBoxOf(int scroll);  // VScroll1..5 -> Text1, 2, 3, 4, 7

  // The window's own start-up: availability into Check71..74 through one shared
  // holder, Combo4 and Combo3 filled, VScroll3 and VScroll4 set to 100, Combo1 and
  // Combo2 filled.
  void RunWindowStartup();

  // Called after every change, whoever made it, with the control that changed.
  using Listener = std::function<void(ControlId)>;
  void SetListener(Listener listener) { listener_ = std::move(listener); }

 private:
  void Changed(ControlKind kind, int n);

  std::array<int, kCheckCount + 1> checks_{};
  std::array<bool, kOptionCount + 1> options_{};
  std::array<std::string, kTextCount + 1> texts_;
  std::array<std::string, kComboCount + 1> comboTexts_;
  std::array<std::vector<std::string>, kComboCount + 1> comboItems_;
  std::array<int, kScrollCount + 1> scrolls_{};
  Listener listener_;
};

}  // namespace valmerin
