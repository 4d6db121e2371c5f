#include "platform/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "platform/text_codec.h"
#include "platform/utf8.h"
#include "platform/write_all.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace valmerin {
namespace fs = std::filesystem;

namespace {

struct ArchiveCloser {
  void operator()(archive* reader) const { archive_read_free(reader); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveCloser>;

// libarchive converts names through the locale of the calling thread: a UTF-8 one
// for the duration of a read, whatever the program's own locale is.
class Utf8NamesForThisThread {
 public:
#ifdef _WIN32
  Utf8NamesForThisThread() = default;
#else
  Utf8NamesForThisThread() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (utf8_ != static_cast<locale_t>(0)) previous_ = uselocale(utf8_);
  }
  ~Utf8NamesForThisThread() {
    if (utf8_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(utf8_);
  }

 private:
  locale_t utf8_;
  locale_t previous_ = static_cast<locale_t>(0);
#endif
  Utf8NamesForThisThread(const Utf8NamesForThisThread&) = delete;
  Utf8NamesForThisThread& operator=(const Utf8NamesForThisThread&) = delete;
};

ArchivePtr OpenArchive(const fs::path& path) {
  ArchivePtr reader(archive_read_new());
  if (!reader) return nullptr;
  archive_read_support_format_zip(reader.get());
  archive_read_support_format_7zip(reader.get());
#ifdef _WIN32
  // Zip names without the UTF-8 mark come from Windows tools of the time; libarchive
  // would read them in the console's code page.
  archive_read_set_options(reader.get(), "zip:hdrcharset=CP1252");
#endif
#ifdef _WIN32
  const int opened = archive_read_open_filename_w(reader.get(), path.c_str(), 64 * 1024);
#else
  const int opened = archive_read_open_filename(reader.get(), path.c_str(), 64 * 1024);
#endif
  if (opened != ARCHIVE_OK) return nullptr;
  return reader;
}

// A zip name without the UTF-8 mark comes as stored: UTF-8 when it reads as such
// (Linux and Mac tools), else Windows-1252.
std::string NameOf(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return utf8;
  const char* raw = archive_entry_pathname(entry);
  if (raw == nullptr) return {};
  return IsValidUtf8(raw) ? std::string(raw) : DecodeCp1252(raw);
}

// Positions on the entry of that name; false when the archive does not hold it.
bool FindEntry(archive* reader, const std::string& name, archive_entry*& found) {
  for (;;) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(reader, &entry);
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) return false;
    if (archive_entry_filetype(entry) == AE_IFREG && NameOf(entry) == name) {
      found = entry;
      return true;
    }
  }
}

int CreateTemporary(const fs::path& temporary) {
#ifdef _WIN32
  return _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                _S_IREAD | _S_IWRITE);
#else
  return open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

// The extracted bytes go through the one whole-write loop of the platform.
FileError WriteExtracted(int out, std::string_view bytes) {
#ifdef _WIN32
  return WriteAll(reinterpret_cast<void*>(_get_osfhandle(out)), bytes);
#else
  return WriteAll(out, bytes);
#endif
}

int CloseFile(int file) {
#ifdef _WIN32
  return _close(file);
#else
  return close(file);
#endif
}

std::string Megabytes(std::uint64_t bytes) {
  return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

ExtractResult Failed(FileError error, std::string why) { return {error, std::move(why)}; }

constexpr const char* kDamaged =
    "l'archivio è danneggiato o non è un archivio .zip o .7z leggibile";

// The entry's bytes into the open temporary, within `room` bytes.
ExtractResult CopyEntryData(archive* reader, int out, std::uint64_t total, std::uint64_t room,
                            std::uint64_t largest, const CopyProgress& progress) {
  std::uint64_t done = 0;
  if (progress && !progress(0, total)) return Failed(FileError::Cancelled, "");
  std::string buffer(1u << 20, '\0');
  for (;;) {
    const la_ssize_t got = archive_read_data(reader, buffer.data(), buffer.size());
    if (got == 0) return {};
    if (got < 0) return Failed(FileError::Unreadable, kDamaged);
    done += static_cast<std::uint64_t>(got);
    // A header may lie about the size: the bytes themselves are counted too.
    if (done > largest) {
      return Failed(FileError::Other, "il file supera " + Megabytes(largest) +
                                          ", troppo per un gioco: l'archivio è danneggiato "
                                          "o costruito per riempire il disco");
    }
    if (done > room) {
      return Failed(FileError::DiskFull, "il disco non ha spazio per il file estratto");
    }
    if (const FileError put =
            WriteExtracted(out, std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        put != FileError::None) {
      return Failed(put, std::string(DescribeFileError(put)));
    }
    if (progress && !progress(done, std::max(done, total))) {
      return Failed(FileError::Cancelled, "");
    }
  }
}

ExtractResult ExtractToTemporary(const fs::path& archive, const std::string& entryName,
                                 const fs::path& temporary, const CopyProgress& progress,
                                 std::uint64_t largest, bool& made) {
  Utf8NamesForThisThread utf8Names;
  ArchivePtr reader = OpenArchive(archive);
  if (!reader) {
    std::error_code error;
    if (!fs::exists(archive, error)) return Failed(FileError::Missing, "l'archivio non esiste più");
    return Failed(FileError::Unreadable, kDamaged);
  }
  archive_entry* entry = nullptr;
  if (!FindEntry(reader.get(), entryName, entry)) {
    return Failed(FileError::Missing, "l'archivio non contiene più il file \"" + entryName + "\"");
  }
  if (archive_entry_is_encrypted(entry)) {
    return Failed(FileError::Unreadable,
                  "il file è protetto da una password: estrarlo a mano con la password");
  }
  const std::uint64_t declared =
      archive_entry_size_is_set(entry) ? static_cast<std::uint64_t>(archive_entry_size(entry)) : 0;
  std::error_code error;
  const fs::space_info space = fs::space(fs::absolute(temporary, error).parent_path(), error);
  const std::uint64_t room = error ? UINT64_MAX : static_cast<std::uint64_t>(space.available);
  if (declared > largest) {
    return Failed(FileError::Other, "il file dichiara " + Megabytes(declared) +
                                        ", troppo per un gioco: l'archivio è danneggiato o "
                                        "costruito per riempire il disco");
  }
  if (declared > room) {
    return Failed(FileError::DiskFull, "il file occupa " + Megabytes(declared) +
                                           " e il disco ne ha solo " + Megabytes(room) + " liberi");
  }
  const int out = CreateTemporary(temporary);
  if (out < 0) {
    const FileError why = FileErrorFromErrno(errno);
    return Failed(why, std::string(DescribeFileError(why)));
  }
  made = true;
  ExtractResult result = CopyEntryData(reader.get(), out, declared, room, largest, progress);
  // Some file systems only tell at close that the space ran out.
  if (CloseFile(out) != 0 && result) {
    const FileError why = FileErrorFromErrno(errno);
    result = Failed(why, std::string(DescribeFileError(why)));
  }
  return result;
}

}  // namespace

ArchiveListing ListArchive(const fs::path& path) {
  Utf8NamesForThisThread utf8Names;
  ArchiveListing listing;
  ArchivePtr reader = OpenArchive(path);
  if (!reader) return listing;
  for (;;) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      listing.files.clear();
      return listing;
    }
    if (archive_entry_filetype(entry) == AE_IFREG) listing.files.push_back(NameOf(entry));
    // The next header comes without reading this entry's data.
  }
  listing.readable = true;
  return listing;
}

ExtractResult ExtractArchiveEntry(const fs::path& archive, const std::string& entry,
                                  const fs::path& to, const fs::path& temporary,
                                  const CopyProgress& progress, std::uint64_t largest) {
  if (const FileError refused = CheckCopyDestination(to); refused != FileError::None) {
    return Failed(refused, std::string(DescribeFileError(refused)));
  }
  bool made = false;
  ExtractResult result = ExtractToTemporary(archive, entry, temporary, progress, largest, made);
  if (result) {
    if (const FileError moved = MoveIntoPlace(temporary, to); moved != FileError::None) {
      result = Failed(moved, std::string(DescribeFileError(moved)));
    } else {
      return result;
    }
  }
  if (made) RemoveTemporaryFile(temporary);
  return result;
}

std::optional<FileStamp> StampOf(const fs::path& path) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return FileStamp{
      (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
      static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime)};
#else
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileStamp{
      static_cast<std::uint64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
#endif
}

std::string EntryFileName(const std::string& entry) {
  const std::size_t slash = entry.find_last_of("/\\");
  return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

}  // namespace valmerin
