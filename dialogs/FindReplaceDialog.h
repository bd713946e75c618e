#pragma once
// The Find and Replace dialog, as text editors have it: it stays open
// beside the song while the user finds, replaces, and finds again. In Find
// mode the replacing part is hidden.

#include <QDialog>

#include "dialogs/FindOptions.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CFindReplaceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFindReplaceDlg(QWidget* parent = nullptr);

  // Shows the dialog for finding or for replacing, with `what` to look for
  // (the selected text, when it is a short piece of one line).
  void Open(bool replacing, const QString& what);
  FindOptions Options() const;
  bool IsReplacing() const { return m_replacing; }

 signals:
  void findNext();
  void replace();
  void replaceAll();

 private:
  void UpdateButtons();

  bool m_replacing = false;
  QLineEdit* m_what;
  QLineEdit* m_replacement;
  QCheckBox* m_wholeWord;
  QCheckBox* m_matchCase;
  QCheckBox* m_wrapAround;
  QRadioButton* m_up;
  QRadioButton* m_down;
  QPushButton* m_findNext;
  QPushButton* m_replace;
  QPushButton* m_replaceAll;
  QWidget* m_replaceRow;
};
