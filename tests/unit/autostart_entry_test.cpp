#include "core/settings/autostart_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/scratch_folder.h"

namespace plumwit {
namespace {

using testing::PermissionsOf;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class AutostartEntryTest : public ::testing::Test {
 protected:
  std::string ConfigFolder() const { return folder_.File("xdg"); }
  std::string AutostartFolder() const { return ConfigFolder() + "/autostart"; }
  std::string EntryPath() const { return AutostartFolder() + "/Plumwit.desktop"; }

  static std::string EntryWithCommand(const std::string& exec) {
    return "[Desktop Entry]\nType=Application\nName=Plumwit\nExec=" + exec + "\n";
  }

  ScratchFolder folder_;
};

TEST_F(AutostartEntryTest, AddCreatesTheFolderAndAMachineWideEntry) {
  AddRunEntry("/opt/plumwit/", ConfigFolder());
  EXPECT_EQ(ReadBytes(EntryPath()), EntryWithCommand("/opt/plumwit/plumwit"));
  EXPECT_EQ(PermissionsOf(EntryPath()), 0644u);
  EXPECT_EQ(PermissionsOf(AutostartFolder()), 0755u);

  // Adding again replaces the entry.
  AddRunEntry("/usr/lib/plumwit/", ConfigFolder() + "/");
  EXPECT_EQ(ReadBytes(EntryPath()), EntryWithCommand("/usr/lib/plumwit/plumwit"));
  // Nothing but the entry: no temporary file left beside it.
  const std::filesystem::directory_iterator entries(AutostartFolder());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

TEST_F(AutostartEntryTest, ProgramFoldersAreQuotedSoTheCommandStaysOneArgument) {
  struct Case {
    std::string program_folder;
    std::string exec;
  };
  const std::vector<Case> cases = {
      {"/opt/plumwit-1.7/", "/opt/plumwit-1.7/plumwit"},
      {"/opt/my apps/", "\"/opt/my apps/plumwit\""},
      {"/opt/100%/", "/opt/100%%/plumwit"},
      {"/opt/a\"b$c`d/", "\"/opt/a\\\\\"b\\\\$c\\\\`d/plumwit\""},
      {"/opt/back\\slash/", "\"/opt/back\\\\\\\\slash/plumwit\""},
      {"/opt/x\nExec=evil\n/", "\"/opt/x\\nExec=evil\\n/plumwit\""},
  };
  for (const auto& c : cases) {
    AddRunEntry(c.program_folder, ConfigFolder());
    EXPECT_EQ(ReadBytes(EntryPath()), EntryWithCommand(c.exec)) << c.program_folder;
  }
}

TEST_F(AutostartEntryTest, FailuresRaiseTheirErrorsAndKeepTheOldEntry) {
  WriteBytes(folder_.File("file"), "");
  try {
    AddRunEntry("/opt/plumwit/", folder_.File("file"));
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Failed to create key " + folder_.File("file/autostart"));
  }

  AddRunEntry("/opt/plumwit/", ConfigFolder());
  const std::string before = ReadBytes(EntryPath());
  ASSERT_EQ(::chmod(EntryPath().c_str(), 0444), 0);
  try {
    AddRunEntry("/elsewhere/", ConfigFolder());
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Failed to set data for 'Plumwit'");
  }
  EXPECT_EQ(ReadBytes(EntryPath()), before);

  ASSERT_EQ(::unlink(EntryPath().c_str()), 0);
  ASSERT_EQ(::mkdir(EntryPath().c_str(), 0755), 0);
  EXPECT_THROW(AddRunEntry("/opt/plumwit/", ConfigFolder()), Error);
}

TEST_F(AutostartEntryTest, RemoveReportsEachOfItsThreeOutcomes) {
  EXPECT_EQ(RemoveRunEntry(ConfigFolder()), "Registry Key not found.");
  AddRunEntry("/opt/plumwit/", ConfigFolder());
  EXPECT_EQ(RemoveRunEntry(ConfigFolder()), "Plumwit will not start with Windows anymore.");
  EXPECT_FALSE(std::filesystem::exists(EntryPath()));
  EXPECT_EQ(RemoveRunEntry(ConfigFolder()), "Plumwit Registry Key not found.");
}

TEST(SystemConfigFolder, IsTheFirstAbsoluteConfigDirectory) {
  struct Case {
    std::optional<std::string> variable;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {std::nullopt, "/etc/xdg"},
      {"", "/etc/xdg"},
      {"/etc/xdg/xdg-kde:/etc/xdg", "/etc/xdg/xdg-kde"},
      {"relative:/second", "/second"},
      {"::/third:", "/third"},
      {"relative", "/etc/xdg"},
  };
  const char* saved = std::getenv("XDG_CONFIG_DIRS");
  const std::optional<std::string> previous =
      saved ? std::optional<std::string>(saved) : std::nullopt;
  for (const auto& c : cases) {
    if (c.variable) {
      ::setenv("XDG_CONFIG_DIRS", c.variable->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_DIRS");
    }
    EXPECT_EQ(SystemConfigFolder(), c.folder) << c.variable.value_or("(unset)");
  }
  if (previous) {
    ::setenv("XDG_CONFIG_DIRS", previous->c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_DIRS");
  }
}

}  // namespace
}  // namespace plumwit
