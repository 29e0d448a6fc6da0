#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/fake_file_system.h"
#include "fakes/fake_text_encoding.h"
#include "settings/ini_file.h"
#include "settings/program_paths.h"

namespace wh {
namespace {

using testing::FakeFileSystem;

const std::string kDir = "C:\\Tools";
const std::string kIni = "C:\\Tools\\wordhopper.ini";
const testing::FakeTextEncoding kEncoding;

std::string AllFields(const Settings& r) {
  std::ostringstream out;
  out << r.FormTop << ' ' << r.FormLeft << '[' << r.HotKey << ']' << r.UserStartMenu
      << r.AllUsersStartMenu << r.UserDeskTop << r.AllUsersDeskTop << r.Favorites << r.History
      << r.RecentFiles << '[' << r.IgnoreList << ']' << r.HideWhenLaunching << r.AlwaysScreenCenter
      << r.StartWithWindows << r.MessageBoxOnError << r.ReloadOnPopup << r.ShowTitleBar
      << r.HideToSystemTray << r.ShowInfoPanel << r.ShowStatusBar << r.StartOnOneMatch
      << r.AutoComplete << r.LoadUserDirOnPopup << r.StayOnTop << r.UseFindDialog << '['
      << r.UserDir << "][" << r.UserMasks << ']' << r.HelpShown;
  return out.str();
}

// Every field differs from its default, so a key left unwritten shows.
Settings NothingDefault() {
  Settings r;
  r.FormTop = -12, r.FormLeft = 345, r.HotKey = "Shift+F9";
  r.UserStartMenu = r.AllUsersStartMenu = r.UserDeskTop = r.AllUsersDeskTop = false;
  r.Favorites = r.History = r.RecentFiles = true;
  r.IgnoreList = " the a ", r.UserDir = "D:\\Dok\xC3\xBCmente\\", r.UserMasks = "";
  r.HideWhenLaunching = r.AlwaysScreenCenter = r.StartWithWindows = r.MessageBoxOnError = false;
  r.ShowTitleBar = r.HideToSystemTray = r.ShowInfoPanel = r.ShowStatusBar = false;
  r.AutoComplete = r.StayOnTop = false;
  r.ReloadOnPopup = r.StartOnOneMatch = r.LoadUserDirOnPopup = r.UseFindDialog = true;
  r.HelpShown = true;
  return r;
}

FakeFileSystem WithFile(const std::string& contents) {
  FakeFileSystem fs;
  fs.AddFile(kIni, contents);
  return fs;
}

TEST(SettingsFileTest, UnusableFilesGiveTheDefaults) {
  const std::string valid = "[Form]\r\nHotKey=F6\r\n;";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 7919 % 256);
  FakeFileSystem missing, directory,
      unreadable = WithFile(valid), empty = WithFile(""),
      oversized = WithFile(valid + std::string(kMaxSettingsFileSize, 'x')),
      garbage = WithFile(binary);
  missing.AddDirectory(kDir);
  directory.AddDirectory(kIni);
  unreadable.MakeUnreadable(kIni);
  for (FakeFileSystem* fs : {&missing, &directory, &unreadable, &empty, &oversized, &garbage}) {
    bool unread = false;
    EXPECT_EQ(AllFields(ReadSettings(*fs, kEncoding, kIni, &unread)), AllFields(Settings()));
    // Only what is there and unknown must be kept from writes.
    EXPECT_EQ(unread, fs == &directory || fs == &unreadable || fs == &oversized);
    EXPECT_EQ(fs->WriteCount(), 0);
  }
  EXPECT_FALSE(missing.FileExists(kIni));
  FakeFileSystem atTheCap = WithFile(valid + std::string(kMaxSettingsFileSize - valid.size(), 'x'));
  EXPECT_EQ(ReadSettings(atTheCap, kEncoding, kIni).HotKey, "F6");
}

TEST(SettingsFileTest, IntegersAndFlagsConvertTheWholeTextOrGiveTheDefault) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {"007", 7},
      {"-17", -17},
      {"+17", 17},
      {"2", 2},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"0x20", 32},
      {"0X1f", 31},
      {"$20", 32},
      {"x20", 32},
      {"X20", 32},
      {"\"12\"", 12},
      {"0xFFFFFFFF", -1},
      {"$80000000", -2147483647 - 1},
      {"", {}},
      {"true", {}},
      {"20px", {}},
      {"1 2", {}},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"0x100000000", {}},
      {"0x", {}},
      {"$", {}},
      {"x", {}},
      {"-0x10", {}},
      {"-$10", {}},
      {"0x-5", {}},
      {"$+5", {}},
      {"-", {}},
      {"+-1", {}},
      {"1e3", {}},
  };
  for (const auto& [text, value] : cases) {
    std::string v = text;
    FakeFileSystem fs = WithFile("[Form]\r\nFormTop=" + v + "\r\nFormLeft=" + v +
                                 "\r\n[Directories]\r\nFavorites=" + v +
                                 "\r\n[Program]\r\nShowTitleBar=" + v + "\r\n");
    Settings r = ReadSettings(fs, kEncoding, kIni);
    EXPECT_EQ(r.FormTop, value.value_or(0)) << text;
    EXPECT_EQ(r.FormLeft, value.value_or(0)) << text;
    EXPECT_EQ(r.Favorites, value ? *value != 0 : false) << text;    // default off
    EXPECT_EQ(r.ShowTitleBar, value ? *value != 0 : true) << text;  // default on
  }
}

TEST(SettingsFileTest, EveryFieldSurvivesWriteAndRead) {
  FakeFileSystem fs;
  fs.AddDirectory(kDir);
  for (const Settings& written : {NothingDefault(), Settings()}) {
    WriteSettings(written, fs, kEncoding, kIni);
    SaveFormPosition(written.FormTop, written.FormLeft, fs, kEncoding, kIni);
    EXPECT_EQ(AllFields(ReadSettings(fs, kEncoding, kIni)), AllFields(written));
  }
}

TEST(SettingsFileTest, NewFileHoldsEveryKeyInWritingOrder) {
  FakeFileSystem fs;
  fs.AddDirectory(kDir);
  WriteSettings(Settings(), fs, kEncoding, kIni);
  EXPECT_EQ(fs.Contents(kIni),
            "[Form]\r\nHotKey=F4\r\n"
            "[Directories]\r\nUserStartMenu=1\r\nAllUsersStartMenu=1\r\nUserDeskTop=1\r\n"
            "AllUsersDeskTop=1\r\nFavorites=0\r\nHistory=0\r\nRecentFiles=0\r\n"
            "IgnoreList=the of and to in is for on are as at be or by my about read me pro setup "
            "uninstall license agreement\r\nUserDir=\r\nUserMasks=xls doc pdf\r\n"
            "[Program]\r\nHideWhenLaunching=1\r\nAlwaysScreenCenter=1\r\nStartWithWindows=1\r\n"
            "MessageBoxOnError=1\r\nReloadOnPopup=0\r\nShowTitleBar=1\r\nShowInfoPanel=1\r\n"
            "HideToSystemTray=1\r\nShowStatusBar=1\r\nStartOnOneMatch=0\r\nAutoComplete=1\r\n"
            "UseFindDialog=0\r\nStayOnTop=1\r\nLoadUserDirOnPopup=0\r\nFirstShow=0\r\n");
}

TEST(SettingsFileTest, FormPositionGoesFirstWhenTheFormSectionIsNew) {
  FakeFileSystem fs = WithFile("[Program]\r\nFirstShow=0\r\n");
  SaveFormPosition(10, -20, fs, kEncoding, kIni);
  EXPECT_EQ(fs.Contents(kIni),
            "[Program]\r\nFirstShow=0\r\n[Form]\r\nFormTop=10\r\nFormLeft=-20\r\n");
  WriteSettings(Settings(), fs, kEncoding, kIni);
  std::string text = fs.Contents(kIni).value_or("");
  EXPECT_EQ(text.rfind("[Program]\r\nFirstShow=0\r\nHideWhenLaunching=1\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("[Form]\r\nFormTop=10\r\nFormLeft=-20\r\nHotKey=F4\r\n[Directories]\r\n"),
            std::string::npos)
      << text;
}

TEST(SettingsFileTest, RewritingWhatWasReadKeepsAHandEditedFileByteForByte) {
  FakeFileSystem fs;
  fs.AddDirectory(kDir);
  WriteSettings(NothingDefault(), fs, kEncoding, kIni);
  // Comments, odd case and blanks, unknown keys and sections, LF line ends,
  // no line end at the end.
  std::string edited = "; mine\n\n[Extra]\nHotKey=F1\n\n";
  const std::string written = fs.Contents(kIni).value_or("");
  for (char c : written) {
    if (c != '\r') edited += c;
  }
  edited.pop_back();
  edited.replace(edited.find("[Form]"), 6, "  [ form ]  ");
  edited.replace(edited.find("History=1"), 9, "  history   =  1  ; yes");
  edited.replace(edited.find("StayOnTop="), 10, "Unknown=7\nstayontop =");
  fs.AddFile(kIni, edited);

  Settings read = ReadSettings(fs, kEncoding, kIni);
  EXPECT_FALSE(read.History);  // "1  ; yes" is no number
  read.History = true;
  WriteSettings(read, fs, kEncoding, kIni);
  EXPECT_EQ(fs.Contents(kIni), edited.replace(edited.find("1  ; yes"), 8, "1"));
}

TEST(SettingsFileTest, RefusedWritesKeepTheOldFileAndSayWhere) {
  const std::string old = "[Form]\r\nHotKey=F6\r\n";
  FakeFileSystem readOnly = WithFile(old), readOnlyDir = WithFile(old), unreadable = WithFile(old),
                 badHotKey = WithFile(old), directory, noDir,
                 oversized = WithFile(old + std::string(kMaxSettingsFileSize, ';'));
  readOnly.MakeReadOnly(kIni);
  readOnlyDir.MakeReadOnly(kDir);
  unreadable.MakeUnreadable(kIni);
  directory.AddDirectory(kIni);
  noDir.AddDirectory("C:\\");
  for (FakeFileSystem* fs :
       {&readOnly, &readOnlyDir, &unreadable, &badHotKey, &directory, &noDir, &oversized}) {
    const std::optional<std::string> before = fs->Contents(kIni);
    Settings written = NothingDefault();
    if (fs == &badHotKey) written.HotKey = "F4\r\n[Evil]";
    try {
      WriteSettings(written, *fs, kEncoding, kIni);
      ADD_FAILURE() << "written: " << fs->Contents(kIni).value_or("");
    } catch (const SettingsWriteError& e) {
      EXPECT_STREQ(e.what(), "Unable to write to C:\\Tools\\wordhopper.ini");
    }
    if (fs != &badHotKey) {
      EXPECT_THROW(SaveFormPosition(1, 2, *fs, kEncoding, kIni), SettingsWriteError);
    }
    EXPECT_EQ(fs->Contents(kIni), before);
    EXPECT_EQ(fs->WriteCount(), 0);
  }
}

TEST(SettingsFileTest, ANewFileStartsAsACopyOfTheFileReadInstead) {
  const std::string readPath = "C:\\Program Files\\wordhopper.ini";
  const std::string held = "[Form]\r\nHotKey=F6\r\n[Other]\r\nKey=1\r\n";
  FakeFileSystem fs = WithFile(held);
  fs.Remove(kIni);
  fs.AddFile(readPath, held);
  SaveFormPosition(7, 8, fs, kEncoding, kIni, readPath);
  EXPECT_EQ(fs.Contents(kIni),
            "[Form]\r\nHotKey=F6\r\nFormTop=7\r\nFormLeft=8\r\n[Other]\r\nKey=1\r\n");
  // Once there, the new file is the one edited.
  WriteSettings(NothingDefault(), fs, kEncoding, kIni, readPath);
  EXPECT_NE(fs.Contents(kIni)->find("FormTop=7"), std::string::npos);
  EXPECT_EQ(fs.Contents(readPath), held);

  // Made without the file read, the new one would hide it from then on.
  fs.Remove(kIni);
  fs.MakeUnreadable(readPath);
  EXPECT_THROW(SaveFormPosition(7, 8, fs, kEncoding, kIni, readPath), SettingsWriteError);
  EXPECT_FALSE(fs.FileExists(kIni));
}

TEST(ProgramPathsTest, SettingsFileLiesBesideTheExecutableWhateverItsName) {
  EXPECT_EQ(SettingsFilePath(ProgramDirOf("C:\\Tools\\renamed.exe", '\\')), kIni);
  EXPECT_EQ(ProgramDirOf("\\\\srv\\share\\wh.exe", '\\'), "\\\\srv\\share\\");
  EXPECT_EQ(ProgramDirOf("C:/Tools/wh.exe", '\\'), "C:/Tools/");
  EXPECT_EQ(ProgramDirOf("/opt/wh/bin/wordhopper", '/'), "/opt/wh/bin/");
  EXPECT_EQ(ProgramDirOf("wh.exe", '\\'), "");
}

}  // namespace
}  // namespace wh
