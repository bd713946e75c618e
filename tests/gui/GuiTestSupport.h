#pragma once
// Shared pieces of the editor's widget tests: modal dialogs driven from a
// timer, files in a temporary directory, the songs beside the project and
// colour masks.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/DocumentOptions.h"
#include "shell/DocManagerEx.h"
#include "view/TextControl.h"

namespace sonavel::test {

// Runs action once a modal widget of type Widget is on top, while the code
// under test waits in its exec(). A dialog that never comes fails the test
// and whatever is modal instead is rejected, so no test hangs.
template <typename Widget>
void WhenModal(std::function<void(Widget*)> action, int timeoutMs = 5000) {
  auto* poll = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, action, timeoutMs] {
    if (auto* widget = qobject_cast<Widget*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      delete clock;
      action(widget);
      return;
    }
    if (clock->elapsed() > timeoutMs) {
      poll->stop();
      poll->deleteLater();
      delete clock;
      ADD_FAILURE() << "the expected modal dialog did not appear";
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    }
  });
  poll->start();
}

// One letter per position: 'c' chord colour, 't' tab colour, '.' text
// colour, '?' any other colour (an uncoloured character when the text
// colour differs from the widget's).
std::string ColorMask(const TextControl& control, const DocumentOptions& options);

// Every colour, position by position.
std::vector<ColorRef> Colors(const TextControl& control);

// The song files beside the project (path and name), every one of them.
struct SongFile {
  std::string name;
  std::string path;
};
const std::vector<SongFile>& SongFiles();
std::string SongPath(const std::string& name);

// A song's text the way the editor reads it (UTF-8, CR LF between lines).
std::string ReadSongText(const std::string& path);

std::string ReadBytes(const QString& path);
void WriteBytes(const QString& path, std::string_view bytes);

// A file dialog stand-in: answers with a fixed name and remembers what it
// was asked.
class FakeDocManager : public CDocManagerEx {
 public:
  bool DoPromptFileName(QString& fileName, const QString& title, bool openDialog, QWidget* owner) override;

  QString answer;  // empty: the user cancels
  QString proposed;
  int prompts = 0;
};

}  // namespace sonavel::test
