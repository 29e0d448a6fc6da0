#include "qt/qt_settings_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/launcher_fixture.h"
#include "app/settings_dialog.h"
#include "app/settings_layout.h"
#include "qt/qt_hot_key_field.h"

namespace wh {
namespace {

class FakeVersionInfo : public VersionInfo {
 public:
  FileVersion GetFileVersion(const std::string& path) const override {
    return path == "C:\\Tools\\wh.exe" ? FileVersion{1, 5, 0, 9} : FileVersion{};
  }
};

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

class QtSettingsWindowTest : public LauncherTest {
 protected:
  Launcher& Open(const std::string& ini) {
    WriteIni(ini);
    Launcher& f = Create();
    dialog =
        std::make_unique<SettingsDialog>(window, f, versions, fs, keyNames, "C:\\Tools\\wh.exe");
    window.Attach(dialog.get());
    f.AttachSettings(dialog.get());
    view.events.clear();
    f.OnTraySettings();
    return f;
  }
  template <typename T>
  T* Child(const char* name) {
    T* child = window.findChild<T*>(Text(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QCheckBox* Box(Option option) {
    for (const settings_layout::OptionRow& row : settings_layout::kOptions) {
      if (row.option == option) return Child<QCheckBox>(row.name);
    }
    return nullptr;
  }
  std::string Ini() const { return *fs.Contents("C:\\Tools\\wordhopper.ini"); }
  bool IniHas(const std::string& line) const { return Ini().find(line) != std::string::npos; }

  FakeVersionInfo versions;
  QtSettingsWindow window;
  std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(QtSettingsWindowTest, OpeningFillsTheWidgetsFromTheSettings) {
  Open(
      "[Form]\nHotKey=Ctrl+F6\n[Directories]\nUserStartMenu=0\nHistory=1\nUserDir=/home/me\n"
      "UserMasks=txt doc\nIgnoreList=the of\n[Program]\nFirstShow=1\nStayOnTop=0\n"
      "UseFindDialog=1\n");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.focusWidget(), Child<QLineEdit>("user_dir"));
  EXPECT_FALSE(Child<QLabel>("donation_icon")->pixmap().isNull());
  EXPECT_EQ(Child<QLabel>("version")->text(), Text("Wordhopper version: 1.5.0 (Build 9)"));
  EXPECT_EQ(Child<QtHotKeyField>("hot_key")->text(), Text("Ctrl+F6"));
  EXPECT_EQ(Child<QLineEdit>("user_dir")->text(), Text("/home/me"));
  EXPECT_EQ(Child<QLineEdit>("masks")->text(), Text("txt doc"));
  EXPECT_EQ(Child<QPlainTextEdit>("ignore_list")->toPlainText(), Text("the of"));
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
    EXPECT_EQ(Box(option)->isChecked(), checked) << static_cast<int>(option);
  }
}

TEST_F(QtSettingsWindowTest, SaveTakesWhatWasTypedAndClicked) {
  Launcher& f = Open("[Program]\nFirstShow=1\n[Directories]\nUserMasks=pdf\n");
  QTest::mouseClick(Box(Option::UserStartMenu), Qt::LeftButton);       // on to off
  QTest::mouseClick(Box(Option::LoadUserDirOnPopup), Qt::LeftButton);  // off to on
  QLineEdit* userDir = Child<QLineEdit>("user_dir");
  userDir->clear();
  QTest::keyClicks(userDir, "/srv/files ");
  QLineEdit* masks = Child<QLineEdit>("masks");
  masks->selectAll();
  QTest::keyClicks(masks, "txt doc");
  QPlainTextEdit* memo = Child<QPlainTextEdit>("ignore_list");
  memo->clear();
  QTest::keyClicks(memo, "the");
  QTest::keyClick(memo, Qt::Key_Return);
  QTest::keyClicks(memo, "of");
  EXPECT_EQ(window.IgnoreList(), "the\nof");
  QTest::keyClick(Child<QtHotKeyField>("hot_key"), Qt::Key_Q,
                  Qt::ControlModifier | Qt::AltModifier);
  view.events.clear();
  QTest::mouseClick(Child<QPushButton>("save"), Qt::LeftButton);

  EXPECT_FALSE(window.isVisible());
  for (const char* line : {"UserStartMenu=0", "LoadUserDirOnPopup=1", "UserMasks=txt doc",
                           "IgnoreList=the of", "HotKey=Ctrl+Alt+Q"}) {
    EXPECT_TRUE(IniHas(line)) << line << "\n" << Ini();
  }
  EXPECT_FALSE(f.CurrentSettings().UserStartMenu);
  EXPECT_EQ(f.CurrentSettings().UserDir, "/srv/files ");
  EXPECT_EQ(std::count(view.events.begin(), view.events.end(), "register 1"), 1);
}

// Browsers on Linux keep no history files: the option is there, greyed, with
// the reason as its hint, and Save keeps what the file says.
TEST_F(QtSettingsWindowTest, HistoryIsDisabledWithItsReason) {
  Open("[Directories]\nHistory=1\n[Program]\nFirstShow=1\n");
  for (const settings_layout::OptionRow& row : settings_layout::kOptions) {
    SCOPED_TRACE(row.name);
    const bool history = row.option == Option::History;
    EXPECT_EQ(Box(row.option)->isEnabled(), !history);
    EXPECT_EQ(Box(row.option)->toolTip(),
              history ? Text("Not available on Linux: web browsers keep their history in "
                             "databases of their own, not in files to index.")
                      : QString());
  }
  EXPECT_TRUE(Box(Option::History)->isChecked());
  QTest::mouseClick(Child<QPushButton>("save"), Qt::LeftButton);
  EXPECT_TRUE(IniHas("History=1")) << Ini();
}

TEST_F(QtSettingsWindowTest, RefusedWriteIsShownOverTheWindowWhichStaysOpen) {
  Open("[Program]\nFirstShow=1\n");
  fs.MakeReadOnly("C:\\Tools\\wordhopper.ini");
  QString title, text;
  const QWidget* owner = nullptr;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    owner = box->parentWidget();
    box->button(QMessageBox::Ok)->click();
  });
  QTest::mouseClick(Child<QPushButton>("save"), Qt::LeftButton);
  EXPECT_EQ(title, Text("Wordhopper"));
  EXPECT_EQ(text, Text("Unable to write to C:\\Tools\\wordhopper.ini"));
  EXPECT_EQ(owner, &window);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(QtSettingsWindowTest, CancelAndTheCloseBoxDropTheEdits) {
  enum class Way { Cancel, CloseBox, Escape };
  const struct {
    const char* label;
    Way way;
  } cases[] = {
      {"Cancel", Way::Cancel}, {"close box", Way::CloseBox}, {"ESC in a field", Way::Escape}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    view = FakeMainView();
    Launcher& f = Open("[Program]\nFirstShow=1\n[Directories]\nUserMasks=pdf\n");
    const int writes = fs.WriteCount();
    Child<QLineEdit>("masks")->setText(Text("edited"));
    QTest::mouseClick(Box(Option::StayOnTop), Qt::LeftButton);
    QTest::keyClick(Child<QtHotKeyField>("hot_key"), Qt::Key_F9);
    view.events.clear();
    switch (c.way) {
      case Way::Cancel:
        QTest::mouseClick(Child<QPushButton>("cancel"), Qt::LeftButton);
        break;
      case Way::CloseBox:
        window.close();
        break;
      case Way::Escape:
        QTest::keyClick(Child<QLineEdit>("masks"), Qt::Key_Escape);
        break;
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(fs.WriteCount(), writes);
    // OnClose ran exactly once: the hot key is back, registered once.
    EXPECT_EQ(view.events, (std::vector<std::string>{"register 1"}));
    f.OnTraySettings();
    EXPECT_EQ(Child<QLineEdit>("masks")->text(), Text("pdf"));
    EXPECT_TRUE(Box(Option::StayOnTop)->isChecked());
    EXPECT_EQ(Child<QtHotKeyField>("hot_key")->text(), Text("F4"));
    window.Hide();
  }
}

TEST_F(QtSettingsWindowTest, DonationPictureAndLinkOpenThePageAndClose) {
  fs.AddFile("C:\\Tools\\donate.html");
  for (const char* name : {"donation_icon", "donation_link"}) {
    SCOPED_TRACE(name);
    shell.requests.clear();
    Open("[Program]\nFirstShow=1\n");
    QTest::mouseClick(Child<QLabel>(name), Qt::LeftButton);
    EXPECT_EQ(shell.requests, (std::vector<std::string>{"open C:\\Tools\\donate.html"}));
    EXPECT_FALSE(window.isVisible());
  }
}

TEST(QtHotKeyFieldTest, TypedCombinationsFollowTheFieldsRules) {
  constexpr HotKeyCombo kF4{0x73};
  const struct {
    const char* label;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    HotKeyCombo expected;
    const char* text;
  } cases[] = {
      {"bare key", Qt::Key_F6, Qt::NoModifier, {0x75}, "F6"},
      {"Shift alone drops", Qt::Key_F6, Qt::ShiftModifier, {0x75}, "F6"},
      {"Ctrl keeps Shift",
       Qt::Key_F6,
       Qt::ShiftModifier | Qt::ControlModifier,
       {0x75, true, true, false},
       "Shift+Ctrl+F6"},
      {"Alt", Qt::Key_Q, Qt::AltModifier, {0x51, false, false, true}, "Alt+Q"},
      {"all three",
       Qt::Key_A,
       Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
       {0x41, true, true, true},
       "Shift+Ctrl+Alt+A"},
      {"digit", Qt::Key_7, Qt::ControlModifier, {0x37, false, true, false}, "Ctrl+7"},
      {"shifted digit is its key",
       Qt::Key_Exclam,
       Qt::ShiftModifier | Qt::ControlModifier,
       {0x31, true, true, false},
       "Shift+Ctrl+1"},
      {"keypad digit", Qt::Key_5, Qt::KeypadModifier, {0x65}, "5"},
      {"keypad operator is not taken", Qt::Key_Plus, Qt::KeypadModifier | Qt::ControlModifier, kF4,
       "F4"},
      {"keypad Enter",
       Qt::Key_Enter,
       Qt::KeypadModifier | Qt::AltModifier,
       {0x0D, false, false, true},
       "Alt+Enter"},
      {"last function key", Qt::Key_F24, Qt::NoModifier, {0x87}, "F24"},
      {"navigation",
       Qt::Key_PageDown,
       Qt::ControlModifier,
       {0x22, false, true, false},
       "Ctrl+PgDn"},
      {"arrow", Qt::Key_Left, Qt::AltModifier, {0x25, false, false, true}, "Alt+Left"},
      {"Ctrl+Space", Qt::Key_Space, Qt::ControlModifier, {0x20, false, true, false}, "Ctrl+Space"},
      {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, {0x09, false, true, false}, "Ctrl+Tab"},
      {"Ctrl+Backspace",
       Qt::Key_Backspace,
       Qt::ControlModifier,
       {0x08, false, true, false},
       "Ctrl+BkSp"},
      {"punctuation is not taken", Qt::Key_Minus, Qt::ControlModifier, kF4, "F4"},
      {"bare Backspace empties", Qt::Key_Backspace, Qt::NoModifier, {}, ""},
      {"Shift+Delete empties", Qt::Key_Delete, Qt::ShiftModifier, {}, ""},
      {"bare Space is not taken", Qt::Key_Space, Qt::NoModifier, kF4, "F4"},
      {"bare Escape is not taken", Qt::Key_Escape, Qt::NoModifier, kF4, "F4"},
      {"a modifier alone is not taken", Qt::Key_Control, Qt::ControlModifier, kF4, "F4"},
      {"unknown key", Qt::Key_VolumeUp, Qt::ControlModifier, kF4, "F4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    QtHotKeyField field;
    field.SetHotKey(kF4);
    QTest::keyClick(&field, c.key, c.modifiers);
    EXPECT_EQ(field.HotKey(), c.expected);
    EXPECT_EQ(field.text(), Text(c.text));
  }
}

// A key pressed and let go, sent as the window system would: QTest knows no
// text for some of the keys.
void PressAndRelease(QWidget& widget, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(&widget, &release);
}

// Whatever the field takes is saved by its name and must come back from the
// file as the key the field showed; a key without such a name is refused.
TEST(QtHotKeyFieldTest, TakesOnlyKeysWhoseNameReadsBack) {
  constexpr HotKeyCombo kF4{0x73};
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  } refused[] = {
      {Qt::Key_Minus, Qt::ControlModifier},
      {Qt::Key_Semicolon, Qt::ControlModifier},
      {Qt::Key_Slash, Qt::KeypadModifier | Qt::AltModifier},
      {Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ControlModifier},
      {Qt::Key_Pause, Qt::NoModifier},
      {Qt::Key_Print, Qt::ControlModifier},
      {Qt::Key_Menu, Qt::AltModifier},
      {Qt::Key_ScrollLock, Qt::ControlModifier | Qt::AltModifier},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
    QtHotKeyField field;
    field.SetHotKey(kF4);
    PressAndRelease(field, c.key, c.modifiers);
    EXPECT_EQ(field.HotKey(), kF4);
    EXPECT_EQ(field.text(), Text("F4"));
  }
  // Every key the field takes, read back from its text, shows the same.
  std::vector<int> keys = {Qt::Key_Backspace, Qt::Key_Tab,    Qt::Key_Return, Qt::Key_Escape,
                           Qt::Key_Insert,    Qt::Key_Delete, Qt::Key_Home,   Qt::Key_End,
                           Qt::Key_PageUp,    Qt::Key_Left,   Qt::Key_Down,   Qt::Key_F1,
                           Qt::Key_F24,       Qt::Key_Pause,  Qt::Key_Print,  Qt::Key_Menu};
  for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key) keys.push_back(key);
  PosixKeyNames names;
  for (int key : keys) {
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::KeypadModifier}) {
      QtHotKeyField field;
      field.SetHotKey(kF4);
      PressAndRelease(field, key, modifiers);
      const std::string text = field.text().toStdString();
      ASSERT_FALSE(text.empty()) << key;
      const HotKeyCombo readBack = ParseHotKeyText(text, names);
      EXPECT_EQ(FormatHotKeyText(readBack, names), text) << key;
    }
  }
}

TEST(QtHotKeyFieldTest, HeldModifiersShowUntilLetGo) {
  QtHotKeyField field;
  field.SetHotKey({0x73});
  QTest::keyPress(&field, Qt::Key_Control, Qt::NoModifier);
  EXPECT_EQ(field.text(), Text("Ctrl+"));
  QTest::keyPress(&field, Qt::Key_Alt, Qt::ControlModifier);
  EXPECT_EQ(field.text(), Text("Ctrl+Alt+"));
  QTest::keyRelease(&field, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(field.text(), Text("F4"));
  EXPECT_EQ(field.HotKey(), (HotKeyCombo{0x73}));
}

TEST(QtSettingsWindowLayoutTest, CaptionsSizeAndTabOrder) {
  QtSettingsWindow window;
  EXPECT_EQ(window.windowTitle(), Text("Wordhopper Settings"));
  EXPECT_EQ(window.size(), window.sizeHint());
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

  QStringList groups;
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) groups << group->title();
  EXPECT_EQ(groups, (QStringList{Text(" Search directories for keywords  "),
                                 Text(" Program behaviour "), Text(" About ")}));
  const struct {
    const char* name;
    const char* caption;
  } captions[] = {
      // On Linux the captions say what is true there.
      {"user_start_menu", "User start menu (*.desktop)"},
      {"favorites", "Favorites (bookmarked folders)"},
      {"recent_files", "Recent files"},
      {"show_info_panel",
       "Show the Wordhopper information panel (restart application to activate). "},
      {"start_on_one_match",
       "Automaticilly start application when keyword maches a single item (not recommended "
       "with many items) ."},
      {"use_find_dialog", "Open the file manager when a keyword pattern does not match any item."},
      {"save", "Save"},
      {"cancel", "Cancel"},
      {"user_dir_browse", "..."},
      {"about_line", "Type a key word, press ENTER, pick an item, press ENTER."},
      {"donation_link", "This software is freeware, any donations are welcome."},
  };
  for (const auto& c : captions) {
    const QObject* child = window.findChild<QObject*>(Text(c.name));
    ASSERT_NE(child, nullptr) << c.name;
    EXPECT_EQ(child->property("text").toString(), Text(c.caption)) << c.name;
  }
  EXPECT_EQ(window.HotKey(), (HotKeyCombo{0x73}));

  // A screen reader names each field by its label; the hot-key field lines
  // up with the fields above it.
  const struct {
    const char* name;
    const char* spoken;
  } spoken[] = {{"user_dir", "User defined directory:"},
                {"user_dir_browse", "Browse for the user defined directory"},
                {"masks", "File masks to include:"},
                {"ignore_list", "Ignore key words like:"},
                {"hot_key", "Application hot-key:"},
                {"history", "History (*.url)"}};
  for (const auto& s : spoken) {
    QWidget* widget = window.findChild<QWidget*>(Text(s.name));
    ASSERT_NE(widget, nullptr) << s.name;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(accessible, nullptr) << s.name;
    EXPECT_EQ(accessible->text(QAccessible::Name), Text(s.spoken)) << s.name;
  }
  const auto left = [&](const char* name) {
    return window.findChild<QWidget*>(Text(name))->mapTo(&window, QPoint(0, 0)).x();
  };
  EXPECT_EQ(left("hot_key"), left("user_dir"));

  // The focus chain, from the first check box round to it again.
  QStringList order;
  QWidget* first = window.findChild<QWidget*>(Text("user_start_menu"));
  ASSERT_NE(first, nullptr);
  QWidget* widget = first;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()) {
      order << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  } while (widget != first && order.size() < 100);
  EXPECT_EQ(order.join(' '),
            Text("user_start_menu all_users_start_menu recent_files user_desktop all_users_desktop "
                 "favorites user_dir user_dir_browse masks ignore_list "
                 "start_with_windows always_screen_center hide_to_system_tray hide_when_launching "
                 "stay_on_top message_box_on_error show_title_bar show_info_panel show_status_bar "
                 "auto_complete reload_on_popup load_user_dir_on_popup start_on_one_match "
                 "use_find_dialog hot_key cancel save"));
}

TEST(QtSettingsWindowLayoutTest, FieldsHoldAtMost2047Characters) {
  QtSettingsWindow window;
  const std::string longText(3000, 'x');
  const struct {
    const char* label;
    void (QtSettingsWindow::*set)(const std::string&);
    std::string (QtSettingsWindow::*get)() const;
  } fields[] = {
      {"user directory", &QtSettingsWindow::SetUserDir, &QtSettingsWindow::UserDir},
      {"masks", &QtSettingsWindow::SetMasks, &QtSettingsWindow::Masks},
      {"ignore list", &QtSettingsWindow::SetIgnoreList, &QtSettingsWindow::IgnoreList},
  };
  for (const auto& f : fields) {
    SCOPED_TRACE(f.label);
    (window.*f.set)(longText);
    EXPECT_EQ((window.*f.get)().size(), 2047u);
    (window.*f.set)("ä ö\tü");
    EXPECT_EQ((window.*f.get)(), "ä ö\tü");
  }
}

}  // namespace
}  // namespace wh
