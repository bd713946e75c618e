#include "shell/MainToolBar.h"

#include <QAction>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionToolBar>

#include "shell/CommandTable.h"
#include "shell/IconLibrary.h"

CMainToolBar::CMainToolBar(const QHash<int, QAction*>& actions, QWidget* parent)
    : QToolBar(tr("Toolbar"), parent), m_actions(actions) {
  setObjectName(QStringLiteral("Toolbar"));  // the name its saved state is found by
  setMovable(true);
  setFloatable(true);
  setAllowedAreas(Qt::AllToolBarAreas);
  setIconSize(QSize(16, 16));
  for (const int id : commands::Toolbar()) {
    if (id == commands::kSeparator) addSeparator();
    else addAction(m_actions.value(id));
  }
  PaintImages();
}

void CMainToolBar::PaintImages() {
  for (const int id : commands::Toolbar()) {
    const commands::Command* command = commands::Find(id);
    if (command != nullptr && command->icon != nullptr) {
      m_actions.value(id)->setIcon(icons::ToolbarIcon(QString::fromLatin1(command->icon), palette()));
    }
  }
}

void CMainToolBar::changeEvent(QEvent* event) {
  QToolBar::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    PaintImages();
    update();
  }
}

void CMainToolBar::paintEvent(QPaintEvent*) {
  // The area around the buttons and the gripper in the button colour,
  // in place of the style's own panel; the buttons paint themselves.
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  if (!isMovable()) return;
  QStyleOptionToolBar option;
  initStyleOption(&option);
  option.rect = style()->subElementRect(QStyle::SE_ToolBarHandle, &option, this);
  if (option.rect.isValid()) style()->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, this);
}
