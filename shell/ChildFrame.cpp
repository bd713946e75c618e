#include "shell/ChildFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMessageBox>
#include <QTextDocument>
#include <QVBoxLayout>

#include "document/SonavelDoc.h"
#include "document/StringTableText.h"
#include "view/FileChangedBar.h"
#include "view/SonavelView.h"

CChildFrame::CChildFrame(CDocManagerEx& docManager, QWidget* parent)
    : QMdiSubWindow(parent),
      m_doc(std::make_unique<CSonavelDoc>(docManager)),
      m_view(new CSonavelView(*m_doc)),
      m_changedBar(new CFileChangedBar) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_changedBar);
  layout->addWidget(m_view, 1);
  setWidget(content);
  setFocusProxy(m_view);
  connect(m_changedBar, &CFileChangedBar::reloadRequested, this, &CChildFrame::Reload);
  connect(m_changedBar, &CFileChangedBar::keepRequested, this, [this] {
    m_doc->IgnoreChangeOnDisk();
    m_changedBar->hide();
  });
  // Coming back from another program does not activate the window again.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive && mdiArea() != nullptr && mdiArea()->activeSubWindow() == this) {
      CheckFileOnDisk();
    }
  });
  ReleaseTakenKeys();
  connect(m_doc.get(), &CSonavelDoc::titleChanged, this, &CChildFrame::UpdateTitle);
  connect(m_doc->TextDocument(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
  UpdateTitle();
}

CChildFrame::~CChildFrame() {
  // The view shows the document's text, so it goes first.
  delete m_view;
}

void CChildFrame::ReleaseTakenKeys() {
  // Qt closes a document window on Ctrl+W and Ctrl+F4 itself; here Ctrl+W
  // is the word-wrap command and Ctrl+F4 the main window's Close, and two
  // owners of one key would leave it dead.
  const QKeySequence taken[] = {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)};
  for (QAction* action : actions()) {
    QList<QKeySequence> keys = action->shortcuts();
    qsizetype removed = 0;
    for (const QKeySequence& key : taken) removed += keys.removeAll(key);
    if (removed > 0) action->setShortcuts(keys);
  }
}

void CChildFrame::UpdateTitle() {
  setWindowTitle(m_doc->Title() + QStringLiteral("[*]"));
  setWindowModified(m_doc->IsModified());
}

void CChildFrame::ActivateFrame() {
  showMaximized();
  m_view->setFocus();
}

void CChildFrame::CloseWithoutAsking() {
  m_askBeforeClosing = false;
  close();
}

bool CChildFrame::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) CheckFileOnDisk();
  return QMdiSubWindow::event(event);
}

void CChildFrame::CheckFileOnDisk() {
  if (!m_doc->ChangedOnDisk()) return;
  m_changedBar->Offer(QDir::toNativeSeparators(m_doc->CurrentFile()), m_doc->IsModified());
}

void CChildFrame::Reload() {
  m_changedBar->hide();
  QString error;
  if (m_doc->LoadFile(m_doc->CurrentFile(), error)) return;
  QMessageBox::warning(this, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                       tr("Cannot reload %1:\n%2.").arg(QDir::toNativeSeparators(m_doc->CurrentFile()), error));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  // The question names this song, so it is on the screen while asked.
  if (m_askBeforeClosing && m_doc->IsModified() && mdiArea() != nullptr) mdiArea()->setActiveSubWindow(this);
  if (m_askBeforeClosing && !m_doc->MaybeSave(this)) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}
