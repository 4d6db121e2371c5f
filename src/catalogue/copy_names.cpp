#include "catalogue/copy_names.h"

#include "platform/file_io.h"
#include "platform/utf8.h"

namespace valmerin {
namespace {

// The last `count` characters of UTF-8 text (the whole text when shorter).
std::string_view LastCharacters(std::string_view text, int count) {
  std::size_t start = text.size();
  while (count > 0 && start > 0) {
    --start;
    // Continuation bytes belong to the character that starts before them.
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) --count;
  }
  return text.substr(start);
}

int CharacterCount(std::string_view text) {
  int count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

std::string CopyNameFor(std::string_view gameName) {
  return std::string(kCopyStem) + std::string(LastCharacters(gameName, 3));
}

bool IsCopyName(std::string_view fileName) {
  // The stem first: the scan asks this of every name, and most differ at once.
  if (!EqualsIgnoringCase(fileName.substr(0, kCopyStem.size()), kCopyStem)) return false;
  fileName = NameBeforeTemporary(fileName);
  if (fileName.size() <= kCopyStem.size()) return false;
  const std::string_view rest = fileName.substr(kCopyStem.size());
  const int characters = CharacterCount(rest);
  return characters == 3 && rest.find_first_of("/\\") == std::string_view::npos;
}

std::string_view StemOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
}

bool HasStem(std::string_view fileName, std::string_view stem) {
  return fileName.size() > stem.size() + 1 && fileName[stem.size()] == '.' &&
         EqualsIgnoringCase(fileName.substr(0, stem.size()), stem);
}

bool IsGameName(Emulator emulator, std::string_view fileName) {
  for (const std::string_view archive : {".zip", ".7z"}) {
    if (fileName.size() > archive.size() &&
        EqualsIgnoringCase(fileName.substr(fileName.size() - archive.size()), archive)) {
      return true;
    }
  }
  for (const std::string_view pattern : InfoOf(emulator).patterns) {
    // Every pattern is "*." and an ending.
    if (pattern.size() < 2 || fileName.size() < pattern.size() - 1) continue;
    if (EqualsIgnoringCase(fileName.substr(fileName.size() - (pattern.size() - 1)),
                           pattern.substr(1))) {
      return true;
    }
  }
  return false;
}

}  // namespace valmerin
