#include "platform/process.h"

namespace valmerin {

StartOutcome StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
  (void)arguments;
  return {false, "Impossibile avviare \"" + program + "\"."};
}

std::vector<std::string> SplitSwitchString(std::string_view switches) {
  (void)switches;
  return {};
}

std::string JoinCommandLine(const std::string& program, const std::vector<std::string>& arguments) {
  std::string line = program;
  for (const std::string& argument : arguments) {
    line += ' ';
    line += argument;
  }
  return line;
}

}  // namespace valmerin
