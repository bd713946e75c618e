#pragma once

#include <QDialog>

class CHyperLink;

// The About box: the program's name and version, the maker's web page and
// mail address, and a link to the ReadMe file that ships with the program.
// OK, Enter, Escape and the close box all end it alike (rejected).
//
// Object names: "version", "linkWeb", "linkMail", "linkReadMe".
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  // The program's name and the version it was built as.
  static QString VersionText();
  // The ReadMe file of the interface's language where it is found, else
  // where it belongs: beside the program.
  static QString ReadMeTarget();

 private:
  CHyperLink* m_linkReadMe = nullptr;
  CHyperLink* m_linkWeb = nullptr;
  CHyperLink* m_linkMail = nullptr;
};
