#include "platform/process.h"

namespace valmerin {

std::vector<std::string> SplitSwitchString(std::string_view switches) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;  // a pair of quotes alone still makes an (empty) argument
  bool quoted = false;
  size_t i = 0;
  while (i < switches.size()) {
    const char c = switches[i];
    if (c == '\\') {
      size_t slashes = 0;
      while (i < switches.size() && switches[i] == '\\') ++slashes, ++i;
      if (i < switches.size() && switches[i] == '"') {
        current.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          current.push_back('"');
          ++i;
        }
      } else {
        current.append(slashes, '\\');
      }
      inArgument = true;
    } else if (c == '"') {
      if (quoted && i + 1 < switches.size() && switches[i + 1] == '"') {
        current.push_back('"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
    } else {
      current.push_back(c);
      inArgument = true;
      ++i;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

}  // namespace valmerin
