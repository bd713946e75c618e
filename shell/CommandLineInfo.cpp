#include "shell/CommandLineInfo.h"

namespace {

bool IsSwitchPrefix(QChar c) { return c == u'/' || c == u'-'; }

}  // namespace

CCommandLineInfo CCommandLineInfo::Parse(const QStringList& arguments) {
  CCommandLineInfo info;
  bool printTo = false;
  QStringList names;
  for (const QString& argument : arguments) {
    const QString name = argument.size() > 1 && IsSwitchPrefix(argument.front()) ? argument.mid(1).toLower() : QString();
    if (name == QLatin1String("p")) {
      info.m_nShellCommand = ShellCommand::FilePrint;
    } else if (name == QLatin1String("pt")) {
      printTo = true;
      info.m_nShellCommand = ShellCommand::FilePrintTo;
    } else if (name == QLatin1String("dde")) {
      info.m_bDde = true;
      if (info.m_nShellCommand == ShellCommand::FileNew) info.m_nShellCommand = ShellCommand::FileDDE;
    } else if (name == QLatin1String("unregister") || name == QLatin1String("unregserver")) {
      info.m_nShellCommand = ShellCommand::Unregister;
    } else if (name == QLatin1String("embedding") || name == QLatin1String("automation")) {
      // Nothing to do: the program embeds nothing.
    } else if (argument.startsWith(u'-') && argument.size() > 1) {
      info.m_ignored << argument;
    } else {
      names << argument;
    }
  }
  if (!names.isEmpty()) {
    info.m_strFileName = names.takeFirst();
    if (info.m_nShellCommand == ShellCommand::FileNew || info.m_nShellCommand == ShellCommand::FileDDE) {
      info.m_nShellCommand = ShellCommand::FileOpen;
    }
  }
  if (printTo && !names.isEmpty()) info.m_strPrinterName = names.takeFirst();
  if (printTo && !names.isEmpty()) info.m_strDriverName = names.takeFirst();
  if (printTo && !names.isEmpty()) info.m_strPortName = names.takeFirst();
  info.m_ignored << names;
  return info;
}
