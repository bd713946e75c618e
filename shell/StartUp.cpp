#include "shell/StartUp.h"

#include <QFileInfo>

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
  return true;
}
