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
  ReleaseWordWrapKey();
  connect(m_doc.get(), &CSonavelDoc::titleChanged, this, &CChildFrame::UpdateTitle);
  connect(m_doc->TextDocument(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
  UpdateTitle();
}

CChildFrame::~CChildFrame() {
  // The view shows the document's text, so it goes first.
  delete m_view;
}

void CChildFrame::ReleaseWordWrapKey() {
  // Qt closes a document window on Ctrl+W as well as Ctrl+F4; here Ctrl+W
  // is the word-wrap command, and two owners of one key would leave it dead.
  const QKeySequence wordWrapKey(Qt::CTRL | Qt::Key_W);
  for (QAction* action : actions()) {
    QList<QKeySequence> keys = action->shortcuts();
    if (keys.removeAll(wordWrapKey) > 0) action->setShortcuts(keys);
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
