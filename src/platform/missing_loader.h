#pragma once
// A program that is there but cannot run because what runs it is missing: the
// interpreter a script names after "#!", or the loader an ELF program asks for
// (a 32-bit program on a system without 32-bit support). The system reports both
// as "no such file", about a file that does exist.
#include <filesystem>
#include <optional>
#include <string>

namespace valmerin {

struct MissingLoader {
  enum class Kind { Interpreter, Loader, Loader32 };
  std::string path;  // what the program asks for
  Kind kind = Kind::Interpreter;
};

// What `program` needs and the system lacks; nothing when it lacks nothing we can see.
std::optional<MissingLoader> MissingLoaderOf(const std::filesystem::path& program);

}  // namespace valmerin
