#include "ui/install_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/folder_notice.h"
#include "store/settings_store.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
 public:
  EnvironmentValue(const char* name, const char* value) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvironmentValue() {
    if (Old)
      setenv(Name, Old->c_str(), 1);
    else
      unsetenv(Name);
  }

 private:
  const char* Name;
  std::optional<std::string> Old;
};

class InstallPlacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Program());
    WriteText(Program() + "QLDEFLT.QLF", "default networks");
  }
  void TearDown() override {
    // A read-only installation must be writable again to be cleaned up.
    chmod(Program().c_str(), 0755);
  }
  std::string Program() const { return Scratch.Path("install/"); }
  std::string DataHome() const { return Scratch.Path("data"); }

  ScratchDirectory Scratch;
  EnvironmentValue XdgDataHome{"XDG_DATA_HOME", DataHome().c_str()};
};

TEST_F(InstallPlacesTest, WritableInstallationKeepsThePlayerFilesItself) {
  const InstallPlaces places = FindInstallPlaces(Program());
  EXPECT_EQ(places.Installation, Program());
  EXPECT_EQ(places.Configuration, Program());
  EXPECT_FALSE(fs::exists(DataHome()));
  // Without the trailing slash, the same places.
  EXPECT_EQ(FindInstallPlaces(Scratch.Path("install")).Configuration, Program());
}

TEST_F(InstallPlacesTest, ReadOnlyInstallationKeepsThePlayerFilesInTheUserDataDirectory) {
  // chmod a-w: read-only for root as well, who could still write into it.
  ASSERT_EQ(chmod((Program() + "QLDEFLT.QLF").c_str(), 0444), 0);
  ASSERT_EQ(chmod(Program().c_str(), 0555), 0);
  const InstallPlaces places = FindInstallPlaces(Program());
  EXPECT_EQ(places.Installation, Program());
  EXPECT_EQ(places.Configuration, DataHome() + "/quorla/");
  EXPECT_TRUE(fs::is_directory(places.Configuration));

  SeedPlayerFiles(places);
  EXPECT_EQ(FileText(places.Configuration + "QLPLAY.QLF"), "default networks");
  EXPECT_FALSE(fs::exists(Program() + "QLPLAY.QLF"));
  // The learned networks must be writable for their owner, whatever the
  // installed defaults' mode.
  struct stat copied {};
  ASSERT_EQ(stat((places.Configuration + "QLPLAY.QLF").c_str(), &copied), 0);
  EXPECT_NE(copied.st_mode & S_IWUSR, 0u);
  // Learned networks are never replaced by the defaults again.
  WriteText(places.Configuration + "QLPLAY.QLF", "learned networks");
  SeedPlayerFiles(places);
  EXPECT_EQ(FileText(places.Configuration + "QLPLAY.QLF"), "learned networks");
}

TEST_F(InstallPlacesTest, MarkedInstallationIsSharedEvenWhenWritable) {
  WriteText(Program() + SHARED_INSTALLATION_MARK, "");
  EXPECT_TRUE(IsSharedInstallation(Program()));
  EXPECT_EQ(FindInstallPlaces(Program()).Configuration, DataHome() + "/quorla/");
}

TEST_F(InstallPlacesTest, UserDataDirectoryFallsBackToTheHomeDirectory) {
  WriteText(Program() + SHARED_INSTALLATION_MARK, "");
  const EnvironmentValue home("HOME", Scratch.Path("home").c_str());
  {
    const EnvironmentValue unset("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(FindInstallPlaces(Program()).Configuration, Scratch.Path("home") + "/.local/share/quorla/");
  }
  {
    // A relative data home is not valid; it would depend on the working directory.
    const EnvironmentValue relative("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(FindInstallPlaces(Program()).Configuration, Scratch.Path("home") + "/.local/share/quorla/");
  }
  EXPECT_TRUE(fs::is_directory(Scratch.Path("home/.local/share/quorla")));
}

TEST_F(InstallPlacesTest, MissingProgramDirectoryIsNeverWrittenInto) {
  EXPECT_TRUE(IsSharedInstallation(Scratch.Path("nowhere")));
  EXPECT_TRUE(IsSharedInstallation(""));
}

}  // namespace

// A portable folder turned read-only: the person's files stay there, new
// ones go to the data directory, and the person is told once where and why.
TEST_F(InstallPlacesTest, APortableFolderTurnedReadOnlySaysOnceWhereThePlayersFilesAre) {
  WriteText(Program() + "QUORLA.INI", "[Statistics]\nUserWins0=9\n");
  WriteText(Program() + "SHARED-INSTALLATION", "");
  EXPECT_FALSE(FindInstallPlaces(Program()).PlayerFilesLeftBehind) << "an installed tree holds nobody's files";
  fs::remove(Program() + "SHARED-INSTALLATION");
  ASSERT_EQ(chmod(Program().c_str(), 0555), 0);
  const InstallPlaces places = FindInstallPlaces(Program());
  ASSERT_TRUE(places.PlayerFilesLeftBehind);

  SettingsStore store("Quorla", places.Configuration + "QUORLA.INI", true);
  const std::string folder = Scratch.Path("install");
  EXPECT_EQ(LeftBehindFilesNotice(store, places.Installation, places.Configuration),
            "Quorla cannot write to the folder " + folder +
                ", which holds the games, statistics and learned networks played there. They are left there as they "
                "were. Until that folder can be written to again, Quorla keeps your files in " + DataHome() +
                "/quorla.");
  EXPECT_EQ(LeftBehindFilesNotice(store, places.Installation, places.Configuration), "");
  SettingsStore again("Quorla", places.Configuration + "QUORLA.INI", true);
  EXPECT_EQ(LeftBehindFilesNotice(again, places.Installation, places.Configuration), "") << "once, across runs";
  EXPECT_EQ(FileText(Program() + "QUORLA.INI"), "[Statistics]\nUserWins0=9\n");
}
