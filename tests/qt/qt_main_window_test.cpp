// The main window's real widgets driven by synthetic keys, with Launcher behind
// them and fakes of the platform underneath.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_main_platform.h"
#include "qt/qt_instance_windows.h"
#include "qt/qt_main_window.h"
#include "qt/x11_hot_key.h"

namespace wh {
namespace {

std::vector<std::string> Entries(const QComboBox* box) {
  std::vector<std::string> entries;
  for (int i = 0; i < box->count(); ++i) entries.push_back(box->itemText(i).toStdString());
  return entries;
}

class QtMainWindowTest : public ::testing::Test, protected testing::MainPlatformFakes {
 protected:
  QtMainWindowTest() {
    for (const char* name : {"Notepad", "WordPad", "Microsoft Word", "Password Safe"}) {
      fs.AddFile(std::string("C:\\Menu\\") + name + ".lnk");
    }
    folders.Set(KnownFolder::StartMenu, "C:\\Menu");
    // A message box would wait for a click: it is read and closed instead.
    QObject::connect(&closer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        messages.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
        box->accept();
      }
    });
    closer.start(20);
  }
  ~QtMainWindowTest() override {
    if (launcher) window.Attach(nullptr);
  }

  // Starts with the window shown; the settings as the file's [Program]
  // section. No hot key unless one is given.
  Launcher& Start(const std::string& program = "", const std::string& hotKey = "") {
    fs.AddFile(
        "C:\\Tools\\wordhopper.ini",
        "[Form]\nHotKey=" + hotKey + "\n[Program]\nFirstShow=1\nMessageBoxOnError=0\n" + program);
    launcher = std::make_unique<Launcher>(window, Platform());
    window.Attach(launcher.get());
    launcher->Start("show");
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    return *launcher;
  }

  // Keys go where the keyboard focus is, as a user's would.
  static QWidget* Focus() {
    QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr) return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
  }
  void Type(const std::string& keys) {
    for (char c : keys) {
      switch (c) {
        case '\n':
          QTest::keyClick(Focus(), Qt::Key_Return);
          break;
        case '\x1b':
          QTest::keyClick(Focus(), Qt::Key_Escape);
          break;
        case '\b':
          QTest::keyClick(Focus(), Qt::Key_Backspace);
          break;
        default:
          QTest::keyClick(Focus(), c);
      }
    }
    QCoreApplication::processEvents();
  }
  QLineEdit* KeywordEdit() const { return window.KeywordBox()->lineEdit(); }

  QTimer closer;
  std::vector<std::string> messages;
  QtMainWindow window;
  std::unique_ptr<Launcher> launcher;
};

TEST_F(QtMainWindowTest, KeysInTheBoxesRunTheDialogue) {
  const struct {
    const char* label;
    const char* keys;
    bool itemMode;
    std::vector<std::string> items;
    const char* itemText;
    const char* keywordText;
    const char* status;   // "" when not checked
    const char* request;  // "" for none
    bool visible;
  } cases[] = {
      {"search: the item box, sorted, first selected",
       "word\n",
       true,
       {"Microsoft Word", "Password Safe", "WordPad"},
       "Microsoft Word",
       "word",
       "",
       "",
       true},
      {"no match: reported, text kept",
       "xyz\n",
       false,
       {},
       "",
       "xyz",
       "No items with pattern \"xyz\" found.",
       "",
       true},
      {"ESC in the item box: back to the keyword box",
       "word\n\x1b",
       false,
       {},
       "",
       "",
       "",
       "",
       true},
      {"ENTER in the item box launches the item",
       "notepad\n\n",
       false,
       {},
       "",
       "",
       "",
       "open C:\\Menu\\Notepad.lnk",
       false},
      {"ESC with text resets",
       "abc\x1b",
       false,
       {},
       "",
       "",
       "Type a keyword or press ESC to hide Wordhopper.",
       "",
       true},
      {"ESC on an empty box hides the window", "\x1b", false, {}, "", "", "", "", false},
      {"BACKSPACE edits the text",
       "wordx\b\n",
       true,
       {"Microsoft Word", "Password Safe", "WordPad"},
       "Microsoft Word",
       "word",
       "",
       "",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    shell.requests.clear();
    launcher.reset();
    Start("AutoComplete=0\n");
    Type(c.keys);
    EXPECT_EQ(window.ItemBox()->isVisible(), c.itemMode && c.visible);
    EXPECT_EQ(window.KeywordBox()->isVisible(), !c.itemMode && c.visible);
    if (c.itemMode) {
      EXPECT_EQ(Entries(window.ItemBox()), c.items);
      EXPECT_EQ(window.ItemBox()->currentText().toStdString(), c.itemText);
    }
    EXPECT_EQ(window.KeywordText(), c.keywordText);
    if (*c.status) {
      EXPECT_EQ(window.StatusPanelText(StatusPanel::Status).toStdString(), c.status);
    }
    EXPECT_EQ(shell.requests.empty() ? "" : shell.requests[0], std::string(c.request));
    EXPECT_EQ(window.isVisible(), c.visible);
    window.ItemBox()->hidePopup();
    window.KeywordBox()->hidePopup();
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(QtMainWindowTest, CompletionWorksOnTheRealBox) {
  const struct {
    const char* keys;
    const char* text;
    int selStart;  // in characters of the line edit
    int selEnd;
  } cases[] = {
      {"n", "notepad", 1, 7},   // the rest offered, selected
      {"no", "notepad", 2, 7},  // still the same keyword
      {"nx", "nx", 2, 2},       // no keyword: the box types it itself
      {"n\b", "n", 1, 1},       // BACKSPACE takes the offered rest away
      {"p", "password", 1, 8},  // the first keyword in the box's order
      {"NO", "NOtepad", 2, 7},  // case ignored, the typed letters kept
  };
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    window.SetKeywordText("");
    Type(c.keys);
    window.KeywordBox()->hidePopup();
    EXPECT_EQ(KeywordEdit()->text().toStdString(), c.text);
    const int start = KeywordEdit()->hasSelectedText() ? KeywordEdit()->selectionStart()
                                                       : KeywordEdit()->cursorPosition();
    const int end = KeywordEdit()->hasSelectedText() ? KeywordEdit()->selectionEnd()
                                                     : KeywordEdit()->cursorPosition();
    EXPECT_EQ(start, c.selStart);
    EXPECT_EQ(end, c.selEnd);
  }
}

TEST_F(QtMainWindowTest, KeywordFieldCountsUtf8Bytes) {
  Start();
  window.SetKeywordField({"grüße", 2, 6}, -1);  // "ü" and "ß" take two bytes each
  EXPECT_EQ(KeywordEdit()->selectedText().toStdString(), "üß");
  const EditState field = window.KeywordField();
  EXPECT_EQ(field.text, "grüße");
  EXPECT_EQ(field.selStart, 2u);
  EXPECT_EQ(field.selEnd, 6u);
}

TEST_F(QtMainWindowTest, LoadFillsTheStatusPanelsAndTheKeywordList) {
  Start();
  EXPECT_EQ(window.StatusPanelText(StatusPanel::Keywords).toStdString(),
            "Keywords: " + std::to_string(launcher->Index().KeywordList.Count()));
  EXPECT_EQ(window.StatusPanelText(StatusPanel::Items).toStdString(), "Items: 4");
  EXPECT_EQ(Entries(window.KeywordBox()), launcher->Index().KeywordList.Words());
  EXPECT_TRUE(KeywordEdit()->text().isEmpty());
}

TEST_F(QtMainWindowTest, BandsFitTheWindowHeight) {
  const struct {
    bool info, status;
  } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  const int width = window.width();
  const QWidget* keywordBand = window.KeywordBox()->parentWidget();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.info) + std::to_string(c.status));
    window.SetBandsVisible(c.info, c.status);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.height(), (c.info ? window.InfoPanel()->height() : 0) + keywordBand->height() +
                                   (c.status ? window.StatusBar()->height() : 0));
    EXPECT_GT(keywordBand->height(), 0);
    EXPECT_EQ(keywordBand->y(), c.info ? window.InfoPanel()->height() : 0);
    EXPECT_EQ(window.width(), width);
    EXPECT_EQ(window.InfoPanel()->isVisibleTo(&window), c.info);
    EXPECT_EQ(window.StatusBar()->isVisibleTo(&window), c.status);
  }
}

TEST_F(QtMainWindowTest, TrayHidingKeepsTheFocusedBox) {
  // Never shown: coming back from the tray is left to the first showing.
  window.ShowFromTray();
  EXPECT_FALSE(window.isVisible());

  Start("AutoComplete=0\n");
  Type("word\n");
  window.ItemBox()->hidePopup();
  window.ItemBox()->setFocus();
  window.HideToTray();
  EXPECT_FALSE(window.isVisible());
  window.ShowFromTray();
  EXPECT_TRUE(window.isVisible());
  window.BringToFront();
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeWindow() != nullptr; }));
  EXPECT_EQ(QApplication::focusWidget(), window.ItemBox());
  // A second call does nothing more.
  window.ShowFromTray();
  EXPECT_TRUE(window.isVisible());
}

// The item box had the focus when the window went away, then the keyword
// box took its place: showing again focuses the box that shows.
TEST_F(QtMainWindowTest, ShowingFocusesTheShownBox) {
  Start("AutoComplete=0\n");
  const struct {
    const char* label;
    void (QtMainWindow::*show)();
  } cases[] = {{"first showing", &QtMainWindow::Show},
               {"from the tray", &QtMainWindow::ShowFromTray}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    window.ShowItemBox();
    window.FocusItemBox();
    window.HideToTray();
    window.ShowKeywordBox();
    (window.*c.show)();
    EXPECT_TRUE(window.isVisible());
    // The box's own text field has it, or the box for it while the window
    // waits to be made active.
    QWidget* focus = window.focusWidget();
    EXPECT_TRUE(focus == window.KeywordBox() || focus == window.KeywordBox()->lineEdit())
        << (focus != nullptr ? focus->metaObject()->className() : "nothing");
  }
}

TEST_F(QtMainWindowTest, TopmostFlagAndShowing) {
  const struct {
    bool topmost, showPending, visibleAfter;
  } cases[] = {
      {false, true, false}, {true, true, false}, {false, false, true}, {true, false, true}};
  for (const auto& c : cases) {
    window.hide();
    window.SetTopmost(c.topmost, c.showPending);
    EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.topmost);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(window.isVisible(), c.visibleAfter);
  }
}

TEST_F(QtMainWindowTest, GaugeTurnsRedWhenLow) {
  const QColor normal = QApplication::palette(window.Gauge()).color(QPalette::Highlight);
  window.SetGaugeProgress(42);
  EXPECT_EQ(window.Gauge()->value(), 42);
  window.SetGaugeLow(true);
  EXPECT_EQ(window.Gauge()->palette().color(QPalette::Highlight), QColor(Qt::red));
  window.SetGaugeLow(false);
  EXPECT_EQ(window.Gauge()->palette().color(QPalette::Highlight), normal);
}

TEST_F(QtMainWindowTest, TrayMenuCaptionsHintAndCommands) {
  Start();
  std::vector<std::string> captions;
  for (QAction* action : window.Tray().Menu().actions()) {
    captions.push_back(action->text().toStdString());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"Show Wordhopper", "Hide Wordhopper",
                                                "Reload directories", "Settings", "Help", "Exit"}));
  window.SetShowShortcut("Ctrl+F6");
  EXPECT_EQ(window.Tray().Menu().actions()[0]->text().toStdString(), "Show Wordhopper\tCtrl+F6");
  window.SetShowShortcut("");
  EXPECT_EQ(window.Tray().Menu().actions()[0]->text().toStdString(), "Show Wordhopper");
  window.SetTrayHint("Wordhopper|second line");
  EXPECT_EQ(window.Tray().Icon().toolTip().toStdString(), "Wordhopper");

  window.Tray().Menu().actions()[1]->trigger();  // Hide
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
  window.Tray().Menu().actions()[0]->trigger();  // Show
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.isVisible());
}

// The keyboard reaches the context menu too: the menu key and Shift+F10
// open it below the caret, and the typed text stays.
TEST_F(QtMainWindowTest, MenuKeyAndShiftF10OpenTheContextMenuAtTheCaret) {
  Start();
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool opens;
  } keys[] = {{Qt::Key_Menu, Qt::NoModifier, true},
              {Qt::Key_F10, Qt::ShiftModifier, true},
              {Qt::Key_F10, Qt::NoModifier, false}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.key);
    // The menu took the keyboard; back to the box, as after a real menu.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    KeywordEdit()->setFocus();
    KeywordEdit()->clear();
    Type("ab");
    QTest::keyClick(Focus(), k.key, k.modifiers);
    QMenu& menu = window.Tray().Menu();
    EXPECT_EQ(menu.isVisible(), k.opens);
    const QPoint caret = KeywordEdit()->mapToGlobal(
        KeywordEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect().bottomLeft());
    if (k.opens) {
      EXPECT_EQ(menu.pos(), caret);
    }
    menu.hide();
    EXPECT_EQ(KeywordEdit()->text(), QStringLiteral("ab"));
  }
}

TEST_F(QtMainWindowTest, CloseBoxGoesToTheTrayOrEnds) {
  {
    SCOPED_TRACE("to the tray");
    Start("HideToSystemTray=1\n");
    EXPECT_FALSE(window.close());
    EXPECT_FALSE(window.isVisible());
    window.ShowFromTray();
    EXPECT_TRUE(window.isVisible());
  }
  {
    SCOPED_TRACE("the program ends");
    launcher.reset();
    Start("HideToSystemTray=0\n");
    bool closed = false;
    QTimer::singleShot(0, [&] { closed = window.close(); });
    // Exit code 1 only when the loop had to be ended from outside.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(window.isVisible());
  }
}

TEST_F(QtMainWindowTest, HotKeyWithoutX11IsReportedOnce) {
  // The offscreen platform has no X11 connection, as Wayland has none.
  fs.AddFile("C:\\Tools\\wordhopper.ini",
             "[Form]\nHotKey=Ctrl+F6\n[Program]\nFirstShow=1\nMessageBoxOnError=1\n");
  launcher = std::make_unique<Launcher>(window, Platform());
  window.Attach(launcher.get());
  launcher->Start("");
  EXPECT_EQ(messages, (std::vector<std::string>{"Wordhopper: Unable to assign hot-key."}));
  EXPECT_EQ(window.Tray().Icon().toolTip().toStdString(), "Wordhopper (Hot-key: n/a)");
  EXPECT_FALSE(window.RegisterHotKey({0x75, false, true, false}));
}

TEST(VirtualKeyMapping, KeysymsAndQtKeys) {
  const struct {
    int virtualKey;
    unsigned long keysym;
  } keysyms[] = {
      {'A', XK_a},
      {'Z', XK_z},
      {'0', XK_0},
      {'9', XK_9},
      {0x70, XK_F1},
      {0x7B, XK_F12},
      {0x87, XK_F24},
      {0x60, XK_KP_0},
      {0x69, XK_KP_9},
      {0x6B, XK_KP_Add},
      {0x20, XK_space},
      {0x09, XK_Tab},
      {0x1B, XK_Escape},
      {0x0D, XK_Return},
      {0x21, XK_Prior},
      {0x22, XK_Next},
      {0x23, XK_End},
      {0x24, XK_Home},
      {0x25, XK_Left},
      {0x28, XK_Down},
      {0x2D, XK_Insert},
      {0x2E, XK_Delete},
      {0xBA, XK_semicolon},
      {0xC0, XK_grave},
      {0xDE, XK_apostrophe},
      {0x00, 0},
      {0x07, 0},
      {0x88, 0},
      {0x100, 0},
  };
  for (const auto& c : keysyms) {
    EXPECT_EQ(VirtualKeyToKeySym(c.virtualKey), c.keysym) << "virtual key " << c.virtualKey;
  }

  const struct {
    int qtKey;
    Key key;
  } qtKeys[] = {
      {Qt::Key_Return, Key::Enter}, {Qt::Key_Enter, Key::Enter}, {Qt::Key_Escape, Key::Escape},
      {Qt::Key_Up, Key::Up},        {Qt::Key_Down, Key::Down},   {Qt::Key_A, Key::Other},
      {Qt::Key_PageUp, Key::Other}, {Qt::Key_Shift, Key::Other}, {Qt::Key_unknown, Key::Other},
  };
  for (const auto& c : qtKeys) {
    EXPECT_EQ(QtKeyToKey(c.qtKey), c.key) << "Qt key " << c.qtKey;
  }
}

TEST(InstanceSocket, SecondStartAsksTheRunningCopyToShow) {
  const std::string exe = "/tmp/wh-test-" + std::to_string(QCoreApplication::applicationPid());
  LocalSocketInstanceWindows second(exe);
  EXPECT_FALSE(second.IsMinimized(0));  // nobody listening yet

  std::vector<bool> requests;  // true: asked with the show argument
  InstanceServer server(exe, [&requests](bool show) { requests.push_back(show); });
  ASSERT_TRUE(server.IsListening());
  LocalSocketInstanceWindows other(exe + "-other");
  EXPECT_FALSE(other.IsMinimized(0));  // another executable's copy is not asked

  // The server answers from the event loop, so the client runs beside it.
  for (const bool show : {false, true}) {
    bool answered = false;
    std::thread client([&] {
      LocalSocketInstanceWindows windows(exe, show);
      answered = windows.IsMinimized(0);
      if (answered) windows.Restore(0);
    });
    const std::size_t before = requests.size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.size() > before; }, 5000));
    client.join();
    EXPECT_TRUE(answered);
  }
  EXPECT_EQ(requests, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace wh

namespace wh {
namespace {

TEST(InstanceSocket, CopiesMeetWhateverTheirTemporaryFolder) {
  const std::string exe = "/opt/some/rather/long/folder/name/for/the/program/wordhopper";
  const QByteArray savedTmp = qgetenv("TMPDIR"), savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", "/run/user/1000");
  qputenv("TMPDIR", QByteArray(150, 'x').prepend("/tmp/"));
  const QString first = InstanceSocketName(exe);
  qputenv("TMPDIR", "/elsewhere");
  EXPECT_EQ(InstanceSocketName(exe), first);
  EXPECT_TRUE(first.startsWith(QStringLiteral("/run/user/1000/wordhopper-")));
  EXPECT_NE(InstanceSocketName(exe + "2"), first);
  // No runtime folder, or one too long for a socket address: /tmp.
  qputenv("XDG_RUNTIME_DIR", QByteArray(120, 'r').prepend("/"));
  EXPECT_TRUE(InstanceSocketName(exe).startsWith(QStringLiteral("/tmp/wordhopper-")));
  EXPECT_LT(InstanceSocketName(exe).toUtf8().size(), 108);
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(InstanceSocketName(exe).startsWith(QStringLiteral("/tmp/wordhopper-")));
  qputenv("TMPDIR", savedTmp);
  if (!savedRuntime.isEmpty()) qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

}  // namespace
}  // namespace wh
