// Message texts laid out as a narrow message box lays them out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextLayout>
#include <string>
#include <vector>

#include "app/help.h"
#include "qt/qt_message_box.h"

namespace wh {
namespace {

// Where lines start when `text` is wrapped at `width` pixels, as offsets
// into `text`.
std::vector<qsizetype> LineStarts(const QString& text, int width) {
  QTextLayout layout(text, QApplication::font());
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  std::vector<qsizetype> starts;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    starts.push_back(line.textStart());
  }
  layout.endLayout();
  return starts;
}

// True when some width between 40 and 700 pixels starts a line inside
// the quoted `path` of `text`.
bool SomeWidthSplits(const QString& text, const QString& path) {
  const qsizetype begin = text.indexOf(path), end = begin + path.size();
  EXPECT_GE(begin, 0) << path.toStdString();
  for (int width = 40; width <= 700; width += 3) {
    for (qsizetype start : LineStarts(text, width)) {
      if (start > begin && start < end) return true;
    }
  }
  return false;
}

TEST(MessageBoxText, KeepsQuotedPathsOnOneLine) {
  const std::string help = HelpText(Wording::Linux);
  const std::string line = help.substr(help.find("Typing a valid directory"));
  const QString plain = QString::fromStdString(line.substr(0, line.find('\r')));
  const QString shown = MessageBoxText(plain.toStdString());
  // Qt would break the bare path; the shown one stays whole at any width.
  ASSERT_TRUE(SomeWidthSplits(plain, QStringLiteral("smb://server/share")));
  QString joined;
  for (QChar c : QStringLiteral("smb://server/share")) {
    if (!joined.isEmpty()) joined += QChar(0x2060);
    joined += c;
  }
  EXPECT_FALSE(SomeWidthSplits(shown, joined));
}

TEST(MessageBoxText, LeavesOtherTextAlone) {
  const struct {
    const char* text;
    const char* shown;
  } kCases[] = {
      {"Execute failed, file not found.", "Execute failed, file not found."},
      {"a \"quoted phrase\" stays", "a \"quoted phrase\" stays"},
      {"an \"unclosed quote", "an \"unclosed quote"},
      {"\"\" and \"x\"", "\"\" and \"x\""},
      {"\"ab\"\r\n", "\"a\u2060b\"\r\n"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MessageBoxText(c.text).toStdString(), c.shown) << c.text;
  }
}

}  // namespace
}  // namespace wh
