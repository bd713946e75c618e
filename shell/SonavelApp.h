#pragma once
// The application: the settings record for the program's lifetime, the
// interface's language, the file dialogs, the one running program of the
// user, and the main window with its first document.

#include <QApplication>
#include <memory>

#include "document/Settings.h"
#include "shell/DocManagerEx.h"
#include "shell/Translations.h"

class CInstanceChannel;
class CMainFrame;

class CSonavelApp : public QApplication {
  Q_OBJECT

 public:
  // Loads the settings (saved again when the application ends) and the
  // texts of the desktop's language.
  CSonavelApp(int& argc, char** argv);
  ~CSonavelApp() override;

  enum class Start { Running, HandedOn, Failed };
  // Hands a file or the desktop's request to the program already running,
  // or shows the main window with a new song and then the file named on
  // the command line.
  Start InitInstance();

  CMainFrame* MainFrame() const { return m_mainFrame.get(); }

 private:
  sonavel::SettingsScope m_settings;
  CTranslations m_translations;
  CDocManagerEx m_docManager;
  std::unique_ptr<CInstanceChannel> m_channel;
  std::unique_ptr<CMainFrame> m_mainFrame;
};
