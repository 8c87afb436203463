#include "core/settings/remember_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/scratch_folder.h"

namespace plumwit {
namespace {

using testing::FileSizeLimit;
using testing::PermissionsOf;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// The program always hands over an absolute name in its own folder.
constexpr char kProgramFileName[] = "/opt/plumwit/remember.xml";
constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

class RememberStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder_.File("remember.xml"); }

  std::unique_ptr<RememberStore> OpenStore() const {
    auto store = std::make_unique<RememberStore>(folder_.Path());
    store->SetFileName(kProgramFileName);
    return store;
  }

  void WriteSignIn(const std::string& user_name, const std::string& password) const {
    auto store = OpenStore();
    store->WriteText("RememberUsername", user_name);
    store->WriteText("RememberPassword", password);
  }

  ScratchFolder folder_;
};

TEST_F(RememberStoreTest, StoreNeverWrittenIsSavedAtTheEndAsTwoLines) {
  {
    auto store = OpenStore();
    EXPECT_EQ(store->FullPath(), Path());
    EXPECT_FALSE(store->ReadOnly());
    EXPECT_EQ(store->ReadText("RememberUsername", ""), "");
    EXPECT_TRUE(folder_.Entries().empty());
  }
  EXPECT_EQ(ReadBytes(Path()), std::string(kDeclaration) + "<Configuration/>\r\n");
  EXPECT_EQ(PermissionsOf(Path()), 0600u);
}

TEST_F(RememberStoreTest, SignInsWriteTheFileByteForByte) {
  WriteSignIn("alice", "s3cret");
  EXPECT_EQ(ReadBytes(Path()), std::string(kDeclaration) +
                                   "<Configuration>\r\n"
                                   "  <RememberUsername>alice</RememberUsername>\r\n"
                                   "  <RememberPassword>s3cret</RememberPassword>\r\n"
                                   "</Configuration>\r\n");
  // Remembering switched off keeps both elements, empty.
  WriteSignIn("", "");
  EXPECT_EQ(ReadBytes(Path()), std::string(kDeclaration) +
                                   "<Configuration>\r\n"
                                   "  <RememberUsername/>\r\n"
                                   "  <RememberPassword/>\r\n"
                                   "</Configuration>\r\n");
  EXPECT_EQ(PermissionsOf(Path()), 0600u);
}

TEST_F(RememberStoreTest, EveryWriteSavesAtOnce) {
  WriteSignIn("old", "old password");
  auto store = OpenStore();
  store->WriteText("RememberUsername", "new");
  EXPECT_EQ(ReadBytes(Path()), std::string(kDeclaration) +
                                   "<Configuration>\r\n"
                                   "  <RememberUsername>new</RememberUsername>\r\n"
                                   "  <RememberPassword>old password</RememberPassword>\r\n"
                                   "</Configuration>\r\n");
}

TEST_F(RememberStoreTest, ValuesAreEscapedAndReadBackExactly) {
  struct Case {
    std::string value;
    std::string in_file;
  };
  const std::vector<Case> cases = {
      {"&lt;", "&amp;lt;"},
      {"<a&b\"c'd>", "&lt;a&amp;b&quot;c&apos;d&gt;"},
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf&#xc3;&#xa9; &#xe2;&#x82;&#xac;"},
      {"\x80\xFF", "&#x80;&#xff;"},
      {"   ", "   "},
      {" \t padded \t ", " \t padded \t "},
      {"two\r\nlines", "two\r\nlines"},
      {"&#65; &amp", "&amp;#65; &amp;amp"},
      // Found by the fuzzer: a NUL byte was written but never read back.
      {std::string("a\0b", 3), "a&#x00;b"},
  };
  for (const auto& c : cases) {
    WriteSignIn(c.value, "p");
    EXPECT_NE(ReadBytes(Path()).find("<RememberUsername>" + c.in_file + "</RememberUsername>"),
              std::string::npos)
        << c.in_file;
    EXPECT_EQ(OpenStore()->ReadText("RememberUsername", "unset"), c.value) << c.in_file;
  }
  for (const char c : ReadBytes(Path())) EXPECT_LT(static_cast<unsigned char>(c), 128u);
}

TEST_F(RememberStoreTest, DecodesReferencesInFilesWrittenByOthers) {
  struct Case {
    const char* in_file;
    std::string value;
  };
  const std::vector<Case> cases = {
      {"&LT;&Amp;&QUOT;&apos;&gT;", "<&\"'>"},
      {"&#65;&#x42;&#X43;&#x4a;&#0233;", "ABCJ\xE9"},
      {"&amp;lt;", "&lt;"},
      {"&#0;&#x0;&#256;&#x100;&#99999999999999;", "&#0;&#x0;&#256;&#x100;&#99999999999999;"},
      {"AT&T &foo; &amp &#; &#x; &#12 &#x4g;", "AT&T &foo; &amp &#; &#x; &#12 &#x4g;"},
      {"<![CDATA[&lt; <raw>]]> and text", "&lt; <raw> and text"},
      {"\xC3\xA9", "\xC3\xA9"},
  };
  for (const auto& c : cases) {
    WriteBytes(Path(), std::string("<Configuration><RememberUsername>") + c.in_file +
                           "</RememberUsername></Configuration>");
    EXPECT_EQ(OpenStore()->ReadText("RememberUsername", ""), c.value) << c.in_file;
  }
}

TEST_F(RememberStoreTest, FileOfAnotherShapeIsReadAndWrittenBackInOurs) {
  WriteBytes(Path(),
             "<?xml version='1.1' encoding='UTF-8' standalone='yes'?>\n"
             "<!-- edited by hand -->\n"
             "<Settings lang=\"en\">\n"
             "  <RememberUsername kind=\"user\">bob<ignored>deeper</ignored></RememberUsername>\n"
             "  <Other/>\n"
             "</Settings>\n");
  auto store = OpenStore();
  EXPECT_EQ(store->ReadText("RememberUsername", ""), "bob");
  EXPECT_EQ(store->ReadText("Other", "fallback"), "");
  EXPECT_EQ(store->ReadText("RememberPassword", "fallback"), "fallback");
  store->WriteText("RememberPassword", "pw");
  EXPECT_EQ(ReadBytes(Path()),
            "<?xml version=\"1.1\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<Configuration>\r\n"
            "  <RememberUsername>bob</RememberUsername>\r\n"
            "  <Other/>\r\n"
            "  <RememberPassword>pw</RememberPassword>\r\n"
            "</Configuration>\r\n");

  // A declaration value that cannot be written back safely is left out.
  WriteBytes(Path(), "<?xml version=\"1.0\" encoding='a\"b'?><Configuration/>");
  OpenStore()->WriteText("RememberUsername", "x");
  EXPECT_EQ(ReadBytes(Path()).substr(0, 23), "<?xml version=\"1.0\"?>\r\n");
}

TEST_F(RememberStoreTest, ReadOnlyFileMakesWritesSilentNoOps) {
  WriteSignIn("kept", "kept password");
  const std::string before = ReadBytes(Path());
  ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
  {
    auto store = OpenStore();
    EXPECT_TRUE(store->ReadOnly());
    EXPECT_TRUE(store->WriteText("RememberUsername", "changed"));  // not a failure to report
    EXPECT_EQ(store->ReadText("RememberUsername", ""), "kept");
    EXPECT_FALSE(store->Save());
  }
  EXPECT_EQ(ReadBytes(Path()), before);
  EXPECT_EQ(PermissionsOf(Path()), 0444u);
}

// Files that are no store of ours, each as bytes at the store's path.
std::vector<std::string> UnparsableFiles() {
  return {
      "",
      "<Configuration><RememberUsername>x</RememberPassword></Configuration>",
      "<Configuration>",
      std::string("<Configuration><RememberUsername>a\0b</RememberUsername></Configuration>", 71),
      std::string("\xFF\xFE<\0C\0/\0>\0", 10),
      "not xml at all",
      "<Configuration>" + std::string(2 << 20, ' ') + "</Configuration>",
  };
}

void ExpectUnableToRead(RememberStore& store, const std::string& path) {
  try {
    store.SetFileName(kProgramFileName);
    ADD_FAILURE() << "loaded " << path;
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Unable to read " + path, 0), 0u) << error.what();
  }
}

// Loading keeps the file, and so does the end of a run that wrote nothing;
// the first write moves it aside whole and puts the new store in its place,
// which the next start reads.
TEST_F(RememberStoreTest, UnparsableFileIsSetAsideByTheFirstWrite) {
  const std::string aside = Path() + ".unreadable";
  for (const auto& bytes : UnparsableFiles()) {
    std::filesystem::remove(aside);
    WriteBytes(Path(), bytes);
    ASSERT_EQ(::chmod(Path().c_str(), 0644), 0);
    {
      RememberStore untouched(folder_.Path());
      ExpectUnableToRead(untouched, Path());
      EXPECT_FALSE(untouched.Save());
    }
    EXPECT_EQ(ReadBytes(Path()), bytes);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"remember.xml"});
    {
      RememberStore store(folder_.Path());
      ExpectUnableToRead(store, Path());
      EXPECT_FALSE(store.ReadOnly());
      EXPECT_EQ(store.UnreadableCopyPath(), aside);
      EXPECT_TRUE(store.WriteText("RememberUsername", "ann"));
      EXPECT_TRUE(store.WriteText("RememberPassword", "secret"));
    }
    EXPECT_EQ(ReadBytes(aside), bytes);
    EXPECT_EQ(PermissionsOf(aside), 0600u);
    EXPECT_EQ(PermissionsOf(Path()), 0600u);
    EXPECT_EQ(OpenStore()->ReadText("RememberPassword", ""), "secret");
    EXPECT_EQ(folder_.Entries(),
              (std::vector<std::string>{"remember.xml", "remember.xml.unreadable"}));
  }
}

TEST_F(RememberStoreTest, SettingAsideReplacesAnOlderCopy) {
  WriteBytes(Path() + ".unreadable", "an older broken store");
  WriteBytes(Path(), "<Configuration>");
  RememberStore store(folder_.Path());
  EXPECT_THROW(store.SetFileName(kProgramFileName), Error);
  EXPECT_TRUE(store.WriteText("RememberUsername", "ann"));
  EXPECT_EQ(ReadBytes(Path() + ".unreadable"), "<Configuration>");
  EXPECT_EQ(store.ReadText("RememberUsername", ""), "ann");
}

// A file the user made read-only is theirs, broken or not.
TEST_F(RememberStoreTest, ReadOnlyUnparsableFileStaysAsItIs) {
  WriteBytes(Path(), "<Configuration>");
  ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
  {
    RememberStore store(folder_.Path());
    EXPECT_THROW(store.SetFileName(kProgramFileName), Error);
    EXPECT_TRUE(store.ReadOnly());
    EXPECT_TRUE(store.WriteText("RememberUsername", "ann"));  // not a failure to report
  }
  EXPECT_EQ(ReadBytes(Path()), "<Configuration>");
  EXPECT_EQ(PermissionsOf(Path()), 0444u);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"remember.xml"});
}

// Two store objects (or two running copies) loaded the same broken file: the
// one that writes first sets it aside; the other must not move the new store
// over the broken copy, and saves over it as any later save does.
TEST_F(RememberStoreTest, OnlyTheFileThatFailedToLoadIsSetAside) {
  WriteBytes(Path(), "<Configuration>");
  RememberStore main_window_store(folder_.Path());
  auto dialog_store = std::make_unique<RememberStore>(folder_.Path());
  auto other_copy_store = std::make_unique<RememberStore>(folder_.Path());
  for (RememberStore* store : {&main_window_store, dialog_store.get(), other_copy_store.get()}) {
    EXPECT_THROW(store->SetFileName(kProgramFileName), Error);
  }
  EXPECT_TRUE(main_window_store.WriteText("RememberUsername", "ann"));
  dialog_store.reset();  // never written: saves nothing over the new store
  EXPECT_EQ(OpenStore()->ReadText("RememberUsername", ""), "ann");

  EXPECT_TRUE(other_copy_store->WriteText("RememberUsername", "bob"));
  EXPECT_EQ(ReadBytes(Path() + ".unreadable"), "<Configuration>");
  EXPECT_EQ(OpenStore()->ReadText("RememberUsername", ""), "bob");
}

// When the file cannot go aside, it stays whole, the write is reported as a
// failed save, and the next write tries again.
TEST_F(RememberStoreTest, FileThatCannotGoAsideIsKept) {
  WriteBytes(Path(), "<Configuration>");
  std::filesystem::create_directories(Path() + ".unreadable/in the way");
  RememberStore store(folder_.Path());
  EXPECT_THROW(store.SetFileName(kProgramFileName), Error);
  EXPECT_FALSE(store.WriteText("RememberUsername", "ann"));
  EXPECT_EQ(store.ReadText("RememberUsername", ""), "ann");
  EXPECT_EQ(ReadBytes(Path()), "<Configuration>");

  std::filesystem::remove_all(Path() + ".unreadable");
  EXPECT_TRUE(store.WriteText("RememberPassword", "secret"));
  EXPECT_EQ(ReadBytes(Path() + ".unreadable"), "<Configuration>");
  EXPECT_EQ(OpenStore()->ReadText("RememberUsername", ""), "ann");
}

// What cannot be read at all, or is no plain file, is never replaced.
TEST_F(RememberStoreTest, FilesThatCannotBeReadAreNeverOverwritten) {
  const std::string target = folder_.File("elsewhere.xml");
  WriteBytes(target, "<Configuration>");
  for (const char* kind : {"folder", "link"}) {
    std::filesystem::remove_all(Path());
    if (std::string(kind) == "folder") {
      std::filesystem::create_directory(Path());
    } else {
      std::filesystem::create_symlink(target, Path());
    }
    {
      RememberStore store(folder_.Path());
      EXPECT_THROW(store.SetFileName(kProgramFileName), Error) << kind;
      EXPECT_TRUE(store.ReadOnly()) << kind;
      store.WriteText("RememberUsername", "would replace the file");
    }
    EXPECT_FALSE(std::filesystem::exists(Path() + ".unreadable")) << kind;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(Path()));
  EXPECT_EQ(ReadBytes(target), "<Configuration>");
}

TEST_F(RememberStoreTest, ParseErrorNamesTheLine) {
  WriteBytes(Path(), "<?xml version=\"1.0\"?>\r\n<Configuration>\r\n  <A>\r\n</Configuration>\r\n");
  RememberStore store(folder_.Path());
  EXPECT_THROW(
      {
        try {
          store.SetFileName(kProgramFileName);
        } catch (const Error& error) {
          EXPECT_EQ(std::string(error.what()),
                    "Unable to read " + Path() + ": Start-end tags mismatch on line 4");
          throw;
        }
      },
      Error);
}

TEST_F(RememberStoreTest, FailedSaveKeepsTheOldFileAndTheValueInMemory) {
  WriteSignIn("old", "old password");
  const std::string before = ReadBytes(Path());
  auto store = OpenStore();
  {
    FileSizeLimit limit(before.size());
    EXPECT_FALSE(store->WriteText("RememberUsername", "a much longer user name than before"));
    EXPECT_FALSE(store->Save());
  }
  EXPECT_EQ(ReadBytes(Path()), before);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"remember.xml"});
  EXPECT_EQ(store->ReadText("RememberUsername", ""), "a much longer user name than before");
}

// A save killed half-way leaves its temporary file, holding the password;
// the next save removes it, and only what is ours and no longer in use.
TEST_F(RememberStoreTest, NextSaveRemovesTemporaryFilesKilledSavesLeft) {
  const auto make = [&](const std::string& name, bool old) {
    WriteBytes(folder_.File(name), "<Configuration><RememberPassword>pw");
    if (old) {
      const auto an_hour_ago =
          std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
      std::filesystem::last_write_time(folder_.File(name), an_hour_ago);
    }
  };
  make(".remember.xml.plumwit-a1B2c3", true);
  make(".remember.xml.plumwit-zzzzzz", true);
  make(".remember.xml.plumwit-fresh1", false);  // a save of another copy, under way
  make(".remember.xml.plumwit-locked", true);   // likewise, held by its writer
  make("remember.xml.backup", true);            // the user's own
  make(".other.xml.plumwit-a1B2c3", true);      // another file's
  const int held = ::open(folder_.File(".remember.xml.plumwit-locked").c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  WriteSignIn("alice", "s3cret");
  ::close(held);
  EXPECT_EQ(folder_.Entries(),
            (std::vector<std::string>{".other.xml.plumwit-a1B2c3", ".remember.xml.plumwit-fresh1",
                                      ".remember.xml.plumwit-locked", "remember.xml",
                                      "remember.xml.backup"}));
}

TEST_F(RememberStoreTest, RewritingTightensPermissionsToTheOwner) {
  WriteBytes(Path(), "<Configuration/>");
  ASSERT_EQ(::chmod(Path().c_str(), 0644), 0);
  OpenStore()->WriteText("RememberPassword", "secret");
  EXPECT_EQ(PermissionsOf(Path()), 0600u);
}

TEST_F(RememberStoreTest, FileNameDecidesThePlaceWithinTheApplicationDataFolder) {
  struct Case {
    std::string folder;
    std::string file_name;
    std::string full_path;
  };
  const std::string base = folder_.Path();
  const std::vector<Case> cases = {
      {base, "/opt/plumwit/remember.xml", base + "/remember.xml"},
      {base + "/", "/remember.xml", base + "/remember.xml"},
      {base + "/new/deeper", "/x/remember.xml", base + "/new/deeper/remember.xml"},
      {base, "sub/remember.xml", base + "/sub/remember.xml"},
      {base, "", ""},
  };
  for (const auto& c : cases) {
    {
      RememberStore store(c.folder);
      store.SetFileName(c.file_name);
      EXPECT_EQ(store.FullPath(), c.full_path) << c.file_name;
      EXPECT_EQ(store.FileName(), c.file_name);
    }
    // Saved at the end, missing folders created on the way.
    if (!c.full_path.empty()) {
      EXPECT_EQ(PermissionsOf(c.full_path), 0600u) << c.full_path;
    }
  }
}

TEST_F(RememberStoreTest, SavesFailingOnTheWayAreSwallowed) {
  WriteBytes(folder_.File("file"), "");
  RememberStore store(folder_.File("file"));
  store.SetFileName(kProgramFileName);
  EXPECT_FALSE(store.WriteText("RememberUsername", "x"));
  EXPECT_FALSE(store.Save());
  EXPECT_EQ(store.ReadText("RememberUsername", ""), "x");
}

TEST_F(RememberStoreTest, NewFileNameSavesUnderTheOldPathFirst) {
  RememberStore store(folder_.Path());
  store.SetFileName("first.xml");
  EXPECT_FALSE(std::filesystem::exists(folder_.File("first.xml")));
  WriteBytes(folder_.File("second.xml"),
             "<Configuration><RememberUsername>2</RememberUsername>"
             "</Configuration>");
  store.SetFileName("second.xml");
  EXPECT_EQ(ReadBytes(folder_.File("first.xml")),
            std::string(kDeclaration) + "<Configuration/>\r\n");
  EXPECT_EQ(store.ReadText("RememberUsername", ""), "2");
}

TEST_F(RememberStoreTest, InvalidKeyNamesAreRefused) {
  auto store = OpenStore();
  for (const char* key : {"", "1st", "a b", "a/b", "a<b", "a>b"}) {
    EXPECT_THROW(store->WriteText(key, "v"), Error) << key;
  }
  EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(RememberStoreTest, TwoStoresOnOneFileLastSaveWins) {
  WriteSignIn("old", "old password");
  auto main_window_store = OpenStore();
  auto dialog_store = OpenStore();
  main_window_store->WriteText("RememberUsername", "new");
  main_window_store->WriteText("RememberPassword", "new password");
  dialog_store.reset();  // saves its older copy
  EXPECT_EQ(OpenStore()->ReadText("RememberUsername", ""), "old");
  main_window_store.reset();
  EXPECT_EQ(OpenStore()->ReadText("RememberPassword", ""), "new password");
}

}  // namespace
}  // namespace plumwit
