#include "launch/copy_journal.h"

#include <charconv>

#include "platform/file_io.h"
#include "platform/number_text.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// One line per fact, fields separated by tabs:
//   R  emulator  started  copy  game  identity
//   F  folder               (of the run above)
//   L  lent  original  identity
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// A name may hold anything but a zero byte: tabs, line breaks and "%" are written
// as "%" and two hexadecimal digits.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '%' || c == '\t' || c == '\r' || c == '\n') {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
      out += kHex[static_cast<unsigned char>(c) & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned value = 0;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr ==
            text.data() + i + 3) {
      out += static_cast<char>(value);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::vector<JournalRun> ReadCopyJournal() {
  std::vector<JournalRun> runs;
  const std::optional<std::string> bytes = ReadWholeFile(fs::path(std::string(kCopyJournalFile)));
  if (!bytes) return runs;
  std::string_view text(*bytes);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::vector<std::string_view> fields = Fields(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::string_view kind = fields[0];
    if (kind == "R" && fields.size() == 6) {
      JournalRun run;
      const auto emulator = ParseWhole<int>(fields[1]);
      const auto started = ParseWhole<std::int64_t>(fields[2]);
      if (!emulator || !started) continue;
      run.emulator = *emulator;
      run.started = *started;
      run.copy = Unescaped(fields[3]);
      run.game = Unescaped(fields[4]);
      run.identity = Unescaped(fields[5]);
      runs.push_back(std::move(run));
    } else if (kind == "F" && fields.size() == 2 && !runs.empty()) {
      runs.back().folders.push_back(Unescaped(fields[1]));
    } else if (kind == "L" && fields.size() == 4 && !runs.empty()) {
      runs.back().lent.push_back(
          {Unescaped(fields[1]), Unescaped(fields[2]), Unescaped(fields[3])});
    }
  }
  return runs;
}

FileResult WriteCopyJournal(const std::vector<JournalRun>& runs) {
  const fs::path file{std::string(kCopyJournalFile)};
  if (runs.empty()) {
    DeleteRegularFile(file);
    return {};
  }
  std::string text;
  const auto add = [&](std::string_view field, char after) {
    text += Escaped(field);
    text += after;
  };
  for (const JournalRun& run : runs) {
    add("R", '\t');
    add(std::to_string(run.emulator), '\t');
    add(std::to_string(run.started), '\t');
    add(run.copy, '\t');
    add(run.game, '\t');
    add(run.identity, '\n');
    for (const std::string& folder : run.folders) {
      add("F", '\t');
      add(folder, '\n');
    }
    for (const LentFile& lent : run.lent) {
      add("L", '\t');
      add(lent.path, '\t');
      add(lent.original, '\t');
      add(lent.identity, '\n');
    }
  }
  return ReplaceFileAtomically(file, text, LinkRule::Never);
}

}  // namespace valmerin
