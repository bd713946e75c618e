#pragma once
// The window of one open song inside the main window: it holds the
// document and its one view, asks about unsaved changes before it closes,
// and offers to reload its file when another program has changed it.

#include <QMdiSubWindow>
#include <memory>

class CDocManagerEx;
class CFileChangedBar;
class CSonavelDoc;
class CSonavelView;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  explicit CChildFrame(CDocManagerEx& docManager, QWidget* parent = nullptr);
  ~CChildFrame() override;

  CSonavelDoc& Document() const { return *m_doc; }
  CSonavelView* View() const { return m_view; }

  // Shows the window the way a new document window opens: maximised.
  void ActivateFrame();
  // Closes without the question about unsaved changes.
  void CloseWithoutAsking();

  // Shows the bar when the file has been changed by another program since
  // the song was read or saved; done whenever the window becomes active.
  void CheckFileOnDisk();
  CFileChangedBar* FileChangedBar() const { return m_changedBar; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void UpdateTitle();
  void ReleaseTakenKeys();
  void Reload();

  std::unique_ptr<CSonavelDoc> m_doc;
  CSonavelView* m_view;  // child widget, shows m_doc
  CFileChangedBar* m_changedBar;  // child widget, above m_view
  bool m_askBeforeClosing = true;
};
