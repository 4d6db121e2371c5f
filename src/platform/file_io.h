#pragma once
// Whole-file operations. Each opens, does its work and closes: no file stays open.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace valmerin {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes a temporary file in the same folder, flushes and syncs it, and renames it
// over `path`. A failure leaves the old file exactly as it was.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Appends after the last byte; creates the file when it is missing.
bool AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// Copies, replacing an existing destination.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

bool DeleteRegularFile(const std::filesystem::path& path);

bool IsRegularFile(const std::filesystem::path& path);

}  // namespace valmerin
