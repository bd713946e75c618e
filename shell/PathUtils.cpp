#include "shell/PathUtils.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "document/StringTableText.h"
#include "shell/DesktopLaunch.h"

#ifndef SONAVEL_DATA_DIR
#define SONAVEL_DATA_DIR "/usr/local/share/sonavel"
#endif

namespace {

qsizetype LastSeparator(const QString& path) {
  const qsizetype backslash = path.lastIndexOf(u'\\');
  return backslash >= 0 ? backslash : path.lastIndexOf(u'/');
}

QString WithTrailingSlash(QString directory) {
  if (!directory.endsWith(u'/')) directory += u'/';
  return directory;
}

}  // namespace

QString ProgramPath(bool directoryOnly) {
  const QString path = QCoreApplication::applicationFilePath();
  if (!directoryOnly) return path;
  return path.left(path.lastIndexOf(u'/') + 1);
}

QString PathFileName(const QString& path) {
  const qsizetype separator = LastSeparator(path);
  return separator < 0 ? path : path.mid(separator + 1);
}

QString PathDirectory(const QString& path) {
  const qsizetype separator = LastSeparator(path);
  return separator < 0 ? path : path.left(separator + 1);
}

QStringList ProgramFileDirectories() {
  return {ProgramPath(true), WithTrailingSlash(QStringLiteral(SONAVEL_DATA_DIR))};
}

QString FindProgramFile(const QString& name) {
  if (name.isEmpty()) return {};
  // Names in the string table may be written with Windows separators.
  QString relative = name;
  relative.replace(u'\\', u'/');
  for (const QString& directory : ProgramFileDirectories()) {
    const QFileInfo candidate(directory + relative);
    if (candidate.isFile()) return candidate.absoluteFilePath();
  }
  return {};
}

bool OpenProgramFile(const QString& name) {
  const QString path = FindProgramFile(name);
  return !path.isEmpty() && desktop::Open(path) > 32;
}

bool OpenProgramFileFromString(int stringId) { return OpenProgramFile(sonavel::StringTableText(stringId)); }
