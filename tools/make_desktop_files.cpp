// Writes the desktop entry and the shared-mime-info packages of an installed
// Sonavel: the same files the Associations dialog writes for one user, made
// by the same code, with the program named as it is found on the PATH.
//
// Usage: make_desktop_files DATA_DIR
// writes DATA_DIR/applications/sonavel.desktop and
// DATA_DIR/mime/packages/sonavel-EXTENSION.xml, one for each song type.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include "shell/FileAssociations.h"

namespace {

constexpr const char* kInstalledProgram = "sonavel";

// Written aside and renamed, so that a failed run leaves no half file.
bool WriteWholeFile(const QString& path, const QByteArray& contents) {
  QSaveFile file(path);
  const bool ok = QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
                  file.write(contents) == contents.size() && file.commit();
  if (!ok) QTextStream(stderr) << "make_desktop_files: cannot write " << path << ": " << file.errorString() << '\n';
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The Swedish texts come from the program's resources, which need the
  // application object.
  QCoreApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 2) {
    QTextStream(stderr) << "usage: make_desktop_files DATA_DIR\n";
    return 2;
  }
  const sonavel::CFileAssociations installed(QString::fromLatin1(kInstalledProgram), arguments.at(1), QString());
  // The installed program opens every song type.
  QStringList mimeTypes;
  for (const sonavel::FileType& type : sonavel::kFileTypes) {
    mimeTypes << sonavel::MimeTypeName(type);
    if (!WriteWholeFile(installed.PackagePath(type), installed.PackageXml(type))) return 1;
  }
  return WriteWholeFile(installed.DesktopEntryPath(), installed.DesktopEntry(mimeTypes)) ? 0 : 1;
}
