#pragma once
// The main window's toolbar: the commands of the command table's toolbar
// list with their own images, movable by its gripper and dockable on any
// side. Its margins and gripper show the palette's button colour, also
// after the palette changes, and its images follow the palette.

#include <QHash>
#include <QToolBar>

class CMainToolBar : public QToolBar {
  Q_OBJECT

 public:
  // actions: the program's actions by command identifier.
  CMainToolBar(const QHash<int, QAction*>& actions, QWidget* parent = nullptr);

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintImages();

  QHash<int, QAction*> m_actions;
};
