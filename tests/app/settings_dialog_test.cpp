#include "app/settings_dialog.h"

#include <gtest/gtest.h>

#include "app/launcher_fixture.h"
#include "fakes/fake_settings_view.h"

namespace wh {
namespace {

using testing::FakeSettingsView;

class FakeVersionInfo : public VersionInfo {
 public:
  FileVersion GetFileVersion(const std::string& path) const override {
    return path == "C:\\Tools\\wh.exe" ? FileVersion{1, 5, 0, 9} : FileVersion{};
  }
};

class SettingsWindowTest : public LauncherTest {
 protected:
  Launcher& Open(const std::string& ini) {
    WriteIni(ini);
    Launcher& f = Create();
    settingsDialog =
        std::make_unique<SettingsDialog>(dialog, f, versions, fs, keyNames, "C:\\Tools\\wh.exe");
    f.AttachSettings(settingsDialog.get());
    view.events.clear();
    f.OnTraySettings();
    return f;
  }
  std::string Ini() const { return *fs.Contents("C:\\Tools\\wordhopper.ini"); }
  bool IniHas(const std::string& line) const { return Ini().find(line) != std::string::npos; }

  FakeSettingsView dialog;
  FakeVersionInfo versions;
  std::unique_ptr<SettingsDialog> settingsDialog;
};

TEST_F(SettingsWindowTest, OpeningLoadsEveryControlAndGivesTheHotKeyBack) {
  Launcher& f = Open(
      "[Form]\nHotKey=Ctrl+F6\n[Directories]\nUserStartMenu=0\nHistory=1\nUserDir=C:\\Files\n"
      "UserMasks=txt doc\nIgnoreList=the of\n[Program]\nFirstShow=1\nStayOnTop=0\n"
      "UseFindDialog=1\n");
  EXPECT_TRUE(dialog.visible);
  EXPECT_EQ(dialog.versionLabel, "Wordhopper version: 1.5.0 (Build 9)");
  EXPECT_EQ(dialog.hotKey, (HotKeyCombo{117, false, true, false}));
  EXPECT_EQ(dialog.userDir, "C:\\Files");
  EXPECT_EQ(dialog.masks, "txt doc");
  EXPECT_EQ(dialog.ignoreList, "the of");
  const std::map<Option, bool> expected = {
      {Option::UserStartMenu, false},      {Option::AllUsersStartMenu, true},
      {Option::UserDesktop, true},         {Option::AllUsersDesktop, true},
      {Option::Favorites, false},          {Option::History, true},
      {Option::RecentFiles, false},        {Option::HideWhenLaunching, true},
      {Option::AlwaysScreenCenter, true},  {Option::StartWithWindows, true},
      {Option::MessageBoxOnError, true},   {Option::ReloadOnPopup, false},
      {Option::ShowTitleBar, true},        {Option::ShowInfoPanel, true},
      {Option::HideToSystemTray, true},    {Option::ShowStatusBar, true},
      {Option::StartOnOneMatch, false},    {Option::AutoComplete, true},
      {Option::LoadUserDirOnPopup, false}, {Option::StayOnTop, false},
      {Option::UseFindDialog, true}};
  for (const auto& [option, checked] : expected) {
    EXPECT_EQ(dialog.Checked(option), checked) << static_cast<int>(option);
  }
  EXPECT_EQ(view.events, (std::vector<std::string>{"unregister"}));
  EXPECT_EQ(f.CurrentSettings().HotKey, "Ctrl+F6");
}

TEST_F(SettingsWindowTest, SaveStoresAppliesClosesAndRebuilds) {
  Launcher& f = Open("[Program]\nFirstShow=1\n[Form]\nFormTop=5\nFormLeft=6\n");
  f.ShowFromTray();
  fs.AddFile("C:\\Files\\Report.txt");
  dialog.SetChecked(Option::UserStartMenu, false);
  dialog.SetChecked(Option::AutoComplete, false);
  dialog.SetChecked(Option::ShowTitleBar, false);
  dialog.SetUserDir("C:\\Files");
  dialog.SetMasks("txt");
  dialog.SetIgnoreList("the\r\nof\nand\rto");
  dialog.SetHotKey({117});
  view.events.clear();
  settingsDialog->Save();

  EXPECT_FALSE(dialog.visible);
  EXPECT_FALSE(f.AutoCompleteOn());
  EXPECT_FALSE(view.titleBar);
  for (const char* line : {"UserStartMenu=0", "UserDir=C:\\Files", "UserMasks=txt",
                           "IgnoreList=the of and to", "HotKey=F6", "AutoComplete=0",
                           "ShowTitleBar=0", "AllUsersStartMenu=1", "FirstShow=1", "FormTop=5"}) {
    EXPECT_TRUE(IniHas(line)) << line;
  }
  // Closing gave the start-up key back; the rebuild found the new folder.
  EXPECT_NE(std::find(view.events.begin(), view.events.end(), "register 1"), view.events.end());
  EXPECT_EQ(f.Index().ItemList.Count(), 1u);
  EXPECT_EQ(view.panels[StatusPanel::Items], "Items: 1");
  // The new key shows in the caption at the next showing only; the tray
  // hint keeps the registered one.
  EXPECT_EQ(f.CurrentSettings().HotKey, "F6");
  EXPECT_EQ(view.trayHint, "Wordhopper (Hot-key: F4)");
}

TEST_F(SettingsWindowTest, RefusedWriteKeepsTheWindowOpenAndTheIndex) {
  Launcher& f = Open("[Program]\nFirstShow=1\n");
  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  dialog.SetChecked(Option::UserStartMenu, false);
  view.events.clear();
  settingsDialog->Save();
  EXPECT_EQ(dialog.messages,
            (std::vector<std::string>{"Unable to write to C:\\Tools\\wordhopper.ini"}));
  EXPECT_TRUE(dialog.visible);
  EXPECT_TRUE(view.events.empty()) << view.events.front();
  EXPECT_EQ(f.Index().ItemList.Count(), 2u);
}

TEST_F(SettingsWindowTest, RefusedWriteLeavesTheSettingsInUseAsTheyWere) {
  Launcher& f = Open("[Program]\nFirstShow=1\nHideWhenLaunching=1\n");
  f.ShowFromTray();
  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  dialog.SetChecked(Option::HideWhenLaunching, false);
  dialog.SetChecked(Option::ShowTitleBar, false);
  dialog.SetChecked(Option::AutoComplete, false);
  dialog.SetHotKey({0x51, false, true, false});
  settingsDialog->Save();
  // The program goes on with the settings the file holds.
  EXPECT_TRUE(f.CurrentSettings().HideWhenLaunching);
  EXPECT_EQ(f.CurrentSettings().HotKey, "F4");
  EXPECT_TRUE(view.titleBar);
  EXPECT_TRUE(f.AutoCompleteOn());
  // The window still holds the edits, to be saved once the file can be.
  EXPECT_FALSE(dialog.Checked(Option::HideWhenLaunching));
}

TEST_F(SettingsWindowTest, CancelDropsTheEditsAndTheNextOpeningShowsTheSavedValues) {
  Launcher& f = Open("[Program]\nFirstShow=1\n[Directories]\nUserMasks=pdf\n");
  dialog.SetMasks("edited");
  dialog.SetChecked(Option::StayOnTop, false);
  const int writes = fs.WriteCount();
  settingsDialog->Cancel();
  EXPECT_FALSE(dialog.visible);
  EXPECT_EQ(fs.WriteCount(), writes);
  f.OnTraySettings();
  EXPECT_EQ(dialog.masks, "pdf");
  EXPECT_TRUE(dialog.Checked(Option::StayOnTop));
}

TEST_F(SettingsWindowTest, HotKeyTextWrittenBeforeAndAfterTheWindowWasOpened) {
  const struct {
    const char* label;
    bool refuse;
    bool open;
    HotKeyCombo field;
    const char* written;
  } cases[] = {
      {"never opened: the file's text stays", true, false, {}, "HotKey=F6"},
      {"opened after a failed registration and cancelled: the file's text",
       true,
       true,
       {},
       "HotKey=F6"},
      {"opened and cancelled: the file's text", false, true, {}, "HotKey=F6"},
      {"edited and cancelled: the file's text", false, true, {117, true, true, true}, "HotKey=F6"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    view.refuseHotKey = c.refuse;
    dialog = FakeSettingsView();
    WriteIni("[Form]\nHotKey=F6\n");
    Launcher& f = Create();
    settingsDialog =
        std::make_unique<SettingsDialog>(dialog, f, versions, fs, keyNames, "C:\\Tools\\wh.exe");
    f.AttachSettings(settingsDialog.get());
    if (c.open) {
      f.OnTraySettings();
      if (c.field.key != 0) dialog.SetHotKey(c.field);
      settingsDialog->Cancel();
    }
    f.OnClose();  // the first close writes the file
    EXPECT_TRUE(IniHas(c.written)) << Ini();
  }
}

TEST_F(SettingsWindowTest, SavedHotKeyOutlivesTheRefusedReRegistration) {
  const struct {
    const char* label;
    bool taken;
    HotKeyCombo chosen;
    const char* record;
    HotKeyCombo reopened;
  } cases[] = {
      {"taken at start, a key saved",
       true,
       {0x57, false, true, true},
       "Ctrl+Alt+W",
       {0x57, false, true, true}},
      {"taken at start, the key emptied", true, {}, "", {}},
      {"registered at start, a key saved",
       false,
       {0x57, false, true, true},
       "Ctrl+Alt+W",
       {0x57, false, true, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    view.refuseHotKey = c.taken;
    Launcher& f = Open("[Form]\nHotKey=F6\n[Program]\nFirstShow=1\n");
    dialog.SetHotKey(c.chosen);
    settingsDialog->Save();  // closing registers the start's key again
    EXPECT_EQ(f.CurrentSettings().HotKey, c.record);
    f.OnTraySettings();
    EXPECT_EQ(dialog.hotKey, c.reopened);
    settingsDialog->Save();
    EXPECT_TRUE(IniHas("HotKey=" + std::string(c.record) + "\n")) << Ini();
  }
}

TEST_F(SettingsWindowTest, UntouchedSaveKeepsTheModifiersReadFromTheFile) {
  const struct {
    const char* file;
    const char* written;
  } cases[] = {
      {"Shift+F5", "Shift+F5"},
      {"shift+q", "Shift+Q"},
      {"Alt+Shift+X", "Shift+Alt+X"},
      {"^F2", "Ctrl+F2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Launcher& f = Open("[Form]\nHotKey=" + std::string(c.file) + "\n[Program]\nFirstShow=1\n");
    settingsDialog->Save();
    EXPECT_TRUE(IniHas("HotKey=" + std::string(c.written) + "\n")) << Ini();
    EXPECT_EQ(f.CurrentSettings().HotKey, c.written);
  }
}

TEST_F(SettingsWindowTest, TheCloseWritesTheLastSavedKeyNeverTheField) {
  const struct {
    const char* label;
    bool save;
    HotKeyCombo edit;
    bool cancel;
    const char* written;
  } cases[] = {
      {"saved, then an unsaved edit in the open window",
       true,
       {0x5A, false, false, true},
       false,
       "HotKey=Ctrl+Q\n"},
      {"saved, then an edit cancelled", true, {0x5A, false, false, true}, true, "HotKey=Ctrl+Q\n"},
      {"never saved, an unsaved edit in the open window",
       false,
       {0x5A, false, false, true},
       false,
       "HotKey=F6\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Launcher& f = Open("[Form]\nHotKey=F6\n");
    if (c.save) {
      dialog.SetHotKey({0x51, false, true, false});
      settingsDialog->Save();
      f.OnTraySettings();
    }
    dialog.SetHotKey(c.edit);
    if (c.cancel) settingsDialog->Cancel();
    f.OnClose();  // the help not shown yet: the first close writes the file
    EXPECT_TRUE(IniHas(c.written)) << Ini();
  }
}

TEST_F(SettingsWindowTest, MainWindowCloseClosesTheSettingsWindow) {
  Launcher& f = Open("[Program]\nFirstShow=1\n");
  view.events.clear();
  f.OnClose();
  EXPECT_FALSE(dialog.visible);
  EXPECT_EQ(view.events.front(), "register 1");
}

TEST_F(SettingsWindowTest, DonationLinkOpensThePageAndClosesWithoutSaving) {
  fs.AddFile("C:\\Tools\\donate.html");
  Open("[Program]\nFirstShow=1\n");
  dialog.SetMasks("edited");
  settingsDialog->OpenDonationPage();
  EXPECT_EQ(shell.requests, (std::vector<std::string>{"open C:\\Tools\\donate.html"}));
  EXPECT_FALSE(dialog.visible);
  EXPECT_EQ(Ini().find("UserMasks=edited"), std::string::npos);
}

TEST_F(SettingsWindowTest, BrowseStartsAtTheFieldsDirectoryAndTakesTheChoice) {
  fs.AddDirectory("C:\\Files");
  Open("[Program]\nFirstShow=1\n");
  const struct {
    const char* field;
    std::optional<std::string> chosen;
    const char* start;
    const char* after;
  } cases[] = {
      {"C:\\Files", "C:\\Other", "C:\\Files", "C:\\Other"},
      {"C:\\Missing", "C:\\Other", "", "C:\\Other"},
      {"", std::nullopt, "", ""},
      {"C:\\Files", std::nullopt, "C:\\Files", "C:\\Files"},
  };
  for (const auto& c : cases) {
    dialog.chooserStarts.clear();
    dialog.SetUserDir(c.field);
    dialog.chosen = c.chosen;
    settingsDialog->Browse();
    EXPECT_EQ(dialog.chooserStarts, (std::vector<std::string>{c.start}));
    EXPECT_EQ(dialog.userDir, c.after);
  }
}

}  // namespace
}  // namespace wh
