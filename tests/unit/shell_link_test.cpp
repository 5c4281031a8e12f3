#include <gtest/gtest.h>

#include <map>

#include "components/shell_link.h"
#include "forms/shortcut_create.h"
#include "platform/error.h"
#include "tests/fakes/fake_profile_store.h"

using namespace kv;
using kv::fake::FakeProfileStore;

namespace {

struct FakeFolders : ShellFolderSource {
  std::map<std::string, std::string, std::less<>> registry{{"Desktop", "C:\\Users\\me\\Desktop"},
                                                           {"Start Menu", "C:\\Users\\me\\Start Menu"}};
  std::map<TShellFolder, std::string> known{{TShellFolder::sfFavorites, "C:\\Users\\me\\Favorites"}};
  int registry_reads = 0;
  std::string registry_folder(std::string_view value_name) override {
    ++registry_reads;
    auto it = registry.find(value_name);
    return it == registry.end() ? std::string() : it->second;
  }
  std::optional<std::string> known_folder(TShellFolder f) override {
    auto it = known.find(f);
    if (it == known.end()) return std::nullopt;
    return it->second;
  }
};

struct FakeWriter : ShellLinkWriter {
  std::vector<ShellLinkData> saved;
  void save(const ShellLinkData& link) override { saved.push_back(link); }
};

}  // namespace

TEST(ShellLinkEncodings, FolderNamesWindowStatesAndHotkeys) {
  EXPECT_EQ(shell_folder_value_name(TShellFolder::sfNone), "");
  EXPECT_EQ(shell_folder_value_name(TShellFolder::sfStartMenu), "Start Menu");
  EXPECT_EQ(shell_folder_value_name(TShellFolder::sfStartup), "Startup");
  EXPECT_EQ(shell_folder_value_name(TShellFolder::sfPersonal), "Personal");
  EXPECT_EQ(shell_folder_value_name(TShellFolder::sfTemplates), "Templates");
  EXPECT_EQ(show_command(TWindowState::wsNormal), 1);
  EXPECT_EQ(show_command(TWindowState::wsMinimized), 7);
  EXPECT_EQ(show_command(TWindowState::wsMaximized), 3);

  // Ctrl+Shift+F5: F5 in the low byte, Shift 1 + Ctrl 2 in the high byte.
  EXPECT_EQ(link_hotkey_from_shortcut(kCtrlBit | kShiftBit | 0x74), 0x0374);
  EXPECT_EQ(link_hotkey_from_shortcut(kAltBit | 0x41), 0x0441);
  EXPECT_EQ(link_hotkey_from_shortcut(0), 0);
  EXPECT_EQ(link_hotkey_from_shortcut(49217), 0x0641);  // Ctrl+Alt+A
  EXPECT_EQ(link_hotkey_from_shortcut(8304), 0x0170);   // Shift+F1
  EXPECT_EQ(link_hotkey_from_shortcut(0xE070), 0x0770);
}

TEST(ShellLinkFileName, PartsAndExtension) {
  EXPECT_EQ(file_name_part("C:\\a\\b.lnk"), "b.lnk");
  EXPECT_EQ(file_name_part("a:b\\c:d"), "d");
  EXPECT_EQ(file_name_part("plain"), "plain");
  EXPECT_EQ(file_name_part("dir\\"), "");
  EXPECT_EQ(with_link_extension("Backup"), "Backup.lnk");
  EXPECT_EQ(with_link_extension("Backup.LnK"), "Backup.LnK");
  EXPECT_EQ(with_link_extension("v1.2"), "v1.2.lnk");
  EXPECT_EQ(with_link_extension("C:\\x.y\\name"), "C:\\x.y\\name.lnk");
  EXPECT_EQ(with_link_extension("C:\\Desk\\.lnk"), "");
  EXPECT_EQ(with_link_extension("C:\\Desk\\"), "");
  EXPECT_EQ(with_link_extension(""), "");
}

TEST(ShellLinkFileName, FolderRulesFollowTheShellFolder) {
  FakeFolders folders;
  FakeWriter writer;
  TPBShellLink link(folders, writer);
  link.SetFileName("D:\\links\\Plain");  // sfNone keeps the folder
  EXPECT_EQ(link.FileName(), "D:\\links\\Plain.lnk");
  link.SetShellFolder(TShellFolder::sfDesktop);
  EXPECT_EQ(link.FileName(), "C:\\Users\\me\\Desktop\\Plain.lnk");
  link.SetFileName("E:\\elsewhere\\Backup.lnk");  // any given folder is dropped
  EXPECT_EQ(link.FileName(), "C:\\Users\\me\\Desktop\\Backup.lnk");
  link.SetShellFolder(TShellFolder::sfStartMenu);
  EXPECT_EQ(link.FileName(), "C:\\Users\\me\\Start Menu\\Backup.lnk");
  const int reads = folders.registry_reads;
  link.SetShellFolder(TShellFolder::sfStartMenu);  // unchanged: nothing happens
  link.SetFileName(link.FileName());
  EXPECT_EQ(folders.registry_reads, reads);
  link.SetFileName("a\\b:Report");
  EXPECT_EQ(link.FileName(), "C:\\Users\\me\\Start Menu\\Report.lnk");
  link.SetFileName(".lnk");
  EXPECT_EQ(link.FileName(), "");
}

TEST(ShellLinkFileName, MissingRegistryValueFallsBackToTheKnownFolder) {
  FakeFolders folders;
  FakeWriter writer;
  TPBShellLink link(folders, writer);
  link.SetShellFolder(TShellFolder::sfFavorites);
  link.SetFileName("Backup.lnk");
  EXPECT_EQ(link.FileName(), "C:\\Users\\me\\Favorites\\Backup.lnk");
  link.Save();
  ASSERT_EQ(writer.saved.size(), 1u);
  EXPECT_EQ(writer.saved[0].file_name, "C:\\Users\\me\\Favorites\\Backup.lnk");
}

TEST(ShellLinkFileName, FolderNobodyKnowsIsRefusedNotWrittenAtTheRoot) {
  FakeFolders folders;
  FakeWriter writer;
  TPBShellLink link(folders, writer);
  link.SetShellFolder(TShellFolder::sfTemplates);
  link.SetFileName("Backup.lnk");
  try {
    link.Save();
    FAIL() << "saved without a folder";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("\"Templates\""), std::string::npos) << e.what();
  }
  EXPECT_TRUE(writer.saved.empty());
  // Once the folder is known again, the same link saves.
  folders.registry["Templates"] = "C:\\T";
  link.SetFileName("Again.lnk");
  link.Save();
  ASSERT_EQ(writer.saved.size(), 1u);
  EXPECT_EQ(writer.saved[0].file_name, "C:\\T\\Again.lnk");
}

TEST(ShellLinkSave, TooLongTextsAndEmptyNamesAreRefused) {
  FakeFolders folders;
  FakeWriter writer;
  TPBShellLink link(folders, writer);
  link.SetShellFolder(TShellFolder::sfDesktop);
  link.SetFileName("ok");
  link.Arguments = std::string(255, 'a');
  link.Save();
  EXPECT_EQ(writer.saved.size(), 1u);
  link.Arguments = std::string(256, 'a');
  EXPECT_THROW(link.Save(), Error);
  link.Arguments.clear();
  link.FileIcon.file_name = std::string(300, 'i');
  EXPECT_THROW(link.Save(), Error);
  link.FileIcon.file_name.clear();
  link.SetFileName("");  // the folder and "\" stay, the name part is ".lnk": empty
  EXPECT_EQ(link.FileName(), "");
  try {
    link.Save();
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kLinkWriteFailed);
  }
  EXPECT_EQ(writer.saved.size(), 1u);
}

namespace {

struct ShortcutCreate : ::testing::Test {
  FakeProfileStore p;
  MacroStore s{p};
  FakeFolders folders;
  FakeWriter writer;
  TPBShellLink link{folders, writer};
  const std::string dir = "C:\\Tools\\Kv\\";

  void SetUp() override {
    link.SetShellFolder(TShellFolder::sfDesktop);  // as the window sets it up
    p.write_string("Main", "Entries", "3");
    p.write_string("Macro1", "Name", "Backup");
    p.write_string("Macro1", "HotKey", std::to_string(kCtrlBit | kShiftBit | 0x74));
    p.write_string("Macro2", "HotKey", "16449");  // no Name
    p.write_string("Macro3", "Name", "Work\\Daily: report");
  }
};

}  // namespace

TEST_F(ShortcutCreate, DesktopLinkCarriesTargetArgumentsFolderIconAndHotkey) {
  create_macro_shortcut(s, link, TShellFolder::sfDesktop, 1, dir);
  ASSERT_EQ(writer.saved.size(), 1u);
  const ShellLinkData d = writer.saved[0];
  EXPECT_EQ(d.file_name, "C:\\Users\\me\\Desktop\\Backup.lnk");
  EXPECT_EQ(d.target, "C:\\Tools\\Kv\\Keyvane.exe");
  EXPECT_EQ(d.arguments, " /Open:\"Backup\" /Close");
  EXPECT_EQ(d.working_dir, dir);
  EXPECT_EQ(d.description, "Backup");
  EXPECT_EQ(d.icon_file, "C:\\Tools\\Kv\\Keyvane.Ico");
  EXPECT_EQ(d.icon_index, 0);
  EXPECT_EQ(d.show_cmd, 1);
  EXPECT_EQ(d.hotkey, 0x0374);
  // Again, and into another folder: the same link object is reused.
  create_macro_shortcut(s, link, TShellFolder::sfDesktop, 1, dir);
  create_macro_shortcut(s, link, TShellFolder::sfStartMenu, 1, dir);
  ASSERT_EQ(writer.saved.size(), 3u);
  EXPECT_EQ(writer.saved[1].file_name, d.file_name);
  EXPECT_EQ(writer.saved[2].file_name, "C:\\Users\\me\\Start Menu\\Backup.lnk");
}

TEST_F(ShortcutCreate, MissingNameIsErrorAndPathCharactersOnlyShortenTheFileName) {
  create_macro_shortcut(s, link, TShellFolder::sfDesktop, 2, dir);
  create_macro_shortcut(s, link, TShellFolder::sfDesktop, 3, dir);
  ASSERT_EQ(writer.saved.size(), 2u);
  EXPECT_EQ(writer.saved[0].file_name, "C:\\Users\\me\\Desktop\\Error.lnk");
  EXPECT_EQ(writer.saved[0].arguments, " /Open:\"Error\" /Close");
  EXPECT_EQ(writer.saved[0].description, "Error");
  EXPECT_EQ(writer.saved[0].hotkey, 0x0241);
  EXPECT_EQ(writer.saved[1].file_name, "C:\\Users\\me\\Desktop\\ report.lnk");
  EXPECT_EQ(writer.saved[1].description, "Work\\Daily: report");
  EXPECT_EQ(writer.saved[1].arguments, " /Open:\"Work\\Daily: report\" /Close");
  EXPECT_EQ(writer.saved[1].hotkey, 0);
}

TEST_F(ShortcutCreate, EmptyNameFailsToWrite) {
  p.write_string("Macro1", "Name", "");
  try {
    create_macro_shortcut(s, link, TShellFolder::sfDesktop, 1, dir);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kLinkWriteFailed);
  }
  EXPECT_TRUE(writer.saved.empty());
}
