#pragma once
// The program's file dialogs: every Open, Save and Save As asks for a file
// name here, with the program's own file filters.

#include <QString>
#include <QStringList>

class QWidget;

class CDocManagerEx {
 public:
  virtual ~CDocManagerEx() = default;

  // Asks for a file to open (openDialog) or a name to save under, proposing
  // fileName. On true fileName holds the chosen path; on false (cancelled)
  // it is unchanged.
  virtual bool DoPromptFileName(QString& fileName, const QString& title, bool openDialog, QWidget* owner);

  // Shows the open or save dialog. proposedName is split into the starting
  // directory and the file name filled in; a name without a directory
  // starts in the dialog's default directory. filters is a string-table
  // filter list ("description|patterns|...||"); the first entry is
  // preselected. defaultExtension is added to a name typed without one.
  // Opening needs an existing file; saving over a file asks first.
  // Any argument but result may be empty.
  static bool PromptForFile(QString& result, bool openDialog, QWidget* owner, const QString& proposedName,
                            const QString& filters, const QString& defaultExtension, const QString& title);
};

// Turns a string-table filter list ("All music files|*.crd; *.cho;|...||")
// into Qt name filters ("All music files (*.crd *.cho)"), in order. "*.*"
// becomes "*": a file without an extension is a file too. The dialog shows
// the descriptions only, so "All files (*.*) (*)" reads "All files (*.*)".
QStringList ToQtNameFilters(const QString& filters);
