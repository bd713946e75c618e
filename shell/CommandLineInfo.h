#pragma once
// What the program was asked to do on its command line: the shell command
// and the file it names. Switches start with "/" or "-"; since a Linux path
// starts with "/" too, only the known switch names count as switches.

#include <QString>
#include <QStringList>

class CCommandLineInfo {
 public:
  enum class ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, Unregister };

  // Arguments without the program's own name.
  static CCommandLineInfo Parse(const QStringList& arguments);

  ShellCommand m_nShellCommand = ShellCommand::FileNew;
  // Started by the desktop (/dde): the file's request goes to the running
  // program.
  bool m_bDde = false;
  QString m_strFileName;
  QString m_strPrinterName;
  QString m_strDriverName;
  QString m_strPortName;
  // Arguments that meant nothing (unknown switches, surplus names).
  QStringList m_ignored;
};
