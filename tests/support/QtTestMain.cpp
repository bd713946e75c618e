// Widget tests share one QApplication and run headless. The configuration
// directory (the settings store, and the state Qt's file dialog remembers)
// and the state directory (unsaved changes kept for recovery) are the run's
// own, so no test can touch the user's files.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  QTemporaryDir stateHome;
  qputenv("XDG_STATE_HOME", stateHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
