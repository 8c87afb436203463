#include "core/settings/file_locations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/settings/ini_file.h"
#include "support/scratch_folder.h"

namespace plumwit {
namespace {

using testing::PermissionsOf;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// An installed tree in a scratch folder: bin/ for the program, share/plumwit/
// for its data, home/.config for the user's configuration.
class FileLocationsTest : public ::testing::Test {
 protected:
  FileLocationsTest() {
    for (const char* folder : {"/bin", "/share", "/share/plumwit", "/home"}) {
      EXPECT_EQ(::mkdir((root_.Path() + folder).c_str(), 0755), 0) << folder;
    }
  }

  std::string ProgramFolder() const { return root_.Path() + "/bin/"; }
  std::string DataFolder() const { return root_.Path() + "/share/plumwit/"; }
  std::string ConfigHome() const { return root_.Path() + "/home/.config"; }
  std::string UserFolder() const { return UserConfigFolder(ConfigHome()); }

  ScratchFolder root_;
};

TEST_F(FileLocationsTest, UserFolderIsThePlumwitFolderOfTheConfigHome) {
  EXPECT_EQ(UserConfigFolder("/home/ann/.config"), "/home/ann/.config/plumwit/");
  EXPECT_EQ(UserConfigFolder("/xdg/"), "/xdg/plumwit/");
  EXPECT_EQ(UserConfigFolder(""), "");
}

TEST_F(FileLocationsTest, SettingsFollowTheUserUnlessThePortableCopyHasItsOwn) {
  EXPECT_EQ(SettingsFileLocation(ProgramFolder(), UserFolder()), UserFolder() + "settings.kiv");

  // An empty file makes a portable copy: it reads like a missing one.
  WriteBytes(ProgramFolder() + "settings.kiv", "");
  EXPECT_EQ(SettingsFileLocation(ProgramFolder(), UserFolder()), ProgramFolder() + "settings.kiv");
}

TEST_F(FileLocationsTest, PortableRuleCountsLinksButNotFolders) {
  ASSERT_EQ(::mkdir((ProgramFolder() + "settings.kiv").c_str(), 0755), 0);
  EXPECT_EQ(SettingsFileLocation(ProgramFolder(), UserFolder()), UserFolder() + "settings.kiv");
  ASSERT_EQ(::rmdir((ProgramFolder() + "settings.kiv").c_str()), 0);

  // A link to a file not yet made: the user chose where the copy keeps it.
  ASSERT_EQ(::symlink("../elsewhere.kiv", (ProgramFolder() + "settings.kiv").c_str()), 0);
  EXPECT_EQ(SettingsFileLocation(ProgramFolder(), UserFolder()), ProgramFolder() + "settings.kiv");
}

TEST_F(FileLocationsTest, WithoutAUserFolderTheProgramFolderIsUsed) {
  EXPECT_EQ(SettingsFileLocation(ProgramFolder(), ""), ProgramFolder() + "settings.kiv");
}

TEST_F(FileLocationsTest, StylesheetIsTakenFromTheProgramFolderFirst) {
  // Neither holds one: the page keeps linking the program folder.
  EXPECT_EQ(StylesheetFolder(ProgramFolder(), "../share/plumwit"), ProgramFolder());

  WriteBytes(DataFolder() + "style.css", "body {}");
  EXPECT_EQ(StylesheetFolder(ProgramFolder(), "../share/plumwit"), DataFolder());
  EXPECT_EQ(StylesheetFolder(ProgramFolder(), "../share/plumwit/"), DataFolder());

  WriteBytes(ProgramFolder() + "style.css", "body {}");
  EXPECT_EQ(StylesheetFolder(ProgramFolder(), "../share/plumwit"), ProgramFolder());
}

TEST_F(FileLocationsTest, InstalledDataFolderIsFoundRelativeToTheProgram) {
  EXPECT_EQ(std::string(build::kDataFolderFromProgram), "../share/plumwit");
  WriteBytes(DataFolder() + "style.css", "body {}");
  EXPECT_EQ(StylesheetFolder(ProgramFolder()), DataFolder());
  // A folder named like the stylesheet is no stylesheet.
  ASSERT_EQ(::mkdir((ProgramFolder() + "style.css").c_str(), 0755), 0);
  EXPECT_EQ(StylesheetFolder(ProgramFolder()), DataFolder());
}

TEST_F(FileLocationsTest, FirstSettingsWriteCreatesThePrivateUserFolder) {
  const std::string path = SettingsFileLocation(ProgramFolder(), UserFolder());
  const IniFile settings(path, MissingFolder::kCreatePrivate);
  EXPECT_FALSE(settings.ReadBool("Login", "Remember", false));
  EXPECT_EQ(::access(ConfigHome().c_str(), F_OK), -1) << "a read created a folder";

  IniFile(path, MissingFolder::kCreatePrivate).WriteBool("Login", "Remember", true);
  EXPECT_EQ(ReadBytes(UserFolder() + "settings.kiv"), "[Login]\r\nRemember=1\r\n");
  EXPECT_EQ(PermissionsOf(ConfigHome()), 0700u);
  EXPECT_EQ(PermissionsOf(UserFolder()), 0700u);
  // An existing folder keeps its rights.
  ASSERT_EQ(::chmod(UserFolder().c_str(), 0750), 0);
  IniFile(path, MissingFolder::kCreatePrivate).WriteBool("Login", "Remember", false);
  EXPECT_EQ(PermissionsOf(UserFolder()), 0750u);
}

TEST_F(FileLocationsTest, UncreatableUserFolderRefusesTheWriteWithItsPath) {
  WriteBytes(ConfigHome(), "not a folder");
  const std::string path = UserFolder() + "settings.kiv";
  try {
    IniFile(path, MissingFolder::kCreatePrivate).WriteBool("Login", "Remember", true);
    ADD_FAILURE() << "the write was not refused";
  } catch (const Error& error) {
    EXPECT_EQ(error.what(), "Unable to write to " + path);
  }
  EXPECT_FALSE(CreatePrivateFolders(""));
}

}  // namespace
}  // namespace plumwit
