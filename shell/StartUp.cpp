#include "shell/StartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>

#include "document/RecoveryStore.h"
#include "document/SonavelDoc.h"
#include "document/StringTableText.h"
#include "shell/ChildFrame.h"
#include "shell/CommandLineInfo.h"
#include "shell/MainFrame.h"

using Command = CCommandLineInfo::ShellCommand;

QList<ShellRequest> RequestsOf(const CCommandLineInfo& line) {
  // The running program has another working folder.
  const QString file = QFileInfo(line.m_strFileName).absoluteFilePath();
  if (line.m_nShellCommand == Command::FileOpen) return {{ShellRequest::Verb::Open, {file}}};
  if (!line.m_bDde || line.m_strFileName.isEmpty()) return {};
  if (line.m_nShellCommand == Command::FilePrint) return {{ShellRequest::Verb::Print, {file}}};
  if (line.m_nShellCommand == Command::FilePrintTo) {
    return {{ShellRequest::Verb::PrintTo, {file, line.m_strPrinterName, line.m_strDriverName, line.m_strPortName}}};
  }
  return {};
}

bool ShowFirstDocuments(CMainFrame& frame, const CCommandLineInfo& line) {
  if (frame.NewFile() == nullptr) return false;
  frame.ShowAsLastClosed();
  if (line.m_bDde) {
    // The desktop's request comes as a further document; the new one stays.
    frame.ExecuteRequests(RequestsOf(line));
  } else if (line.m_nShellCommand == Command::FileOpen) {
    // The file replaces the new song once the main window is on the screen.
    frame.CloseAllDocuments();
    frame.OpenFile(line.m_strFileName);
  }
  OfferRecovery(frame);
  return true;
}

void OfferRecovery(CMainFrame& frame) {
  const sonavel::RecoveryStore store(sonavel::RecoveryStore::DefaultFolder());
  std::vector<std::string> notes;
  const std::vector<sonavel::RecoveryStore::Found> found = store.List(notes);
  for (const std::string& note : notes) QTextStream(stderr) << QString::fromStdString(note) << '\n';
  for (const sonavel::RecoveryStore::Found& song : found) {
    const QString original = QFile::decodeName(QByteArray::fromStdString(song.entry.originalPath));
    const QString name =
        original.isEmpty() ? QString::fromStdString(song.entry.title) : QDir::toNativeSeparators(original);
    const QMessageBox::StandardButton answer = QMessageBox::question(
        &frame, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
        QCoreApplication::translate("StartUp", "Recover unsaved changes to %1?").arg(name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
      store.Remove(song.name);
      continue;
    }
    // A file that cannot be opened now has said why; its changes wait for
    // the next start.
    CChildFrame* child = original.isEmpty() ? frame.NewFile() : frame.OpenFile(original);
    if (child == nullptr) continue;
    child->Document().RestoreRecovered(QString::fromStdString(song.entry.text), song.name);
  }
}
