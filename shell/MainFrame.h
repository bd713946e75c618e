#pragma once
// The program's main window: the document windows in a multi-document
// area, the menus with their keys, and the status bar whose message pane
// shows the results of commands.

#include <QList>
#include <QMainWindow>

class CChildFrame;
class CDocManagerEx;
class CSonavelView;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the chord table, so the music engine is ready before the first
  // document exists.
  explicit CMainFrame(CDocManagerEx& docManager, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // File New: a new song, named Chord1, Chord2, ..., filled from the
  // clipboard when that holds a suitable text.
  CChildFrame* NewFile();
  // Opens a song file, or shows its window when it is open already. A file
  // that cannot be read gets a message and opens no window.
  CChildFrame* OpenFile(const QString& path);
  // Closes every document window without asking about unsaved changes.
  void CloseAllDocuments();

  CChildFrame* ActiveChild() const;
  CSonavelView* ActiveView() const;
  QList<CChildFrame*> Children() const;
  QMdiArea* MdiArea() const { return m_mdiArea; }

 public slots:
  // Puts a text into the status bar's message pane.
  void ShowMessage(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void OnFileNew();
  void OnFileOpen();
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();
  void UpdateActions();
  void UpdateWindowTitle();

 private:
  void createActions();
  void createFileActions();
  void createEditActions();
  void createTransposeActions();
  void createToolsActions();
  void createMenus();
  void createStatusBar();
  void setDefaultPlacement();

  CChildFrame* CreateChild();
  void AddChild(CChildFrame* child);
  CChildFrame* FindChild(const QString& path) const;
  // An action that runs a command of the active view.
  template <typename Slot>
  void ForwardToView(QAction* action, Slot slot);

  CDocManagerEx& m_docManager;
  QMdiArea* m_mdiArea;
  QLabel* m_idlePrompt = nullptr;
  int m_untitledCount = 0;

  QMenu* m_fileMenu = nullptr;
  QMenu* m_editMenu = nullptr;
  QMenu* m_transposeMenu = nullptr;
  QMenu* m_toolsMenu = nullptr;

  QAction* m_newAct = nullptr;
  QAction* m_openAct = nullptr;
  QAction* m_closeAct = nullptr;
  QAction* m_saveAct = nullptr;
  QAction* m_saveAsAct = nullptr;
  QAction* m_printAct = nullptr;
  QAction* m_printPreviewAct = nullptr;
  QAction* m_exitAct = nullptr;

  QAction* m_undoAct = nullptr;
  QAction* m_redoAct = nullptr;
  QAction* m_cutAct = nullptr;
  QAction* m_copyAct = nullptr;
  QAction* m_pasteAct = nullptr;
  QAction* m_selectAllAct = nullptr;
  QAction* m_wordWrapSeparator = nullptr;
  QAction* m_wordWrapAct = nullptr;

  QAction* m_colorizeAct = nullptr;
  QAction* m_decolorizeAct = nullptr;
  QAction* m_chordInBracketsAct = nullptr;
  QAction* m_transposeAct = nullptr;
  QAction* m_quickTransposeAct = nullptr;
  QAction* m_transposeChordsAct = nullptr;
  QAction* m_transposeTabsAct = nullptr;

  QAction* m_findNextChordAct = nullptr;

  // The actions that exist only while a document is open.
  QList<QAction*> m_documentActions;
};
