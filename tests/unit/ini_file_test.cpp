#include "core/settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/settings/file_locations.h"
#include "support/scratch_folder.h"

namespace plumwit {
namespace {

using testing::FileSizeLimit;
using testing::PermissionsOf;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

class IniFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder_.File("settings.kiv"); }
  IniFile File() const { return IniFile(Path()); }

  void SaveOptions(const std::string& period, bool never_refresh, bool windows_start) {
    IniFile file = File();
    file.WriteString("Options", "RefreshTimeline", period);
    file.WriteBool("Options", "NeverRefresh", never_refresh);
    file.WriteBool("Options", "WindowsStart", windows_start);
  }

  // What a refused write must leave behind: the error naming the file, the
  // old bytes, and no temporary file.
  void ExpectRefused(const std::string& section, const std::string& key, const std::string& value) {
    const std::string before = ReadBytes(Path());
    const std::vector<std::string> entries = folder_.Entries();
    try {
      File().WriteString(section, key, value);
      ADD_FAILURE() << "the write of [" << section << "] " << key << " was not refused";
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), "Unable to write to " + Path());
    }
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_EQ(folder_.Entries(), entries);
  }

  ScratchFolder folder_;
};

TEST(SettingsFilePath, IsTheSettingsKivOfThisRun) {
  EXPECT_EQ(SettingsFilePath(), SettingsFileLocation(ProgramFolder(), UserConfigFolder()));
  EXPECT_EQ(ProgramFolder().back(), '/');
}

TEST_F(IniFileTest, RememberedSignInAndTwoSavesOfTheOptionsGiveSixLines) {
  File().WriteBool("Login", "Remember", true);
  SaveOptions("15 minutes", false, true);
  const std::string six_lines =
      "[Login]\r\nRemember=1\r\n"
      "[Options]\r\nRefreshTimeline=15 minutes\r\nNeverRefresh=0\r\nWindowsStart=1\r\n";
  EXPECT_EQ(ReadBytes(Path()), six_lines);

  SaveOptions("1 hour", true, false);
  EXPECT_EQ(ReadBytes(Path()),
            "[Login]\r\nRemember=1\r\n"
            "[Options]\r\nRefreshTimeline=1 hour\r\nNeverRefresh=1\r\nWindowsStart=0\r\n");
  EXPECT_EQ(File().ReadString("Options", "RefreshTimeline", ""), "1 hour");
  EXPECT_TRUE(File().ReadBool("Options", "NeverRefresh", false));
  EXPECT_FALSE(File().ReadBool("Options", "WindowsStart", true));
}

TEST_F(IniFileTest, MissingFileGivesTheFallbacksAndIsNotCreatedByReading) {
  EXPECT_EQ(File().ReadString("Options", "RefreshTimeline", "none"), "none");
  EXPECT_FALSE(File().ReadBool("Login", "Remember", false));
  EXPECT_TRUE(File().ReadBool("Login", "Remember", true));
  EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(IniFileTest, ReadsTextsAsTheyWereMeant) {
  struct Case {
    const char* file;
    const char* expected;  // for [Options] RefreshTimeline, "<fallback>" when missing
  };
  const std::vector<Case> cases = {
      {"[Options]\r\nRefreshTimeline=5 minutes\r\n", "5 minutes"},
      {"[options]\r\nrefreshtimeline=5 minutes\r\n", "5 minutes"},
      {"  [ OPTIONS ]  \r\n  RefreshTimeline  =  5 minutes \t\r\n", "5 minutes"},
      {"[Options]\nRefreshTimeline=5 minutes\n", "5 minutes"},
      {"[Options]\r\nRefreshTimeline=5 minutes", "5 minutes"},
      {"\xEF\xBB\xBF[Options]\r\nRefreshTimeline=5 minutes\r\n", "5 minutes"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[Options]\r\nRefreshTimeline=5 minutes\r\n",
       "5 minutes"},
      {"[Options]\r\nRefreshTimeline=\" 5 minutes \"\r\n", " 5 minutes "},
      {"[Options]\r\nRefreshTimeline='5 minutes'\r\n", "5 minutes"},
      {"[Options]\r\nRefreshTimeline=\"\"5 minutes\"\"\r\n", "\"5 minutes\""},
      {"[Options]\r\nRefreshTimeline=\"5 minutes'\r\n", "\"5 minutes'"},
      {"[Options]\r\nRefreshTimeline=\"\r\n", "\""},
      {"[Options]\r\nRefreshTimeline=a=b\r\n", "a=b"},
      {"[Options]\r\nRefreshTimeline=\r\n", ""},
      {"[Options]\r\nRefreshTimeline=first\r\nRefreshTimeline=second\r\n", "first"},
      {"[Options]\r\nRefreshTimeline=first\r\n[Options]\r\nRefreshTimeline=second\r\n", "first"},
      {"[Options]\r\nOther=1\r\n[Options]\r\nRefreshTimeline=second\r\n", "<fallback>"},
      {"RefreshTimeline=before any section\r\n[Options]\r\n", "<fallback>"},
      {"[Login]\r\nRefreshTimeline=elsewhere\r\n", "<fallback>"},
      {"[Options]\r\nRefreshTimeline\r\n", "<fallback>"},
      {"[Options\r\nRefreshTimeline=unclosed\r\n", "unclosed"},
      {"", "<fallback>"},
  };
  for (const auto& c : cases) {
    WriteBytes(Path(), c.file);
    EXPECT_EQ(File().ReadString("Options", "RefreshTimeline", "<fallback>"), c.expected)
        << "file: " << c.file;
  }
}

TEST_F(IniFileTest, AJustWrittenValueSurvivesARunOfByteOrderMarks) {
  WriteBytes(Path(), "\xEF\xBB\xBF\xEF\xBB\xBF[Login]\r\nRemember=0\r\n");
  File().WriteBool("Login", "Remember", true);
  EXPECT_TRUE(File().ReadBool("Login", "Remember", false));
  EXPECT_EQ(ReadBytes(Path()), "[Login]\r\nRemember=1\r\n");
}

TEST_F(IniFileTest, ReadsBooleansAsIntegers) {
  struct Case {
    const char* value;
    int expected;  // 1 true, 0 false, -1 the fallback
  };
  const std::vector<Case> cases = {
      {"1", 1},
      {"0", 0},
      {"2", 1},
      {"-1", 1},
      {"+0", 0},
      {"0x1", 1},
      {"0X0", 0},
      {"0xFFFFFFFF", 1},
      {"0x00", 0},
      {"007", 1},
      {" 1 ", 1},
      {"\"1\"", 1},
      {"yes", -1},
      {"true", -1},
      {"", -1},
      {"0x", -1},
      {"0x1g", -1},
      {"1a", -1},
      {"1.0", -1},
      {"+-1", -1},
      {"--1", -1},
      {"0x-1", -1},
      {"99999999999", -1},
      {"0x100000000", -1},
      {"x1", -1},
  };
  for (const auto& c : cases) {
    WriteBytes(Path(), std::string("[Options]\r\nNeverRefresh=") + c.value + "\r\n");
    for (const bool fallback : {false, true}) {
      const bool expected = c.expected < 0 ? fallback : c.expected == 1;
      EXPECT_EQ(File().ReadBool("Options", "NeverRefresh", fallback), expected)
          << "value \"" << c.value << "\", fallback " << fallback;
    }
  }
}

TEST_F(IniFileTest, ReadsAtMost2047CharactersWithoutSplittingOne) {
  const std::string long_value(3000, 'a');
  File().WriteString("Options", "Long", long_value);
  EXPECT_EQ(File().ReadString("Options", "Long", ""), std::string(2047, 'a'));

  // A two-byte character across the limit is left out whole.
  const std::string accented = std::string(2046, 'a') + "\xC3\xA9" + "tail";
  File().WriteString("Options", "Accented", accented);
  EXPECT_EQ(File().ReadString("Options", "Accented", ""), std::string(2046, 'a'));
}

TEST_F(IniFileTest, ReplacesInPlaceAndAppendsNewKeysAtTheEndOfTheirSection) {
  WriteBytes(Path(),
             "; kept as it is\n"
             "[options]\n"
             "refreshtimeline = 5 minutes\n"
             "Unrelated=x\n"
             "\n"
             "[login]\n"
             "remember=0\n");
  File().WriteString("Options", "RefreshTimeline", "45 minutes");
  File().WriteBool("OPTIONS", "NeverRefresh", true);
  File().WriteBool("Login", "REMEMBER", true);
  File().WriteString("Extra", "Key", "value");
  EXPECT_EQ(ReadBytes(Path()),
            "; kept as it is\r\n"
            "[options]\r\n"
            "refreshtimeline=45 minutes\r\n"
            "Unrelated=x\r\n"
            "NeverRefresh=1\r\n"
            "\r\n"
            "[login]\r\n"
            "remember=1\r\n"
            "[Extra]\r\n"
            "Key=value\r\n");
}

TEST_F(IniFileTest, RefusedWritesRaiseTheErrorAndLeaveTheFileAsItWas) {
  WriteBytes(Path(), "[Options]\r\nNeverRefresh=0\r\n");
  // Values or names that would split the line or read back as something else.
  ExpectRefused("Options", "NeverRefresh", "1\r\n[Login]\r\nRemember=1");
  ExpectRefused("Options", "NeverRefresh", "1\n");
  ExpectRefused("Opt]ions", "NeverRefresh", "1");
  ExpectRefused("Options", "Never=Refresh", "1");
  ExpectRefused("Options", "[NeverRefresh", "1");
  ExpectRefused("", "NeverRefresh", "1");
  ExpectRefused("Options", " ", "1");

  // A read-only file, even for a process that could write it anyway.
  ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
  ExpectRefused("Options", "NeverRefresh", "1");
}

TEST_F(IniFileTest, UnwritablePlacesRaiseTheErrorWithTheFullPath) {
  WriteBytes(folder_.File("file"), "");
  ASSERT_EQ(::mkdir(folder_.File("folder").c_str(), 0755), 0);
  const std::vector<std::string> paths = {
      folder_.File("missing/settings.kiv"),
      folder_.File("file/settings.kiv"),
      folder_.File("folder"),
  };
  for (const auto& path : paths) {
    IniFile file(path);
    try {
      file.WriteBool("Options", "NeverRefresh", true);
      ADD_FAILURE() << path << " was written";
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), "Unable to write to " + path);
    }
  }
  EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"file", "folder"}));
}

TEST_F(IniFileTest, DiskFullMidWriteLeavesTheOldFileWhole) {
  const std::string before = "[Options]\r\nRefreshTimeline=5 minutes\r\n";
  WriteBytes(Path(), before);
  {
    FileSizeLimit limit(before.size() + 100);
    EXPECT_THROW(File().WriteString("Options", "RefreshTimeline", std::string(500, 'x')), Error);
  }
  EXPECT_EQ(ReadBytes(Path()), before);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"settings.kiv"});
}

TEST_F(IniFileTest, KeepsThePermissionsOfTheFileItReplaces) {
  File().WriteBool("Login", "Remember", true);
  EXPECT_EQ(PermissionsOf(Path()), 0644u);
  ASSERT_EQ(::chmod(Path().c_str(), 0660), 0);
  File().WriteBool("Login", "Remember", false);
  EXPECT_EQ(PermissionsOf(Path()), 0660u);
}

TEST_F(IniFileTest, WritesThroughALinkIntoTheFileItPointsAt) {
  ASSERT_EQ(::mkdir(folder_.File("etc").c_str(), 0755), 0);
  WriteBytes(folder_.File("etc/settings.kiv"), "[Login]\r\nRemember=0\r\n");
  ASSERT_EQ(::symlink("etc/settings.kiv", Path().c_str()), 0);
  File().WriteBool("Login", "Remember", true);
  EXPECT_TRUE(std::filesystem::is_symlink(Path()));
  EXPECT_EQ(ReadBytes(folder_.File("etc/settings.kiv")), "[Login]\r\nRemember=1\r\n");
}

TEST_F(IniFileTest, StrangeFilesNeitherCrashNorHang) {
  // Over the size limit: unreadable, and never cut down by a write.
  const std::string huge = "[Options]\r\nNeverRefresh=1\r\n" + std::string(2 << 20, 'x');
  WriteBytes(Path(), huge);
  EXPECT_FALSE(File().ReadBool("Options", "NeverRefresh", false));
  ExpectRefused("Options", "NeverRefresh", "0");

  // Binary bytes around a readable section: the section is still found and
  // the bytes are kept.
  const std::string binary("\x00\xFF\x01[\x7F\r\x00=\x00\n", 10);
  WriteBytes(Path(), binary + "[Options]\nNeverRefresh=1\n" + binary);
  EXPECT_TRUE(File().ReadBool("Options", "NeverRefresh", false));
  File().WriteBool("Options", "NeverRefresh", false);
  EXPECT_FALSE(File().ReadBool("Options", "NeverRefresh", true));
  EXPECT_NE(ReadBytes(Path()).find(std::string("\x00\xFF\x01[\x7F\r\x00=\x00", 9)),
            std::string::npos);

  // Something that is not a regular file: reading must not wait for a writer.
  ASSERT_EQ(::unlink(Path().c_str()), 0);
  ASSERT_EQ(::mkfifo(Path().c_str(), 0644), 0);
  EXPECT_EQ(File().ReadString("Options", "NeverRefresh", "fallback"), "fallback");
  EXPECT_THROW(File().WriteBool("Options", "NeverRefresh", true), Error);
}

}  // namespace
}  // namespace plumwit
