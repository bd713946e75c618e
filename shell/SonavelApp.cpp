#include "shell/SonavelApp.h"

#include <QTextStream>

#include "shell/CommandLineInfo.h"
#include "shell/IconLibrary.h"
#include "shell/InstanceChannel.h"
#include "shell/MainFrame.h"
#include "shell/StartUp.h"

CSonavelApp::CSonavelApp(int& argc, char** argv) : QApplication(argc, argv), m_translations(QLocale::system()) {
  setOrganizationName(QStringLiteral("Quillon Works"));
  setApplicationName(QStringLiteral("Sonavel"));
  setWindowIcon(icons::ProgramIcon());
}

CSonavelApp::~CSonavelApp() = default;

CSonavelApp::Start CSonavelApp::InitInstance() {
  const CCommandLineInfo line = CCommandLineInfo::Parse(arguments().mid(1));
  if (!line.m_ignored.isEmpty()) {
    QTextStream(stderr) << tr("Ignored on the command line: %1").arg(line.m_ignored.join(u' ')) << '\n';
  }
  const QList<ShellRequest> requests = RequestsOf(line);
  m_channel = std::make_unique<CInstanceChannel>(CInstanceChannel::DefaultFolder());
  if (m_channel->HandOnOrListen(requests)) return Start::HandedOn;

  m_mainFrame = std::make_unique<CMainFrame>(m_docManager);
  QObject::connect(m_channel.get(), &CInstanceChannel::requestsReceived, m_mainFrame.get(),
                   &CMainFrame::ExecuteRequests);
  return ShowFirstDocuments(*m_mainFrame, line) ? Start::Running : Start::Failed;
}
