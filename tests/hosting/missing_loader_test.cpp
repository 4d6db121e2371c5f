// A program that is there but lacks what runs it is reported as such, naming
// what is missing, never as a file that does not exist.
#include <gtest/gtest.h>

#ifndef _WIN32
#include "hosting/program_start.h"
#include "platform/missing_loader.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {

using MissingLoaderTest = testing::FreshFolderTest;

// A minimal little-endian ELF executable header asking for `loader`.
std::string Elf(bool is64, const std::string& loader) {
  const int word = is64 ? 8 : 4;              // an address or an offset
  const std::size_t table = 0x28 + 3 * word;  // the program header follows the ELF header
  const std::size_t entry = is64 ? 0x38 : 0x20;
  std::string bytes(table + entry, '\0');
  const auto put = [&bytes](std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  };
  // The magic, 64 or 32 bits, little-endian, version 1.
  bytes.replace(0, 7, is64 ? "\177ELF\2\1\1" : "\177ELF\1\1\1");
  put(0x10, 2, 2);                // executable
  put(0x12, is64 ? 0x3E : 3, 2);  // x86-64, i386
  put(0x14, 1, 4);
  put(0x18 + word, table, word);  // where the program header is, the header sizes, one entry
  put(table - 12, table, 2);
  put(table - 10, entry, 2);
  put(table - 8, 1, 2);
  put(table, 3, 4);  // PT_INTERP: the loader's name, just after it
  put(table + word, bytes.size(), word);
  put(table + 4 * word, loader.size() + 1, word);
  put(table + 5 * word, loader.size() + 1, word);
  return bytes + loader + '\0';
}

TEST_F(MissingLoaderTest, WhatIsMissingIsNamed) {
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> missing;
    bool start;
  };
  const Case cases[] = {
      {"script", "#!/usr/bin/interprete-assente\necho\n", "/usr/bin/interprete-assente", false},
      {"script started", "#!/usr/bin/interprete-assente\n", "/usr/bin/interprete-assente", true},
      {"script with a switch", "#!  /opt/manca/python2 -u\r\n", "/opt/manca/python2", false},
      {"script that runs", "#!/bin/sh\necho\n", std::nullopt, false},
      {"64-bit program", Elf(true, "/lib64/ld-assente.so.2"), "/lib64/ld-assente.so.2", true},
      {"32-bit program", Elf(false, "/lib/ld-linux-assente.so.2"), "/lib/ld-linux-assente.so.2",
       false},
      {"loader there", Elf(true, "/bin/sh"), std::nullopt, false},
      {"no program at all", "dati", std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::WriteProgram("ZSnes", c.bytes);
    const std::optional<MissingLoader> found = MissingLoaderOf("ZSnes");
    ASSERT_EQ(found.has_value(), c.missing.has_value());
    if (!found) continue;
    EXPECT_EQ(found->path, *c.missing);
    if (!c.start) continue;
    const StartOutcome outcome = StartProgram("ZSnes", {});
    EXPECT_FALSE(outcome.started);
    EXPECT_NE(outcome.error.find("\"" + *c.missing + "\""), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.error.find("non esiste"), std::string::npos) << outcome.error;
  }
}

}  // namespace
}  // namespace valmerin
#endif
