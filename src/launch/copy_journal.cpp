#include "launch/copy_journal.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/file_io.h"
#include "platform/utf8.h"

namespace valmerin {
namespace fs = std::filesystem;

namespace {

// One line per file: "T\t<path>" for a temporary, "C\t<path>\t<size>:<time>" for a
// finished copy. Paths as the system spells them, in UTF-8.
struct Entry {
  char kind = 'T';
  std::string path;
  std::string identity;  // copies only
};

std::string IdentityOf(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (ec || !fs::is_regular_file(status)) return {};
  const auto size = fs::file_size(path, ec);
  if (ec) return {};
  const auto time = fs::last_write_time(path, ec);
  if (ec) return {};
  return std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count());
}

std::vector<Entry> ReadJournal() {
  std::vector<Entry> entries;
  const std::optional<std::string> bytes = ReadWholeFile(fs::path(std::string(kCopyJournalFile)));
  if (!bytes) return entries;
  std::string_view text(*bytes);
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.size() < 3 || (line[0] != 'T' && line[0] != 'C') || line[1] != '\t') continue;
    Entry entry;
    entry.kind = line[0];
    line.remove_prefix(2);
    const size_t tab = line.find('\t');
    entry.path = std::string(line.substr(0, tab));
    if (tab != std::string_view::npos) entry.identity = std::string(line.substr(tab + 1));
    entries.push_back(std::move(entry));
  }
  return entries;
}

FileResult WriteJournal(const std::vector<Entry>& entries) {
  const fs::path file{std::string(kCopyJournalFile)};
  if (entries.empty()) {
    DeleteRegularFile(file);
    return {};
  }
  std::string text;
  for (const Entry& entry : entries) {
    text += entry.kind;
    text += '\t';
    text += entry.path;
    if (entry.kind == 'C') text += "\t" + entry.identity;
    text += '\n';
  }
  return ReplaceFileAtomically(file, text, LinkRule::Never);
}

// A name the journal could not hold on one line.
bool Writable(const std::string& path) { return path.find_first_of("\t\r\n") == std::string::npos; }

void Drop(std::vector<Entry>& entries, const std::string& path) {
  std::erase_if(entries, [&](const Entry& entry) { return entry.path == path; });
}

}  // namespace

FileResult JournalCopyStarting(const fs::path& temporary, const fs::path& copy) {
  const std::string temporaryText = Utf8FromPath(fs::absolute(temporary));
  // A name with a line break cannot be noted; such a copy still goes at exit.
  if (!Writable(temporaryText) || !Writable(Utf8FromPath(fs::absolute(copy)))) return {};
  std::vector<Entry> entries = ReadJournal();
  entries.push_back({'T', temporaryText, {}});
  return WriteJournal(entries);
}

FileResult JournalCopyMade(const fs::path& temporary, const fs::path& copy) {
  std::vector<Entry> entries = ReadJournal();
  Drop(entries, Utf8FromPath(fs::absolute(temporary)));
  const std::string copyText = Utf8FromPath(fs::absolute(copy));
  if (!Writable(copyText)) return WriteJournal(entries);
  Drop(entries, copyText);
  entries.push_back({'C', copyText, IdentityOf(copy)});
  return WriteJournal(entries);
}

void JournalCopyDropped(const fs::path& temporary) {
  std::vector<Entry> entries = ReadJournal();
  Drop(entries, Utf8FromPath(fs::absolute(temporary)));
  WriteJournal(entries);
}

std::vector<std::string> RemoveJournalledCopies() {
  std::vector<Entry> kept;
  std::vector<std::string> remaining;
  for (Entry& entry : ReadJournal()) {
    const fs::path path = PathFromUtf8(entry.path);
    // A temporary carries a name no user gives; a copy must still be the very
    // file we made, or it is somebody else's now.
    const bool ours = entry.kind == 'T'
                          ? IsTemporaryName(Utf8FromPath(path.filename()))
                          : !entry.identity.empty() && IdentityOf(path) == entry.identity;
    if (!ours || !AnythingAt(path)) continue;
    if (DeleteRegularFile(path)) continue;
    remaining.push_back(entry.path);
    kept.push_back(std::move(entry));
  }
  WriteJournal(kept);
  return remaining;
}

}  // namespace valmerin
