#include "shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <algorithm>

#include "document/SonavelDoc.h"
#include "document/StringTableText.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"
#include "shell/DocManagerEx.h"
#include "view/SonavelView.h"

namespace {

// Share of the screen a main window without a saved placement takes.
constexpr qreal kDefaultScreenShare = 0.75;

QAction* MakeAction(QObject* parent, const QString& text, const QList<QKeySequence>& keys,
                    const QString& statusTip, const QString& toolTip = QString()) {
  auto* action = new QAction(text, parent);
  action->setShortcuts(keys);
  action->setStatusTip(statusTip);
  if (!toolTip.isEmpty()) action->setToolTip(toolTip);
  return action;
}

}  // namespace

CMainFrame::CMainFrame(CDocManagerEx& docManager, QWidget* parent)
    : QMainWindow(parent), m_docManager(docManager), m_mdiArea(new QMdiArea(this)) {
  sonavel::BuildChordTable();

  m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdiArea);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateActions);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateWindowTitle);
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateActions);

  createActions();
  createMenus();
  createStatusBar();
  setDefaultPlacement();

  UpdateActions();
  UpdateWindowTitle();
}

CMainFrame::~CMainFrame() {
  // Widgets still emit signals while QWidget tears them down, after this
  // class's part is gone; nothing may reach its slots any more.
  disconnect(m_mdiArea, nullptr, this, nullptr);
  disconnect(QApplication::clipboard(), nullptr, this, nullptr);
  for (CChildFrame* child : Children()) {
    disconnect(child->View(), nullptr, this, nullptr);
    disconnect(&child->Document(), nullptr, this, nullptr);
    disconnect(child->Document().TextDocument(), nullptr, this, nullptr);
    disconnect(child, nullptr, this, nullptr);
  }
}

template <typename Slot>
void CMainFrame::ForwardToView(QAction* action, Slot slot) {
  connect(action, &QAction::triggered, this, [this, slot] {
    if (CSonavelView* view = ActiveView()) (view->*slot)();
  });
}

void CMainFrame::createActions() {
  createFileActions();
  createEditActions();
  createTransposeActions();
  createToolsActions();
}

void CMainFrame::createFileActions() {
  m_newAct = MakeAction(this, tr("&New"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, tr("Create a new document"),
                        tr("New"));
  connect(m_newAct, &QAction::triggered, this, &CMainFrame::OnFileNew);

  m_openAct = MakeAction(this, tr("&Open..."), {QKeySequence(Qt::CTRL | Qt::Key_O)},
                         tr("Open an existing document"), tr("Open"));
  connect(m_openAct, &QAction::triggered, this, &CMainFrame::OnFileOpen);

  m_closeAct = MakeAction(this, tr("&Close"), {}, tr("Close the active document"), tr("Close"));
  connect(m_closeAct, &QAction::triggered, this, &CMainFrame::OnFileClose);

  m_saveAct = MakeAction(this, tr("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, tr("Save the active document"),
                         tr("Save"));
  connect(m_saveAct, &QAction::triggered, this, &CMainFrame::OnFileSave);

  m_saveAsAct = MakeAction(this, tr("Save &As..."), {}, tr("Save the active document with a new name"),
                           tr("Save As"));
  connect(m_saveAsAct, &QAction::triggered, this, &CMainFrame::OnFileSaveAs);

  m_printAct = MakeAction(this, tr("&Print..."), {QKeySequence(Qt::CTRL | Qt::Key_P)},
                          tr("Print the active document"), tr("Print"));
  ForwardToView(m_printAct, &CSonavelView::OnFilePrint);

  m_printPreviewAct = MakeAction(this, tr("Print Pre&view"), {}, tr("Display full pages"), tr("Print Preview"));
  ForwardToView(m_printPreviewAct, &CSonavelView::OnFilePrintPreview);

  m_exitAct = MakeAction(this, tr("E&xit"), {}, tr("Quit the application; prompts to save documents"), tr("Exit"));
  connect(m_exitAct, &QAction::triggered, this, &QWidget::close);

  m_documentActions << m_closeAct << m_saveAct << m_saveAsAct << m_printAct << m_printPreviewAct;
}

void CMainFrame::createEditActions() {
  m_undoAct = MakeAction(this, tr("&Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
                         tr("Undo the last action"), tr("Undo"));
  ForwardToView(m_undoAct, &CSonavelView::OnEditUndo);

  m_redoAct = MakeAction(this, tr("&Redo"), {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                         tr("Redo the previously undone action"), tr("Redo"));
  ForwardToView(m_redoAct, &CSonavelView::OnEditRedo);

  m_cutAct = MakeAction(this, tr("Cu&t"), {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
                        tr("Cut the selection and put it on the Clipboard"), tr("Cut"));
  connect(m_cutAct, &QAction::triggered, this, [this] {
    if (CSonavelView* view = ActiveView()) view->cut();
  });

  m_copyAct = MakeAction(this, tr("&Copy"), {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
                         tr("Copy the selection and put it on the Clipboard"), tr("Copy"));
  connect(m_copyAct, &QAction::triggered, this, [this] {
    if (CSonavelView* view = ActiveView()) view->copy();
  });

  m_pasteAct = MakeAction(this, tr("&Paste"), {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
                          tr("Insert Clipboard contents"), tr("Paste"));
  connect(m_pasteAct, &QAction::triggered, this, [this] {
    if (CSonavelView* view = ActiveView()) view->paste();
  });

  m_selectAllAct = MakeAction(this, tr("Select A&ll"), {QKeySequence(Qt::CTRL | Qt::Key_A)},
                              tr("Select the entire document"), tr("Select All"));
  connect(m_selectAllAct, &QAction::triggered, this, [this] {
    if (CSonavelView* view = ActiveView()) view->selectAll();
  });

  m_wordWrapAct = MakeAction(this, tr("Word wrap", "menu item"), {QKeySequence(Qt::CTRL | Qt::Key_W)},
                             tr("Word wrap", "status bar prompt"), tr("Word wrap", "tooltip"));
  m_wordWrapAct->setCheckable(true);
  ForwardToView(m_wordWrapAct, &CSonavelView::OnWordWrap);

  m_documentActions << m_undoAct << m_redoAct << m_cutAct << m_copyAct << m_pasteAct << m_selectAllAct << m_wordWrapAct;
}

void CMainFrame::createTransposeActions() {
  m_colorizeAct = MakeAction(this, tr("&Colorize"), {QKeySequence(Qt::Key_F5)}, tr("Colorize chords and tablatures"),
                             tr("Colorize"));
  ForwardToView(m_colorizeAct, &CSonavelView::OnColorize);

  m_decolorizeAct = MakeAction(this, tr("&Decolorize"), {QKeySequence(Qt::SHIFT | Qt::Key_F5)},
                               tr("Make selected text black"), tr("Decolorize"));
  ForwardToView(m_decolorizeAct, &CSonavelView::OnDecolorize);

  m_chordInBracketsAct = MakeAction(
      this, tr("Chord in [brackets]"), {QKeySequence(Qt::Key_F8)},
      tr("If chords are written in brackets (like \"[Am]\") you could activate this to do better colorizing."),
      tr("Chords in brackets"));
  m_chordInBracketsAct->setCheckable(true);
  ForwardToView(m_chordInBracketsAct, &CSonavelView::OnChordInBrackets);

  m_transposeAct = MakeAction(this, tr("Transpose..."), {QKeySequence(Qt::Key_F7)},
                              tr("Show transpose settings and transpose"), tr("Transpose", "tooltip"));
  ForwardToView(m_transposeAct, &CSonavelView::OnTranspose);

  m_quickTransposeAct = MakeAction(this, tr("Quick Transpose"), {QKeySequence(Qt::SHIFT | Qt::Key_F7)},
                                   tr("Transpose again with latest settings"));
  ForwardToView(m_quickTransposeAct, &CSonavelView::OnQuickTranspose);

  m_transposeChordsAct = MakeAction(this, tr("Transpose chords", "menu item"), {},
                                    tr("Allows transposing of chords"), tr("Transpose chords", "tooltip"));
  m_transposeChordsAct->setCheckable(true);
  ForwardToView(m_transposeChordsAct, &CSonavelView::OnTransposeChords);

  m_transposeTabsAct = MakeAction(this, tr("Transpose tablatures", "menu item"), {},
                                  tr("Allows transposing of tablatures"), tr("Transpose tablatures", "tooltip"));
  m_transposeTabsAct->setCheckable(true);
  ForwardToView(m_transposeTabsAct, &CSonavelView::OnTransposeTabs);

  m_documentActions << m_colorizeAct << m_decolorizeAct << m_chordInBracketsAct << m_transposeAct
                    << m_quickTransposeAct << m_transposeChordsAct << m_transposeTabsAct;
}

void CMainFrame::createToolsActions() {
  m_findNextChordAct = MakeAction(this, tr("Find next chord"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
                                  tr("Find next chord and select it"));
  ForwardToView(m_findNextChordAct, &CSonavelView::OnFindNextChord);
  m_documentActions << m_findNextChordAct;
}

void CMainFrame::createMenus() {
  m_fileMenu = menuBar()->addMenu(tr("&File"));
  m_fileMenu->addAction(m_newAct);
  m_fileMenu->addAction(m_openAct);
  m_fileMenu->addAction(m_closeAct);
  m_fileMenu->addAction(m_saveAct);
  m_fileMenu->addAction(m_saveAsAct);
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(m_printAct);
  m_fileMenu->addAction(m_printPreviewAct);
  m_fileMenu->addSeparator();
  m_fileMenu->addAction(m_exitAct);

  m_editMenu = menuBar()->addMenu(tr("&Edit"));
  m_editMenu->addAction(m_undoAct);
  m_editMenu->addAction(m_redoAct);
  m_editMenu->addSeparator();
  m_editMenu->addAction(m_cutAct);
  m_editMenu->addAction(m_copyAct);
  m_editMenu->addAction(m_pasteAct);
  m_editMenu->addAction(m_selectAllAct);
  m_wordWrapSeparator = m_editMenu->addSeparator();
  m_editMenu->addAction(m_wordWrapAct);

  m_transposeMenu = menuBar()->addMenu(tr("&Transpose", "menu"));
  m_transposeMenu->addAction(m_colorizeAct);
  m_transposeMenu->addAction(m_decolorizeAct);
  m_transposeMenu->addSeparator();
  m_transposeMenu->addAction(m_chordInBracketsAct);
  m_transposeMenu->addSeparator();
  m_transposeMenu->addAction(m_transposeAct);
  m_transposeMenu->addAction(m_quickTransposeAct);
  m_transposeMenu->addSeparator();
  m_transposeMenu->addAction(m_transposeChordsAct);
  m_transposeMenu->addAction(m_transposeTabsAct);

  m_toolsMenu = menuBar()->addMenu(tr("T&ools"));
  m_toolsMenu->addAction(m_findNextChordAct);
}

void CMainFrame::createStatusBar() {
  m_idlePrompt = new QLabel(sonavel::StringTableText(sonavel::IDS_IDLE_PROMPT));
  statusBar()->addWidget(m_idlePrompt, 1);
}

void CMainFrame::setDefaultPlacement() {
  if (const QScreen* display = screen()) {
    const QRect available = display->availableGeometry();
    resize(available.size() * kDefaultScreenShare);
    move(available.center() - rect().center());
  }
}

void CMainFrame::ShowMessage(const QString& text) { statusBar()->showMessage(text); }

// The current window, also while another program has the focus (a drop from
// a file manager), when the area has no active one.
CChildFrame* CMainFrame::ActiveChild() const { return qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow()); }

CSonavelView* CMainFrame::ActiveView() const {
  const CChildFrame* child = ActiveChild();
  return child != nullptr ? child->View() : nullptr;
}

QList<CChildFrame*> CMainFrame::Children() const {
  QList<CChildFrame*> children;
  for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
    if (auto* child = qobject_cast<CChildFrame*>(window)) children << child;
  }
  return children;
}

CChildFrame* CMainFrame::FindChild(const QString& path) const {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  if (canonical.isEmpty()) return nullptr;
  for (CChildFrame* child : Children()) {
    if (child->Document().CurrentFile() == canonical) return child;
  }
  return nullptr;
}

CChildFrame* CMainFrame::CreateChild() {
  auto* child = new CChildFrame(m_docManager);
  CSonavelView* view = child->View();
  connect(view, &CSonavelView::statusMessage, this, &CMainFrame::ShowMessage);
  connect(view, &CSonavelView::commandStateChanged, this, &CMainFrame::UpdateActions);
  connect(view, &QTextEdit::copyAvailable, this, &CMainFrame::UpdateActions);
  // Bulk edits flip these many times; only the items' states follow them.
  connect(view, &QTextEdit::undoAvailable, this, [this, view](bool available) {
    if (view == ActiveView()) m_undoAct->setEnabled(available);
  });
  connect(view, &QTextEdit::redoAvailable, this, [this, view](bool available) {
    if (view == ActiveView()) m_redoAct->setEnabled(available);
  });
  connect(&child->Document(), &CSonavelDoc::titleChanged, this, &CMainFrame::UpdateWindowTitle);
  connect(child->Document().TextDocument(), &QTextDocument::modificationChanged, this,
          &CMainFrame::UpdateWindowTitle);
  return child;
}

void CMainFrame::AddChild(CChildFrame* child) {
  m_mdiArea->addSubWindow(child);
  // Restoring a maximised window puts back the title it found.
  connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateWindowTitle);
  child->ActivateFrame();
}

CChildFrame* CMainFrame::NewFile() {
  CChildFrame* child = CreateChild();
  child->Document().SetUntitled(++m_untitledCount);
  AddChild(child);
  child->View()->PrefillFromClipboard();
  return child;
}

CChildFrame* CMainFrame::OpenFile(const QString& path) {
  if (CChildFrame* open = FindChild(path)) {
    m_mdiArea->setActiveSubWindow(open);
    return open;
  }
  CChildFrame* child = CreateChild();
  QString error;
  if (!child->Document().LoadFile(path, error)) {
    delete child;
    QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                         tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(path), error));
    return nullptr;
  }
  AddChild(child);
  return child;
}

void CMainFrame::CloseAllDocuments() {
  for (CChildFrame* child : Children()) child->CloseWithoutAsking();
}

void CMainFrame::OnFileNew() { NewFile(); }

void CMainFrame::OnFileOpen() {
  QString fileName;
  if (m_docManager.DoPromptFileName(fileName, tr("Open"), true, this)) OpenFile(fileName);
}

void CMainFrame::OnFileClose() {
  if (CChildFrame* child = ActiveChild()) child->close();
}

void CMainFrame::OnFileSave() {
  if (CChildFrame* child = ActiveChild()) child->Document().Save(this);
}

void CMainFrame::OnFileSaveAs() {
  if (CChildFrame* child = ActiveChild()) child->Document().SaveAs(this);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Every document is asked about first, shown while it is asked about; a
  // cancel keeps them all open.
  for (CChildFrame* child : Children()) {
    if (child->Document().IsModified()) m_mdiArea->setActiveSubWindow(child);
    if (!child->Document().MaybeSave(this)) {
      event->ignore();
      return;
    }
  }
  CloseAllDocuments();
  event->accept();
}

void CMainFrame::UpdateWindowTitle() {
  const QString program = sonavel::StringTableText(sonavel::IDS_APP_TITLE);
  const CChildFrame* child = ActiveChild();
  if (child == nullptr) {
    setWindowTitle(program);
    setWindowModified(false);
    return;
  }
  // The song's part is the document window's own title with its [*] mark:
  // the document area then finds the title as it would make it for a
  // maximised window, and leaves it alone.
  setWindowTitle(tr("%1 - [%2]", "main window title: the program, then the song").arg(program, child->windowTitle()));
  setWindowModified(child->Document().IsModified());
}

void CMainFrame::UpdateActions() {
  const CSonavelView* view = ActiveView();
  const bool hasDocument = view != nullptr;
  // Without a document the menus are those of an empty main window.
  for (QAction* action : m_documentActions) action->setVisible(hasDocument);
  m_editMenu->menuAction()->setVisible(hasDocument);
  m_transposeMenu->menuAction()->setVisible(hasDocument);
  const QList<QAction*> tools = m_toolsMenu->actions();
  m_toolsMenu->menuAction()->setVisible(
      std::any_of(tools.begin(), tools.end(), [](const QAction* action) { return action->isVisible(); }));
  if (!hasDocument) return;

  const bool hasSelection = view->textCursor().hasSelection();
  m_undoAct->setEnabled(view->document()->isUndoAvailable());
  m_redoAct->setEnabled(view->document()->isRedoAvailable());
  m_cutAct->setEnabled(hasSelection);
  m_copyAct->setEnabled(hasSelection);
  m_pasteAct->setEnabled(view->canPaste());
  m_wordWrapAct->setChecked(view->IsWrapToWindow());
  m_chordInBracketsAct->setChecked(view->ChordInBrackets());
  m_quickTransposeAct->setEnabled(view->CanQuickTranspose());
  m_transposeChordsAct->setChecked(view->TransposeChords());
  m_transposeTabsAct->setChecked(view->TransposeTabs());
}
