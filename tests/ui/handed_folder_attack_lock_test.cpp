// What a handed folder or another account puts where the single-instance guard
// looks: a link or a special file at the lock's name, the user's fallback socket
// folder taken first. The guard still holds, nothing outside the data folder
// changes, and nothing of the user's lands in the other account's folder.
#ifndef _WIN32
#include <QApplication>

#include "platform/private_folder.h"
#include "reliability/handed_folder.h"
#include "test_application.h"
#include "ui/single_instance.h"

namespace valmerin::testing {
namespace {

class HandedFolderAttackLock : public HandedFolderTest {
 protected:
  void SetUp() override {
    testing::EnsureApplication();
    HandedFolderTest::SetUp();
  }
};

TEST_F(HandedFolderAttackLock, ALinkOrSpecialFileAtTheLockNameIsNamedAndLeftAlone) {
  const char* targets[] = {"../../.bashrc", "../../Documenti", "/dev/zero"};
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    fs::remove(".valmerin.lock");
    fs::create_symlink(target, ".valmerin.lock");
    SingleInstance start;
    EXPECT_FALSE(start.Claim());
    EXPECT_TRUE(start.AlreadyOpenMessage().contains(QStringLiteral(".valmerin.lock")));
    EXPECT_TRUE(fs::is_symlink(".valmerin.lock"));
    ExpectHomeUntouched();
  }
}

struct EnvironmentKept {
  explicit EnvironmentKept(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) value_ = value;
  }
  ~EnvironmentKept() {
    if (value_) {
      setenv(name_, value_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> value_;
};

// Without a private runtime folder the socket goes into a folder of the user's in
// the shared temporary folder; when another account got that name first, the
// guard works without a socket and tells that account nothing.
TEST_F(HandedFolderAttackLock, ASocketFolderTakenByAnotherAccountIsNeverUsed) {
  EnvironmentKept runtime("XDG_RUNTIME_DIR");
  EnvironmentKept temporary("TMPDIR");
  unsetenv("XDG_RUNTIME_DIR");
  fs::path taken;
  if (const char* attacker = std::getenv("VALMERIN_ATTACKER_FOLDER")) {
    // make test-attack: the other account really made it, open to all.
    taken = attacker;
    setenv("TMPDIR", taken.parent_path().c_str(), 1);
  } else {
    fs::create_directories(Root() / "tmp");
    setenv("TMPDIR", (Root() / "tmp").c_str(), 1);
    taken = Root() / "tmp" / ("valmerin-" + std::to_string(geteuid()));
    fs::create_directory(taken);
    fs::permissions(taken, fs::perms::all);
    // As root, hand it to another account as well.
    if (geteuid() == 0) ASSERT_EQ(chown(taken.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(taken.filename().string(), "valmerin-" + std::to_string(geteuid()));
  EXPECT_FALSE(PrivateRuntimeFolder().has_value());
  SingleInstance first;
  ASSERT_TRUE(first.Claim());
  SingleInstance second;
  EXPECT_FALSE(second.Claim());
  EXPECT_FALSE(second.AskOtherToComeForward());
  EXPECT_TRUE(fs::is_empty(taken));
  ExpectHomeUntouched();
}

}  // namespace
}  // namespace valmerin::testing
#endif
