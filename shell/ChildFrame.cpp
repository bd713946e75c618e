#include "shell/ChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QTextDocument>

#include "document/SonavelDoc.h"
#include "view/SonavelView.h"

CChildFrame::CChildFrame(CDocManagerEx& docManager, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::make_unique<CSonavelDoc>(docManager)), m_view(new CSonavelView(*m_doc)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(m_view);
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

void CChildFrame::closeEvent(QCloseEvent* event) {
  // The question names this song, so it is on the screen while asked.
  if (m_askBeforeClosing && m_doc->IsModified() && mdiArea() != nullptr) mdiArea()->setActiveSubWindow(this);
  if (m_askBeforeClosing && !m_doc->MaybeSave(this)) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}
