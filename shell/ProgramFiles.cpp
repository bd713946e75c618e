#include "shell/ProgramFiles.h"

#include <QMessageBox>

#include "document/StringTableText.h"
#include "shell/DesktopLaunch.h"
#include "shell/PathUtils.h"

namespace {

void Tell(QWidget* owner, QMessageBox::Icon icon, int messageId) {
  QMessageBox box(icon, sonavel::StringTableText(sonavel::IDS_APP_TITLE), sonavel::StringTableText(messageId),
                  QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace

bool OpenReadMe(QWidget* owner) {
  if (OpenProgramFileFromString(sonavel::IDS_README_FILE)) return true;
  Tell(owner, QMessageBox::Warning, sonavel::IDS_README_FAILED);
  return false;
}

bool PlayGuitarTuner(QWidget* owner) {
  const QString path = FindProgramFile(QString::fromLatin1(kGuitarTunerFile));
  if (!path.isEmpty() && desktop::Open(path) > 32) return true;
  Tell(owner, QMessageBox::Information, sonavel::IDS_TUNER_FAILED);
  return false;
}
