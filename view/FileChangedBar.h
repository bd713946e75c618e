#pragma once
// The bar above a song's text that says its file has been changed by another
// program, and offers to read it again or to keep the text as it is. It
// does not block: the user may go on editing and answer later.

#include <QFrame>

class QLabel;
class QPushButton;

class CFileChangedBar : public QFrame {
  Q_OBJECT

 public:
  explicit CFileChangedBar(QWidget* parent = nullptr);

  // Shows the bar for the file named `fileName`; `modified` says whether
  // reloading would discard unsaved changes, which the message then warns of.
  void Offer(const QString& fileName, bool modified);

  QString Message() const;
  QPushButton* ReloadButton() const { return m_reload; }
  QPushButton* KeepButton() const { return m_keep; }

 signals:
  void reloadRequested();
  void keepRequested();

 private:
  QLabel* m_message;
  QPushButton* m_reload;
  QPushButton* m_keep;
};
