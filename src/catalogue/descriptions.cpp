#include "catalogue/descriptions.h"

namespace valmerin {

void Descriptions::Add(std::string key, std::string text) {
  keys_.push_back(std::move(key));
  texts_.push_back(std::move(text));
}
std::string Descriptions::ResolveGameName(std::string_view fileName) const {
  return std::string(fileName);
}
std::string Descriptions::WalkBackToFileName(std::string_view shownText) const {
  return std::string(shownText);
}
Descriptions ReadDescriptions() { return {}; }
DescriptionProblem CheckDescriptionStorable(std::string_view, std::string_view) {
  return DescriptionProblem::None;
}
SaveResult AppendDescription(std::string_view, std::string_view) { return SaveResult::WriteFailed; }

}  // namespace valmerin
