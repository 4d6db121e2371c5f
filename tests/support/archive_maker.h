#pragma once
// Archives the tests make themselves, with libarchive's writer.
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/utf8.h"
#include "support/bytes.h"

namespace valmerin::testing {

struct ArchivedFile {
  std::string name;  // bytes as stored; `utf8Name` says whether they are marked UTF-8
  std::string bytes;
  bool utf8Name = false;
};

enum class ArchiveKind { Zip, SevenZip, EncryptedZip };

// false when the writer refused (a build of libarchive without that format).
inline bool MakeArchive(const std::filesystem::path& path, ArchiveKind kind,
                        const std::vector<ArchivedFile>& files) {
  archive* writer = archive_write_new();
  if (kind == ArchiveKind::SevenZip) {
    archive_write_set_format_7zip(writer);
  } else {
    archive_write_set_format_zip(writer);
    if (kind == ArchiveKind::EncryptedZip &&
        (archive_write_set_options(writer, "zip:encryption=traditional") != ARCHIVE_OK ||
         archive_write_set_passphrase(writer, "segreta") != ARCHIVE_OK)) {
      archive_write_free(writer);
      return false;
    }
  }
#ifdef _WIN32
  // Windows writers read names in the console's code page unless told otherwise.
  if (kind != ArchiveKind::SevenZip) {
    const bool utf8 = std::any_of(files.begin(), files.end(),
                                  [](const ArchivedFile& file) { return file.utf8Name; });
    archive_write_set_options(writer, utf8 ? "zip:hdrcharset=UTF-8" : "zip:hdrcharset=CP1252");
  }
  bool ok = archive_write_open_filename_w(writer, path.c_str()) == ARCHIVE_OK;
#else
  bool ok = archive_write_open_filename(writer, path.c_str()) == ARCHIVE_OK;
#endif
  for (const ArchivedFile& file : files) {
    if (!ok) break;
    archive_entry* entry = archive_entry_new();
    if (file.utf8Name) {
#ifdef _WIN32
      archive_entry_copy_pathname_w(entry, valmerin::WideFromUtf8(file.name).c_str());
#else
      archive_entry_set_pathname_utf8(entry, file.name.c_str());
#endif
    } else {
      archive_entry_copy_pathname(entry, file.name.c_str());
    }
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(file.bytes.size()));
    ok = archive_write_header(writer, entry) == ARCHIVE_OK &&
         (file.bytes.empty() || archive_write_data(writer, file.bytes.data(), file.bytes.size()) ==
                                    static_cast<la_ssize_t>(file.bytes.size()));
    archive_entry_free(entry);
  }
  ok = archive_write_close(writer) == ARCHIVE_OK && ok;
  archive_write_free(writer);
  return ok;
}

// Rewrites the uncompressed size a zip declares for its entries, in the local
// headers and the central directory: a bomb claims what it likes.
inline void DeclareZipSize(const std::filesystem::path& path, std::uint32_t size) {
  std::string bytes = ReadBytes(path);
  const auto put = [&](std::size_t at) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
  };
  for (std::size_t at = 0; (at = bytes.find("PK\x03\x04", at)) != std::string::npos; at += 4)
    put(at + 22);
  for (std::size_t at = 0; (at = bytes.find("PK\x01\x02", at)) != std::string::npos; at += 4)
    put(at + 24);
  WriteBytes(path, bytes);
}

// Spoils the bytes in the middle of the archive's stored data, leaving its list
// of contents as it was.
inline void SpoilZipData(const std::filesystem::path& path) {
  std::string bytes = ReadBytes(path);
  const std::size_t directory = bytes.find("PK\x01\x02");
  for (std::size_t at = directory / 3; at < 2 * directory / 3; ++at)
    bytes[at] = static_cast<char>(~bytes[at]);
  WriteBytes(path, bytes);
}

}  // namespace valmerin::testing
