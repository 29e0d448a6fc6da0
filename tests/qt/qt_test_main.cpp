// The widget tests need a QApplication before any widget exists; the
// offscreen platform lets them run without a display. WH_TEST_FONT_POINTS
// gives the application font another size, as a desktop's setting would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (const int points = qEnvironmentVariableIntValue("WH_TEST_FONT_POINTS"); points > 0) {
    QFont font = QApplication::font();
    font.setPointSize(points);
    QApplication::setFont(font);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
