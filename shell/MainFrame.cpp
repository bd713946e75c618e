#include "shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <algorithm>

#include "dialogs/AboutDlg.h"
#include "dialogs/AssocDialog.h"
#include "dialogs/FindReplaceDialog.h"
#include "document/Profile.h"
#include "dialogs/SettingsDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "document/StringTableText.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"
#include "shell/CommandTable.h"
#include "shell/DocManagerEx.h"
#include "shell/LockIndicators.h"
#include "shell/MainToolBar.h"
#include "shell/ProgramFiles.h"
#include "shell/WindowPlacement.h"
#include "view/SonavelView.h"
#include "view/TextSearch.h"

namespace {

// Share of the screen a main window without a saved placement takes.
constexpr qreal kDefaultScreenShare = 0.75;
constexpr const char* kBarSection = "Toolbar";

QString Translated(const char* context, const char* text) {
  return text != nullptr ? QCoreApplication::translate(context, text) : QString();
}

QList<QKeySequence> Keys(const char* keys) {
  QList<QKeySequence> list;
  for (const QString& key : QString::fromLatin1(keys).split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
    list << QKeySequence(key, QKeySequence::PortableText);
  }
  return list;
}

QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace

CMainFrame::CMainFrame(CDocManagerEx& docManager, QWidget* parent)
    : QMainWindow(parent), m_docManager(docManager), m_mdiArea(new QMdiArea(this)) {
  sonavel::BuildChordTable();

  m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_mdiArea);
  setAcceptDrops(true);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::RebuildMenus);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateActions);
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateWindowTitle);
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateActions);

  createActions();
  createMenus();
  createToolBar();
  createStatusBar();
  readSettings();
  qApp->installEventFilter(this);  // the quick exit sees the keys of every document window

  UpdateActions();
  UpdateWindowTitle();
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(this);
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

void CMainFrame::createActions() {
  for (const commands::Command& command : commands::All()) {
    auto* action = new QAction(Translated(commands::kTextContext, command.text), this);
    action->setShortcuts(Keys(command.keys));
    action->setStatusTip(Translated(commands::kPromptContext, command.prompt));
    action->setToolTip(command.tip ? Translated(commands::kTipContext, command.tip) : action->text().remove(u'&'));
    action->setCheckable(command.checkable);
    // A check mark says more in a menu than a pressed-in picture.
    action->setIconVisibleInMenu(!command.checkable);
    action->setData(command.id);
    connect(action, &QAction::triggered, this, [this, id = command.id] { OnCommand(id); });
    m_actions.insert(command.id, action);
  }
  for (int i = 0; i < CRecentFileList::kSize; ++i) {
    auto* action = new QAction(this);
    action->setStatusTip(Translated(commands::kPromptContext, commands::kRecentFilePrompt));
    connect(action, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
    m_recentFileActions << action;
  }
}

void CMainFrame::createMenus() { RebuildMenus(); }

// The menus of the command table for the state: with a song open, or none.
void CMainFrame::RebuildMenus() {
  const bool document = ActiveChild() != nullptr;
  if (m_menusBuilt && document == m_menusShowDocument) return;
  m_menusBuilt = true;
  m_menusShowDocument = document;
  menuBar()->clear();
  m_windowMenu = nullptr;
  for (const commands::MenuLayout& layout :
       document ? commands::MenusWithDocument() : commands::MenusWithoutDocument()) {
    QMenu* menu = menuBar()->addMenu(Translated(commands::kTextContext, layout.title));
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
      const int item = layout.items[i];
      if (item == commands::kSeparator) {
        menu->addSeparator();
      } else if (item == commands::kRecentFiles) {
        menu->addActions(m_recentFileActions);
        // The separator after the list goes with it when it is empty.
        if (m_recentFiles.Files().isEmpty() && i + 1 < layout.items.size() &&
            layout.items[i + 1] == commands::kSeparator) {
          ++i;
        }
      } else if (item == commands::kWindowList) {
        m_windowMenu = menu;
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowMenu);
      } else {
        menu->addAction(m_actions.value(item));
      }
    }
  }
}

void CMainFrame::createToolBar() {
  m_toolBar = new CMainToolBar(m_actions, this);
  addToolBar(Qt::TopToolBarArea, m_toolBar);
  m_actions.value(commands::kToolbar)->setChecked(true);
}

void CMainFrame::createStatusBar() {
  m_idlePrompt = new QLabel(sonavel::StringTableText(sonavel::IDS_IDLE_PROMPT));
  statusBar()->addWidget(m_idlePrompt, 1);
  m_indicators = new CLockIndicators(statusBar());
  statusBar()->addPermanentWidget(m_indicators);
  m_actions.value(commands::kStatusBar)->setChecked(true);
}

void CMainFrame::readSettings() {
  const sonavel::CProfile profile;
  const std::vector<std::uint8_t> bars = profile.GetBinary(kBarSection, "State");
  restoreState(QByteArray(reinterpret_cast<const char*>(bars.data()), static_cast<qsizetype>(bars.size())));
  statusBar()->setVisible(profile.GetInt(kBarSection, "StatusBar", 1) != 0);
  m_recentFiles.Load(profile);
}

void CMainFrame::writeSettings() {
  sonavel::CProfile profile;
  const QByteArray bars = saveState();
  profile.WriteBinary(kBarSection, "State", std::vector<std::uint8_t>(bars.begin(), bars.end()));
  profile.WriteInt(kBarSection, "StatusBar", statusBar()->isVisible() ? 1 : 0);
  CWindowPlacement::Save(profile, *this, ScreenFacts::OfThisDesktop());
}

void CMainFrame::ShowAsLastClosed() {
  const Placement placement = CWindowPlacement::Restore(sonavel::CProfile(), ScreenFacts::OfThisDesktop());
  if (placement.geometry) {
    setGeometry(*placement.geometry);
  } else if (const QScreen* display = screen()) {
    const QRect available = display->availableGeometry();
    resize(available.size() * kDefaultScreenShare);
    move(available.center() - rect().center());
  }
  if (placement.maximised.value_or(false)) showMaximized();
  else show();
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
  connect(view, &QPlainTextEdit::copyAvailable, this, &CMainFrame::UpdateActions);
  // Bulk edits flip these many times; only the items' states follow them.
  connect(view, &QPlainTextEdit::undoAvailable, this, [this, view](bool available) {
    if (view == ActiveView()) m_actions.value(commands::kUndo)->setEnabled(available);
  });
  connect(view, &QPlainTextEdit::redoAvailable, this, [this, view](bool available) {
    if (view == ActiveView()) m_actions.value(commands::kRedo)->setEnabled(available);
  });
  connect(&child->Document(), &CSonavelDoc::titleChanged, this, &CMainFrame::UpdateWindowTitle);
  connect(&child->Document(), &CSonavelDoc::titleChanged, this, [this, child] {
    if (!child->Document().IsUntitled()) RememberFile(child->Document().CurrentFile());
  });
  connect(child->Document().TextDocument(), &QTextDocument::modificationChanged, this,
          &CMainFrame::UpdateWindowTitle);
  // When the last window has gone, the menus for no song come back.
  connect(
      child, &QObject::destroyed, this,
      [this] {
        RebuildMenus();
        UpdateActions();
        UpdateWindowTitle();
      },
      Qt::QueuedConnection);
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
  // The window takes its place and size before the song comes in, so that
  // the view lays out only the lines it shows; nothing is drawn before the
  // song is in, or the window gone again.
  CChildFrame* child = CreateChild();
  AddChild(child);
  QString error;
  if (!child->Document().LoadFile(path, error)) {
    delete child;
    QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                         tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(path), error));
    return nullptr;
  }
  return child;
}

bool CMainFrame::PrintFile(const QString& path, const QString& printerName) {
  CChildFrame child(m_docManager);  // never shown
  QString error;
  if (!child.Document().LoadFile(path, error)) {
    ShowMessage(tr("Cannot read file %1:\n%2.").arg(QDir::toNativeSeparators(path), error));
    return false;
  }
  // The printer and page of Print Setup, unless the desktop names a printer.
  QPrinter printer(QPrinter::HighResolution);
  if (printerName.isEmpty()) {
    printer.setOutputFormat(m_printer.outputFormat());
    printer.setOutputFileName(m_printer.outputFileName());
    printer.setPrinterName(m_printer.printerName());
  } else {
    printer.setPrinterName(printerName);
  }
  printer.setPageLayout(m_printer.pageLayout());
  printer.setDocName(child.Document().Title());
  // Without a print system Qt prints to a PDF file, which needs a name.
  const bool toPrinter = printer.outputFormat() == QPrinter::NativeFormat &&
                         !QPrinterInfo::printerInfo(printer.printerName()).isNull();
  const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
  if (!(toPrinter || toFile) || !printer.isValid()) {
    ShowMessage(tr("No printer is ready to print %1.").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  child.View()->PrintTo(printer);
  return true;
}

void CMainFrame::CloseAllDocuments() {
  for (CChildFrame* child : Children()) child->CloseWithoutAsking();
}

void CMainFrame::RememberFile(const QString& path) {
  m_recentFiles.Add(path);
  sonavel::CProfile profile;
  m_recentFiles.Save(profile);
  UpdateActions();
}

void CMainFrame::OnCommand(int id) {
  using namespace commands;
  CSonavelView* view = ActiveView();
  CChildFrame* child = ActiveChild();
  switch (id) {
    case kNew: NewFile(); return;
    case kOpen: OnFileOpen(); return;
    case kPrintSetup: OnPrintSetup(); return;
    case kExit: close(); return;
    case kToolbar: m_toolBar->setVisible(!m_toolBar->isVisible()); UpdateActions(); return;
    case kStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); UpdateActions(); return;
    case kCascade: m_mdiArea->cascadeSubWindows(); return;
    case kTile: m_mdiArea->tileSubWindows(); return;
    case kNextWindow: m_mdiArea->activateNextSubWindow(); return;
    case kPreviousWindow: m_mdiArea->activatePreviousSubWindow(); return;
    case kSettings: CSettingsDlg::Run(this, RunAssociationsDialog); return;
    case kOpenReadMe: OpenReadMe(this); return;
    case kGuitarTuner: PlayGuitarTuner(this); return;
    case kAbout: CAboutDlg(this).exec(); return;
    default: break;
  }
  if (view == nullptr || child == nullptr) return;
  switch (id) {
    case kClose: child->close(); break;
    case kSave: child->Document().Save(this); break;
    case kSaveAs: child->Document().SaveAs(this); break;
    case kPrint: view->PrintWithDialog(m_printer); break;
    case kPrintDirect: view->PrintTo(m_printer); break;
    case kPrintPreview: view->PrintPreview(m_printer); break;
    case kUndo: view->OnEditUndo(); break;
    case kRedo: view->OnEditRedo(); break;
    case kCut: view->cut(); break;
    case kCopy: view->copy(); break;
    case kPaste: view->paste(); break;
    case kSelectAll: view->selectAll(); break;
    case kFind: OnFind(false); break;
    case kFindNext: OnFindNext(); break;
    case kReplace: OnFind(true); break;
    case kWordWrap: view->OnWordWrap(); break;
    case kColorize: view->OnColorize(); break;
    case kDecolorize: view->OnDecolorize(); break;
    case kChordInBrackets: view->OnChordInBrackets(); break;
    case kTranspose: view->OnTranspose(); break;
    case kQuickTranspose: view->OnQuickTranspose(); break;
    case kTransposeChords: view->OnTransposeChords(); break;
    case kTransposeTabs: view->OnTransposeTabs(); break;
    case kFindNextChord: view->OnFindNextChord(); break;
    case kArrangeIcons: {
      // Minimised windows in a row along the bottom of the area.
      int x = 0;
      for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (!window->isMinimized()) continue;
        window->move(x, m_mdiArea->viewport()->height() - window->height());
        x += window->width();
      }
      break;
    }
    default: break;
  }
  UpdateActions();
}

void CMainFrame::OnFileOpen() {
  QString fileName;
  if (m_docManager.DoPromptFileName(fileName, tr("Open"), true, this)) OpenFile(fileName);
}

void CMainFrame::OnRecentFile(int index) {
  const QString path = m_recentFiles.Files().value(index);
  if (path.isEmpty()) return;
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                         tr("%1 was not found. It is removed from the list of recent files.")
                             .arg(QDir::toNativeSeparators(path)));
    m_recentFiles.Remove(path);
    sonavel::CProfile profile;
    m_recentFiles.Save(profile);
    UpdateActions();
    return;
  }
  OpenFile(path);
}

void CMainFrame::OnPrintSetup() {
  // The page set-up of the printer that Print and the print requests use.
  QPageSetupDialog dialog(&m_printer, this);
  dialog.exec();
}

void CMainFrame::OnFind(bool replacing) {
  if (m_findDialog == nullptr) {
    m_findDialog = new CFindReplaceDlg(this);
    connect(m_findDialog, &CFindReplaceDlg::findNext, this, &CMainFrame::OnFindNext);
    connect(m_findDialog, &CFindReplaceDlg::replace, this, &CMainFrame::OnReplace);
    connect(m_findDialog, &CFindReplaceDlg::replaceAll, this, &CMainFrame::OnReplaceAll);
  }
  // A short selection within one line is what the user wants to find.
  QString selected = ActiveView() ? ActiveView()->textCursor().selectedText() : QString();
  if (selected.contains(QChar::ParagraphSeparator) || selected.size() > 100) selected.clear();
  m_findDialog->Open(replacing, selected);
}

// The dialog's fields hold the search, also after it was closed.
FindOptions CMainFrame::Search() const { return m_findDialog != nullptr ? m_findDialog->Options() : FindOptions{}; }

void CMainFrame::OnFindNext() {
  CSonavelView* view = ActiveView();
  const FindOptions search = Search();
  if (search.what.isEmpty()) {
    OnFind(false);
    return;
  }
  if (view != nullptr && !CTextSearch::FindNext(*view, search)) ReportNotFound(search);
}

void CMainFrame::OnReplace() {
  CSonavelView* view = ActiveView();
  if (view != nullptr && !CTextSearch::Replace(*view, Search())) ReportNotFound(Search());
}

void CMainFrame::OnReplaceAll() {
  CSonavelView* view = ActiveView();
  if (view == nullptr) return;
  const int count = CTextSearch::ReplaceAll(*view, Search());
  ShowMessage(tr("%n occurrence(s) replaced.", "Replace All", count));
}

void CMainFrame::ReportNotFound(const FindOptions& search) {
  QApplication::beep();
  ShowMessage(tr("Cannot find \"%1\".").arg(search.what));
}

void CMainFrame::UpdateWindowMenu() {
  if (m_windowMenu == nullptr) return;
  qDeleteAll(m_windowListActions);
  m_windowListActions.clear();
  const QList<CChildFrame*> children = Children();
  if (!children.isEmpty()) m_windowListActions << m_windowMenu->addSeparator();
  for (int i = 0; i < children.size(); ++i) {
    CChildFrame* child = children[i];
    QString title = child->Document().Title();
    auto* action = m_windowMenu->addAction(
        (i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QString()) + title.replace(u'&', QStringLiteral("&&")));
    action->setCheckable(true);
    action->setChecked(child == ActiveChild());
    action->setStatusTip(Translated(commands::kPromptContext, commands::kWindowListPrompt));
    connect(action, &QAction::triggered, this, [this, child] { m_mdiArea->setActiveSubWindow(child); });
    m_windowListActions << action;
  }
}

void CMainFrame::ExecuteRequests(const QList<ShellRequest>& requests) {
  for (const ShellRequest& request : requests) {
    const QString& file = request.arguments.front();
    switch (request.verb) {
      case ShellRequest::Verb::Open: OpenFile(file); break;
      case ShellRequest::Verb::Print: PrintFile(file); break;
      case ShellRequest::Verb::PrintTo: PrintFile(file, request.arguments.value(1)); break;
    }
  }
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  for (const QString& file : files) OpenFile(file);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // Escape closes the program when the settings ask for it, from the main
  // window or a song's; a dialog keeps its own Escape.
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier && sonavel::theSettings().quickExit) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this && QApplication::activeModalWidget() == nullptr) {
      close();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Written on every close request, also one the user then cancels.
  writeSettings();
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
  if (m_findDialog != nullptr) m_findDialog->close();
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
  using namespace commands;
  const CSonavelView* view = ActiveView();
  const bool document = view != nullptr;
  for (const Command& command : All()) {
    if (!command.withoutDocument) m_actions.value(command.id)->setEnabled(document);
  }
  for (int i = 0; i < m_recentFileActions.size(); ++i) {
    m_recentFileActions[i]->setVisible(i < m_recentFiles.Files().size());
    m_recentFileActions[i]->setText(m_recentFiles.MenuText(i));
  }
  m_actions.value(kToolbar)->setChecked(m_toolBar->isVisibleTo(this));
  m_actions.value(kStatusBar)->setChecked(statusBar()->isVisibleTo(this));
  if (!document) return;

  const bool selection = view->textCursor().hasSelection();
  m_actions.value(kUndo)->setEnabled(view->document()->isUndoAvailable());
  m_actions.value(kRedo)->setEnabled(view->document()->isRedoAvailable());
  m_actions.value(kCut)->setEnabled(selection);
  m_actions.value(kCopy)->setEnabled(selection);
  m_actions.value(kPaste)->setEnabled(view->canPaste());
  m_actions.value(kWordWrap)->setChecked(view->IsWrapToWindow());
  m_actions.value(kChordInBrackets)->setChecked(view->ChordInBrackets());
  m_actions.value(kQuickTranspose)->setEnabled(view->CanQuickTranspose());
  m_actions.value(kTransposeChords)->setChecked(view->TransposeChords());
  m_actions.value(kTransposeTabs)->setChecked(view->TransposeTabs());
  const bool several = Children().size() > 1;
  m_actions.value(kNextWindow)->setEnabled(several);
  m_actions.value(kPreviousWindow)->setEnabled(several);
}
