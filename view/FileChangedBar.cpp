#include "view/FileChangedBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

CFileChangedBar::CFileChangedBar(QWidget* parent)
    : QFrame(parent),
      m_message(new QLabel(this)),
      m_reload(new QPushButton(tr("&Reload"), this)),
      m_keep(new QPushButton(tr("&Keep This Version"), this)) {
  // Set apart from the text as a tool tip is, in whatever palette is in use.
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::ToolTipBase);
  setForegroundRole(QPalette::ToolTipText);
  m_message->setWordWrap(true);
  m_message->setForegroundRole(QPalette::ToolTipText);
  m_message->setTextFormat(Qt::PlainText);

  auto* icon = new QLabel(this);
  const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon);
  layout->addWidget(m_message, 1);
  layout->addWidget(m_reload);
  layout->addWidget(m_keep);

  connect(m_reload, &QPushButton::clicked, this, &CFileChangedBar::reloadRequested);
  connect(m_keep, &QPushButton::clicked, this, &CFileChangedBar::keepRequested);
  hide();
}

void CFileChangedBar::Offer(const QString& fileName, bool modified) {
  m_message->setText(modified ? tr("%1 has been changed by another program. Reloading it discards your changes.")
                                    .arg(fileName)
                              : tr("%1 has been changed by another program.").arg(fileName));
  show();
}

QString CFileChangedBar::Message() const { return m_message->text(); }
