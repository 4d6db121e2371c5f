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

// Whether a name's first bytes, all ASCII, plainly are not the copy stem: the scan
// asks this of every file, and folding costs two strings a name.
bool PlainlyAnotherStem(std::string_view fileName) {
  if (fileName.size() < kCopyStem.size()) return true;
  bool same = true;
  for (std::size_t i = 0; i < kCopyStem.size(); ++i) {
    const auto c = static_cast<unsigned char>(fileName[i]);
    if (c >= 0x80) return false;  // a folded character might still match
    const auto upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
    const auto stem = static_cast<unsigned char>(kCopyStem[i]);
    same = same && upper == static_cast<char>(stem >= 'a' && stem <= 'z' ? stem - 0x20 : stem);
  }
  return !same;
}

}  // namespace

std::string CopyNameFor(std::string_view gameName) {
  return std::string(kCopyStem) + std::string(LastCharacters(gameName, 3));
}

bool IsCopyName(std::string_view fileName) {
  if (PlainlyAnotherStem(fileName)) return false;
  fileName = NameBeforeTemporary(fileName);
  if (fileName.size() <= kCopyStem.size()) return false;
  if (!EqualsIgnoringCase(fileName.substr(0, kCopyStem.size()), kCopyStem)) return false;
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
