#pragma once
// The window of one open song inside the main window: it holds the
// document and its one view, and asks about unsaved changes before it
// closes.

#include <QMdiSubWindow>
#include <memory>

class CDocManagerEx;
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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void UpdateTitle();
  void ReleaseTakenKeys();

  std::unique_ptr<CSonavelDoc> m_doc;
  CSonavelView* m_view;  // child widget, shows m_doc
  bool m_askBeforeClosing = true;
};
