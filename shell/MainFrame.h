#pragma once
// The program's main window: the document windows in a multi-document
// area, the menus, toolbar and keys of the command table, the status bar
// with its prompts and lock-key indicators, the recent files, Find and
// Replace, printing, and the requests the desktop sends.

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "dialogs/FindOptions.h"
#include "shell/RecentFileList.h"
#include "shell/ShellRequest.h"

class CChildFrame;
class CDocManagerEx;
class CFindReplaceDlg;
class CLockIndicators;
class CMainToolBar;
class CSonavelView;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the chord table, so the music engine is ready before the first
  // document exists, and restores the bars and the recent files.
  explicit CMainFrame(CDocManagerEx& docManager, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Shows the window where and as it was last closed.
  void ShowAsLastClosed();

  // File New: a new song, named Chord1, Chord2, ..., filled from the
  // clipboard when that holds a suitable text.
  CChildFrame* NewFile();
  // Opens a song file, or shows its window when it is open already. A file
  // that cannot be read gets a message and opens no window.
  CChildFrame* OpenFile(const QString& path);
  // Closes every document window without asking about unsaved changes.
  void CloseAllDocuments();
  // Prints a song file without a dialog, on the named printer or the
  // default one, and keeps no window of it open. False when it cannot be
  // read or printed.
  bool PrintFile(const QString& path, const QString& printerName = QString());

  CChildFrame* ActiveChild() const;
  CSonavelView* ActiveView() const;
  QList<CChildFrame*> Children() const;
  QMdiArea* MdiArea() const { return m_mdiArea; }
  QAction* Action(int id) const { return m_actions.value(id); }
  const CRecentFileList& RecentFiles() const { return m_recentFiles; }
  QPrinter& Printer() { return m_printer; }

 public slots:
  // Puts a text into the status bar's message pane.
  void ShowMessage(const QString& text);
  void ExecuteRequests(const QList<ShellRequest>& requests);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void UpdateActions();
  void UpdateWindowTitle();
  void RebuildMenus();

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void readSettings();
  void writeSettings();

  void OnCommand(int id);
  void OnFileOpen();
  void OnRecentFile(int index);
  void OnFind(bool replacing);
  void OnFindNext();
  void OnReplace();
  void OnReplaceAll();
  FindOptions Search() const;
  void ReportNotFound(const FindOptions& search);
  void OnPrintSetup();
  void UpdateWindowMenu();
  void RememberFile(const QString& path);

  CChildFrame* CreateChild();
  void AddChild(CChildFrame* child);
  CChildFrame* FindChild(const QString& path) const;

  CDocManagerEx& m_docManager;
  QMdiArea* m_mdiArea;
  QHash<int, QAction*> m_actions;
  QList<QAction*> m_recentFileActions;
  QMenu* m_windowMenu = nullptr;
  QList<QAction*> m_windowListActions;
  CMainToolBar* m_toolBar = nullptr;
  CLockIndicators* m_indicators = nullptr;
  QLabel* m_idlePrompt = nullptr;
  CFindReplaceDlg* m_findDialog = nullptr;
  CRecentFileList m_recentFiles;
  QPrinter m_printer{QPrinter::HighResolution};
  bool m_menusShowDocument = false;
  bool m_menusBuilt = false;
  int m_untitledCount = 0;
};
