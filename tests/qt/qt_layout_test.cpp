// Both windows laid out with the fonts of the desktop: every caption fits its
// control and no two controls cover each other. tests/CMakeLists.txt runs
// these tests again at other scale factors and with a larger font.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <string>
#include <vector>

#include "qt/qt_main_window.h"
#include "qt/qt_settings_window.h"

namespace wh {
namespace {

bool IsControl(const QWidget* widget) {
  return qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget) ||
         qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
         qobject_cast<const QComboBox*>(widget) || qobject_cast<const QProgressBar*>(widget) ||
         qobject_cast<const QGroupBox*>(widget);
}

// A box's own text field and a text box's scroll bars are parts of one control.
bool IsPartOfControl(const QWidget* widget, const QWidget* window) {
  for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window;
       up = up->parentWidget()) {
    if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QPlainTextEdit*>(up)) return true;
  }
  return false;
}

std::vector<QWidget*> VisibleControls(QWidget* window) {
  std::vector<QWidget*> controls;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (widget->isVisibleTo(window) && IsControl(widget) && !IsPartOfControl(widget, window)) {
      controls.push_back(widget);
    }
  }
  return controls;
}

std::string Name(const QWidget* widget) {
  QString text = widget->property("text").toString();
  if (text.isEmpty()) text = widget->objectName();
  return std::string(widget->metaObject()->className()) + " \"" + text.toStdString() + "\"";
}

QRect InWindow(const QWidget* widget, const QWidget* window) {
  return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The part of a control that shows: what its holders, a scrolled area's
// view among them, leave of it.
QRect Shown(const QWidget* widget, const QWidget* window) {
  QRect shown = InWindow(widget, window);
  for (const QWidget* up = widget->parentWidget(); up != window; up = up->parentWidget()) {
    shown &= InWindow(up, window);
  }
  return shown & window->rect();
}

bool Scrolls(const QWidget* widget, const QWidget* window) {
  for (const QWidget* up = widget->parentWidget(); up != window; up = up->parentWidget()) {
    if (qobject_cast<const QScrollArea*>(up) != nullptr) return true;
  }
  return false;
}

// The width a control gives its caption, and the caption; {-1, ""} for
// controls that show no caption of their own.
std::pair<int, QString> CaptionRoom(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->text().isEmpty()) return {-1, {}};
    return {label->contentsRect().width() - 2 * label->margin(), label->text()};
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents = qobject_cast<const QCheckBox*>(button) != nullptr
                                            ? QStyle::SE_CheckBoxContents
                                            : QStyle::SE_PushButtonContents;
    return {button->style()->subElementRect(contents, &option, button).width(), button->text()};
  }
  return {-1, {}};
}

// What a user sees of the window: captions whole, each control inside the
// control or window that holds it (below a group's title), none on another
// where they show.
void ExpectLaidOut(QWidget* window) {
  const std::vector<QWidget*> controls = VisibleControls(window);
  ASSERT_FALSE(controls.empty());
  for (const QWidget* control : controls) {
    SCOPED_TRACE(Name(control));
    const auto [room, caption] = CaptionRoom(control);
    if (room >= 0) {
      EXPECT_GE(room, control->fontMetrics().horizontalAdvance(caption)) << "caption clipped";
    }
    if (!Scrolls(control, window)) {
      EXPECT_TRUE(window->rect().contains(InWindow(control, window)))
          << "outside the window " << window->width() << "x" << window->height();
    }
    const QWidget* holder = control->parentWidget();
    const QRect place =
        qobject_cast<const QGroupBox*>(holder) != nullptr ? holder->contentsRect() : holder->rect();
    EXPECT_TRUE(place.contains(control->geometry())) << "outside its group or band";
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const QWidget* a = controls[i];
      const QWidget* b = controls[j];
      if (a->isAncestorOf(b) || b->isAncestorOf(a)) continue;
      // Controls that scroll together are compared whole, wherever they are
      // scrolled to; others where they show.
      const bool together = Scrolls(a, window) == Scrolls(b, window);
      EXPECT_FALSE(together ? InWindow(a, window).intersects(InWindow(b, window))
                            : Shown(a, window).intersects(Shown(b, window)))
          << Name(a) << " and " << Name(b) << " overlap";
    }
  }
}

std::string Scale() {
  return "scale " + qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toStdString() +
         ", font " + QApplication::font().toString().toStdString();
}

TEST(QtLayoutTest, MainWindowBandsShowTheirTextsWhole) {
  QtMainWindow window;
  window.SetProcessCount("1234");
  window.SetPageFile("12,345 MB in use | 67,890 MB available");
  window.SetGaugeProgress(100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const struct {
    const char* label;
    bool info, status, itemBox;
  } cases[] = {{"all bands", true, true, false},
               {"item box", true, true, true},
               {"keyword band alone", false, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.label) + ", " + Scale());
    window.SetBandsVisible(c.info, c.status);
    if (c.itemBox) {
      window.ShowItemBox();
    } else {
      window.ShowKeywordBox();
    }
    QCoreApplication::processEvents();
    ExpectLaidOut(&window);
  }
}

TEST(QtLayoutTest, SettingsWindowShowsItsTextsWhole) {
  QtSettingsWindow window;
  window.SetVersionLabel("Wordhopper version: 10.25.100 (Build 1000)");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  SCOPED_TRACE(Scale());
  ExpectLaidOut(&window);
  // Groups that would not fit scroll.
  EXPECT_LE(window.frameGeometry().height(), window.screen()->availableGeometry().height());
}

// Opened on a low screen (800 px at scale 1.5), the window stands inside the
// screen's free area, top to bottom, with its buttons in reach.
TEST(QtLayoutTest, SettingsWindowOpensInsideTheScreen) {
  QtSettingsWindow window;
  window.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  SCOPED_TRACE(Scale());
  // Top to bottom: the test's screen is as wide as it is high, narrower than
  // a real 800 px one.
  const QRect area = window.screen()->availableGeometry();
  const auto within = [&area](int top, int height) {
    return top >= area.top() && top + height <= area.bottom() + 1;
  };
  const QRect frame = window.frameGeometry();
  EXPECT_TRUE(within(frame.y(), frame.height()))
      << "window " << frame.y() << "+" << frame.height() << " on a free area " << area.y() << "+"
      << area.height();
  for (const char* name : {"save", "cancel"}) {
    const auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    EXPECT_TRUE(within(button->mapToGlobal(QPoint(0, 0)).y(), button->height())) << name;
  }
  window.Hide();
}

}  // namespace
}  // namespace wh
