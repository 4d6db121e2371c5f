// A program that is there but lacks what runs it is reported as such, naming
// what is missing, never as a file that does not exist.
#include <gtest/gtest.h>

#ifndef _WIN32
#include "hosting/program_start.h"
#include "platform/missing_loader.h"

#include "support/fresh_folder.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;

using MissingLoaderTest = testing::FreshFolderTest;

// A minimal little-endian ELF executable header asking for `loader`.
std::string Elf(bool is64, const std::string& loader) {
  std::string bytes(is64 ? 0x78 : 0x54, '\0');
  const auto put = [&bytes](std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  };
  put(0, 0x464C457F, 4);  // "\x7fELF"
  bytes[4] = is64 ? 2 : 1;
  bytes[5] = 1;
  bytes[6] = 1;
  put(0x10, 2, 2);                   // executable
  put(0x12, is64 ? 0x3E : 3, 2);     // x86-64, i386
  put(0x14, 1, 4);
  const std::size_t table = is64 ? 0x40 : 0x34;
  const std::size_t text = bytes.size();
  if (is64) {
    put(0x20, table, 8);
    put(0x34, 0x40, 2);
    put(0x36, 0x38, 2);
    put(0x38, 1, 2);
    put(table, 3, 4);
    put(table + 8, text, 8);
    put(table + 32, loader.size() + 1, 8);
    put(table + 40, loader.size() + 1, 8);
  } else {
    put(0x1C, table, 4);
    put(0x28, 0x34, 2);
    put(0x2A, 0x20, 2);
    put(0x2C, 1, 2);
    put(table, 3, 4);
    put(table + 4, text, 4);
    put(table + 16, loader.size() + 1, 4);
    put(table + 20, loader.size() + 1, 4);
  }
  return bytes + loader + '\0';
}

TEST_F(MissingLoaderTest, WhatIsMissingIsNamed) {
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> missing;
  };
  const Case cases[] = {
      {"script", "#!/usr/bin/interprete-assente\necho\n", "/usr/bin/interprete-assente"},
      {"script with a switch", "#!  /opt/manca/python2 -u\r\n", "/opt/manca/python2"},
      {"script that runs", "#!/bin/sh\necho\n", std::nullopt},
      {"64-bit program", Elf(true, "/lib64/ld-assente.so.2"), "/lib64/ld-assente.so.2"},
      {"32-bit program", Elf(false, "/lib/ld-linux-assente.so.2"), "/lib/ld-linux-assente.so.2"},
      {"loader there", Elf(true, "/bin/sh"), std::nullopt},
      {"no program at all", "dati", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes("Emulatore", c.bytes);
    const std::optional<MissingLoader> found = MissingLoaderOf("Emulatore");
    ASSERT_EQ(found.has_value(), c.missing.has_value());
    if (!found) continue;
    EXPECT_EQ(found->path, *c.missing);
  }
}

TEST_F(MissingLoaderTest, AStartThatLacksItsLoaderSaysWhatIsMissing) {
  struct Case {
    const char* what;
    std::string bytes;
    const char* says;
  };
  const Case cases[] = {
      {"script", "#!/usr/bin/interprete-assente\n", "\"/usr/bin/interprete-assente\""},
      {"64-bit program", Elf(true, "/lib64/ld-assente.so.2"), "\"/lib64/ld-assente.so.2\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes("ZSnes", c.bytes);
    fs::permissions("ZSnes", fs::perms::owner_all, fs::perm_options::add);
    const StartOutcome outcome = StartProgram("ZSnes", {});
    EXPECT_FALSE(outcome.started);
    EXPECT_NE(outcome.error.find(c.says), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.error.find("non esiste"), std::string::npos) << outcome.error;
  }
}

}  // namespace
}  // namespace valmerin
#endif
