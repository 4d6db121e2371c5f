#include "hosting/program_start.h"

#include <gtest/gtest.h>

#include <chrono>

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
#else
#include <sys/wait.h>

#include <cerrno>
#endif

#include "platform/utf8.h"
#include "support/fresh_folder.h"
#include "support/started_programs.h"

namespace valmerin {
namespace {
namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using testing::MzImage;
using testing::WaitUntil;
using testing::WriteProgram;

TEST(SplitSwitchString, FollowsTheWindowsRules) {
  struct Case {
    const char* text;
    Args expected;
  };
  const Case cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"-0 -s", {"-0", "-s"}},
      {"  -r 2\t-v  ", {"-r", "2", "-v"}},
      {"\"C:\\Giochi Belli\\x\" -f", {"C:\\Giochi Belli\\x", "-f"}},
      {"a\"b c\"d e", {"ab cd", "e"}},
      {"\"\" x", {"", "x"}},
      {"a\\\\\"b c\"", {"a\\b c"}},  // 2n backslashes and a quote: n, and the quote groups
      {"a\\\"b c", {"a\"b", "c"}},   // 2n+1: n and a literal quote
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"C:\\ZSnes\\ C:\\dir\\\\", {"C:\\ZSnes\\", "C:\\dir\\\\"}},  // no quote follows
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"unclosed arg", {"unclosed arg"}},
      {"\"trailing\\\\\"", {"trailing\\"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSwitchString(c.text), c.expected) << c.text;
}

#ifdef _WIN32

// Splits a UTF-8 command line the way the started program itself does.
Args ArgvOf(const std::string& line) {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(WideFromUtf8(line).c_str(), &count);
  Args result;
  for (int i = 0; i < count; ++i) result.push_back(Utf8FromWide(argv[i]));
  LocalFree(argv);
  return result;
}

using StartProgramTest = testing::FreshFolderTest;

TEST_F(StartProgramTest, ArgumentsReachTheProgramWhole) {
  const fs::path program = Root() / "Emulatore Finto" / "Emu.exe";
  fs::create_directories(program.parent_path());
  fs::copy_file(testing::StandIn("dosbox_recorder"), program);  // it records its command line
  const Args arguments = {
      "-0", "C:\\Giochi Belli\\Gioco.smc", "say \"hi\"", "end\\", "àè€", "", "a\\\\\"b"};
  const StartOutcome outcome = StartProgram(program.string(), arguments);
  ASSERT_TRUE(outcome.started) << outcome.error;

  // It writes in its current folder: its own, not ours.
  const fs::path written = program.parent_path() / "dosbox_ricevuti.txt";
  std::string line;
  WaitUntil([&] { return fs::exists(written) && !(line = ReadBytes(written)).empty(); }, 400);
  ASSERT_EQ(line.rfind("RIGA:", 0), 0u) << line;
  Args received = ArgvOf(line.substr(5, line.find('\n') - 5));
  ASSERT_FALSE(received.empty());
  EXPECT_TRUE(fs::equivalent(received.front(), program));
  received.erase(received.begin());
  EXPECT_EQ(received, arguments);
}

TEST_F(StartProgramTest, MissingProgramIsReported) {
  const StartOutcome outcome = StartProgram("C:\\Non Esiste\\ZSnes.exe", {});
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(outcome.error,
            "Impossibile avviare \"C:\\Non Esiste\\ZSnes.exe\": il file non esiste.");
}

TEST_F(StartProgramTest, DosProgramWithoutDosBoxSaysWhatToInstall) {
  WriteBytes("Vecchio/DOS4GW.EXE", MzImage("", 0));  // "MZ" and nothing more
  const StartOutcome outcome = StartProgram("Vecchio\\DOS4GW.EXE", {});
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(outcome.error,
            "Per avviare \"Vecchio\\DOS4GW.EXE\" (un programma DOS) serve DOSBox: installare "
            "DOSBox, DOSBox Staging o DOSBox-X (www.dosbox.com, dosbox-staging.github.io, "
            "dosbox-x.com) nella cartella proposta dall'installazione, o aggiungere la cartella "
            "di dosbox.exe al PATH.");
}

TEST(SplitSwitchString, AgreesWithCommandLineToArgvW) {
  for (const char* text :
       {"a b", "\"a b\" c", "a\\\\\"b c\"", "a\\\"b", "x\\y\\ z", "\"\" q", "\"a\"\"b\""}) {
    Args expected = ArgvOf(std::string("prog ") + text);
    expected.erase(expected.begin());
    EXPECT_EQ(SplitSwitchString(text), expected) << text;
  }
}

#else

class StartProgramTest : public testing::FreshFolderTest {
 protected:
  void SetUp() override {
    FreshFolderTest::SetUp();
    // The tester's own DOSBox settings must not reach the stand-in DOSBox.
    home_.Set((Root() / "casa").c_str());
  }

  // A stand-in that writes its arguments, each in brackets, and what `more`
  // prints into `output`, renamed into place so a reader never sees half of it.
  void Script(const fs::path& path, const std::string& output, const std::string& more = "") {
    const std::string out = (Root() / output).string();
    WriteProgram(path, "#!/bin/sh\n{ for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; " + more +
                           " } > '" + out + ".part'\nmv '" + out + ".part' '" + out + "'\n");
  }

  // The stand-in `name` in bin, found first on the PATH; it writes "<name>-ricevuti".
  void OnPath(const std::string& name, const std::string& more = "") {
    Script("bin/" + name, name + "-ricevuti", more);
    path_.Set(((Root() / "bin").string() + ":" + path_.Saved()).c_str());
  }

  std::string WaitFor(const fs::path& path) {
    return WaitUntil([&] { return fs::exists(path); }) ? ReadBytes(path) : "(nothing written)";
  }

  static std::string Bracketed(const Args& args) {
    std::string text;
    for (const std::string& a : args) text += "[" + a + "]\n";
    return text;
  }

  testing::ScopedEnv path_{"PATH"};
  testing::ScopedEnv home_{"HOME"};
};

// A native program gets its arguments literally, a path argument as a host path,
// and starts in its own folder.
TEST_F(StartProgramTest, NativeProgramsGetArgumentsLiterallyAndStartInTheirOwnFolder) {
  Script("Emu Finto/Emu.sh", "ricevuti", "pwd;");
  const std::string real = fs::canonical(Root()).string();
  Args arguments = {
      "-0",  "con spazi", "quo\"te'", "a;b", "x&y", "p|q", "$(touch preso)", "`touch preso2`",
      "àè€", "",          "*",        "\\"};
  arguments.push_back("riga\nnuova");
  const StartOutcome outcome = StartProgram("emu finto\\EMU.SH", arguments);
  ASSERT_TRUE(outcome.started) << outcome.error;
  EXPECT_EQ(WaitFor("ricevuti"), Bracketed(arguments) + real + "/Emu Finto\n");
  EXPECT_FALSE(fs::exists("preso"));
  EXPECT_FALSE(fs::exists("preso2"));

  fs::remove("ricevuti");
  WriteBytes("Copie/Gioco.smc", "");
  const StartOutcome withPath = StartProgram(
      "emu finto\\EMU.SH", {"-0", "copie\\Gioco.smc", "copie\\Gioco.smc", "C:\\x"}, {2});
  ASSERT_TRUE(withPath.started) << withPath.error;
  EXPECT_EQ(WaitFor("ricevuti"),
            Bracketed({"-0", "copie\\Gioco.smc", real + "/Copie/Gioco.smc", "C:\\x"}) + real +
                "/Emu Finto\n");
  // Nothing is left for this process to reap: the programs were not our children.
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(StartProgramTest, WindowsProgramsStartUnderAWineFromPathThatRunsTheirBits) {
  OnPath("wine", "echo \"WINEPREFIX=$WINEPREFIX\";");
  WriteBytes("Giochi/ZSnes.exe", MzImage(std::string("PE\0\0\x64\x86", 6)));  // x86-64
  WriteBytes("Copie Giochi/Gioco.smc", "");
  const testing::ScopedEnv prefix("WINEPREFIX", (Root() / "prefisso").c_str());
  const std::string copy = Root().string() + "/Copie Giochi/Gioco.smc";
  std::string wineCopy = "Z:" + copy;
  for (char& c : wineCopy) c = c == '/' ? '\\' : c;
  const StartOutcome outcome =
      StartProgram("giochi/zsnes.exe", {"-0", copy, "/s", "C:\\Giochi\\Gioco.smc"});
  ASSERT_TRUE(outcome.started) << outcome.error;
  EXPECT_EQ(WaitFor("wine-ricevuti"), Bracketed({(Root() / "Giochi/ZSnes.exe").string(), "-0",
                                                 wineCopy, "/s", "C:\\Giochi\\Gioco.smc"}) +
                                          "WINEPREFIX=" + (Root() / "prefisso").string() + "\n");

  // Only a Wine that runs the program's bits will do, and a new prefix is announced.
  prefix.Set((Root() / "prefisso nuovo").c_str());
  const struct {
    std::string header;
    bool wine32;
    bool starts;
  } cases[] = {
      {std::string("PE\0\0\x4c\x01", 6), false, false},  // i386
      {"NE", false, false},                              // 16-bit Windows
      {std::string("PE\0\0\x64\x86", 6), false, true},   // x86-64
      {std::string("PE\0\0\x4c\x01", 6), true, true},
  };
  for (const auto& c : cases) {
    WriteBytes("ZSnes.exe", MzImage(c.header));
    if (c.wine32) WriteBytes("lib/wine/wine", "");
    const StartOutcome tried = StartProgram("ZSnes.exe", {});
    EXPECT_EQ(tried.started, c.starts) << tried.error;
    if (!c.starts) {
      EXPECT_NE(tried.error.find("wine32"), std::string::npos) << tried.error;
      EXPECT_NE(tried.error.find("dpkg --add-architecture i386"), std::string::npos);
    } else {
      EXPECT_NE(tried.notice.find("prefisso nuovo"), std::string::npos) << tried.notice;
    }
  }

  path_.Set((Root() / "vuota").c_str());
  const StartOutcome noWine = StartProgram("Giochi/ZSnes.exe", {});
  EXPECT_FALSE(noWine.started);
  EXPECT_EQ(
      noWine.error,
      "Impossibile avviare \"Giochi/ZSnes.exe\": per avviarlo serve Wine, che non è installato.");
}

TEST_F(StartProgramTest, AProgramThatEndsAtOnceIsSeenWithWhatItPrinted) {
  const struct {
    const char* body;
    bool failed;
    int code;
    const char* lastLines;
  } cases[] = {
      {"echo uno; echo due >&2; echo 'manca MSVCRT.DLL'; exit 3", true, 3, "due\nmanca MSVCRT.DLL"},
      {"echo tutto bene; exit 0", false, 0, "tutto bene"},
      {"printf 'Citt\\340\\r\\n'; kill -9 $$", true, 9, "Città"},
  };
  for (const auto& c : cases) {
    WriteProgram("corto.sh", std::string("#!/bin/sh\n") + c.body + "\n");
    StartOutcome outcome = StartProgram("corto.sh", {});
    ASSERT_TRUE(outcome.started && outcome.watch) << outcome.error;
    const auto ended = testing::WaitForEnd(*outcome.watch, 200);
    ASSERT_TRUE(ended) << c.body;
    EXPECT_EQ(ended->failed, c.failed) << c.body;
    EXPECT_EQ(ended->code, c.code) << c.body;
    EXPECT_EQ(outcome.watch->LastLines(2), c.lastLines) << c.body;
  }
  // One still running is not waited for.
  WriteProgram("lungo.sh", "#!/bin/sh\nsleep 5\n");
  const auto start = std::chrono::steady_clock::now();
  StartOutcome running = StartProgram("lungo.sh", {});
  ASSERT_TRUE(running.watch);
  EXPECT_FALSE(running.watch->Poll());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(StartProgramTest, DosProgramsStartInDosBoxWithTheUsersSettingsThenOurs) {
  // The stand-in also reports the configuration's mode and text, read while it runs.
  OnPath("dosbox", "stat -c %a \"$2\"; cat \"$2\";");
  OnPath("wine");
  testing::MakeWinePrefix("prefisso");
  WriteBytes("prefisso/drive_c/NESticle/DOS4GW.EXE", MzImage("LE"));
  WriteBytes("prefisso/drive_c/NESticle/Gioco.nes", "");
  fs::create_directory("run");  // with the mode the system gives it
  fs::permissions("run", fs::perms::owner_all, fs::perm_options::replace);
  const std::string real = fs::canonical(Root()).string();
  const testing::ScopedEnv prefix("WINEPREFIX", (Root() / "prefisso").c_str());
  const testing::ScopedEnv runtime("XDG_RUNTIME_DIR", (Root() / "run").c_str());
  const StartOutcome outcome =
      StartProgram("C:\\NESticle\\Dos4GW.exe",
                   {"NESticle.exe", "-run", real + "/prefisso/drive_c/NESticle/Gioco.nes"});
  prefix.Set(nullptr);
  ASSERT_TRUE(outcome.started) << outcome.error;

  const std::string received = WaitFor("dosbox-ricevuti");
  const std::string confFolder = "[" + (Root() / "run").string() + "/valmerin-dosbox-";
  ASSERT_EQ(received.rfind("[-conf]\n" + confFolder, 0), 0u) << received;
  const size_t exitAt = received.find(".conf]\n[-exit]\n");
  ASSERT_NE(exitAt, std::string::npos) << received;
  EXPECT_EQ(received.substr(exitAt + 15),
            "600\n[autoexec]\nmount -u C\nmount C \"" + real +
                "/prefisso/drive_c\"\nC:\ncd \\NESticle\n"
                "Dos4GW.exe NESticle.exe -run C:\\NESticle\\Gioco.nes\nexit\n");
  EXPECT_FALSE(fs::exists("wine-ricevuti"));

  // The user's own settings come first, and no shell redirection is handed on.
  WriteBytes("casa/.dosbox/dosbox-0.74-3.conf", "[sdl]\nfullscreen=true\n");
  WriteBytes("Vecchio/DOS4GW.EXE", MzImage("LE"));
  const StartOutcome refused = StartProgram("Vecchio\\DOS4GW.EXE", {"-v>out.txt", "a|b"});
  EXPECT_FALSE(refused.started);
  EXPECT_NE(refused.error.find("> |"), std::string::npos) << refused.error;
  fs::remove("dosbox-ricevuti");
  const StartOutcome withUsers = StartProgram("Vecchio\\DOS4GW.EXE", {"-v"});
  ASSERT_TRUE(withUsers.started) << withUsers.error;
  const std::string users = WaitFor("dosbox-ricevuti");
  EXPECT_EQ(users.substr(0, users.find("[-conf]", 1)),
            Bracketed({"-conf", (Root() / "casa/.dosbox/dosbox-0.74-3.conf").string()}))
      << users;
  // Once DOSBox has ended, its configuration is gone.
  EXPECT_TRUE(WaitUntil([] { return fs::is_empty("run"); }));

  path_.Set((Root() / "vuota").c_str());
  const StartOutcome noDosBox = StartProgram(real + "/prefisso/drive_c/NESticle/DOS4GW.EXE", {});
  runtime.Set(nullptr);
  EXPECT_FALSE(noDosBox.started);
  EXPECT_EQ(noDosBox.error, "Per avviare \"" + real +
                                "/prefisso/drive_c/NESticle/DOS4GW.EXE\" (un programma DOS) serve "
                                "DOSBox: installare il pacchetto dosbox.");
  EXPECT_TRUE(fs::is_empty("run"));
}

TEST_F(StartProgramTest, FailuresAreReportedNotStarted) {
  WriteBytes("testo.txt", "non un programma");
  fs::create_directory("Cartella");
  // exec itself fails: the interpreter named by the script does not exist.
  WriteProgram("rotto.sh", "#!/percorso/inesistente/sh\n");
  for (const char* program : {"testo.txt", "Cartella", "rotto.sh"}) {
    const StartOutcome outcome = StartProgram(program, {});
    EXPECT_FALSE(outcome.started) << program;
    EXPECT_FALSE(outcome.error.empty()) << program;
  }
  const testing::ScopedEnv prefix("WINEPREFIX", (Root() / "prefisso").c_str());
  const StartOutcome missing = StartProgram("C:\\ZSnes\\ZSnes.exe", {"-0"});
  EXPECT_FALSE(missing.started);
  EXPECT_EQ(missing.error, "Impossibile avviare \"C:\\ZSnes\\ZSnes.exe\": il file non esiste.");
}

#endif

}  // namespace
}  // namespace valmerin
