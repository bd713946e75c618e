#include "shell/SonavelApp.h"

#include <QTextStream>

#include "shell/CommandLineInfo.h"
#include "shell/MainFrame.h"

CSonavelApp::CSonavelApp(int& argc, char** argv)
    : QApplication(argc, argv), m_translations(QLocale::system()) {
  setOrganizationName(QStringLiteral("Quillon Works"));
  setApplicationName(QStringLiteral("Sonavel"));
}

CSonavelApp::~CSonavelApp() = default;

bool CSonavelApp::InitInstance() {
  const CCommandLineInfo commandLine = CCommandLineInfo::Parse(arguments().mid(1));
  if (!commandLine.m_ignored.isEmpty()) {
    QTextStream(stderr) << tr("Ignored on the command line: %1").arg(commandLine.m_ignored.join(u' ')) << '\n';
  }

  m_mainFrame = std::make_unique<CMainFrame>(m_docManager);
  if (m_mainFrame->NewFile() == nullptr) return false;
  m_mainFrame->show();

  // The file replaces the new song once the main window is on the screen.
  if (commandLine.m_nShellCommand == CCommandLineInfo::ShellCommand::FileOpen) {
    m_mainFrame->CloseAllDocuments();
    m_mainFrame->OpenFile(commandLine.m_strFileName);
  }
  return true;
}
