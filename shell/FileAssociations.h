#pragma once
// Registers the song file types with the desktop for the current user: one
// shared-mime-info type per class identifier, a desktop entry that opens and
// prints them with this program, the program's icons in the user's icon
// theme, and this program as each type's default. Only adds or overwrites
// the program's own files; never removes anything.

#include <QString>
#include <QStringList>
#include <array>

#include "res/StringTable.h"

namespace sonavel {

struct FileType {
  const char* extension;  // without the dot
  const char* classId;
  int descriptionId;      // string-table number
};

inline constexpr int kFileTypeCount = 4;
// In the order they are registered.
inline constexpr std::array<FileType, kFileTypeCount> kFileTypes = {{
    {"crd", "SonavelCrd", IDS_CRD_DOCUMENT},
    {"cho", "SonavelCho", IDS_CHO_DOCUMENT},
    {"chopro", "SonavelChopro", IDS_CHOPRO_DOCUMENT},
    {"tab", "SonavelTab", IDS_TAB_DOCUMENT},
}};

// Which of kFileTypes, by index.
using FileTypeSelection = std::array<bool, kFileTypeCount>;

// "text/x-sonavelcrd": the class identifier is the MIME type's name.
QString MimeTypeName(const FileType& type);

class CFileAssociations {
 public:
  static constexpr const char* kDesktopFileName = "sonavel.desktop";
  static constexpr const char* kProgramIconName = "sonavel";
  static constexpr const char* kDocumentIconName = "sonavel-document";

  // The running program, in the user's XDG data and configuration folders.
  CFileAssociations();
  // `dataHome` and `configHome` stand for $XDG_DATA_HOME and $XDG_CONFIG_HOME.
  CFileAssociations(QString program, QString dataHome, QString configHome);

  // Registers the chosen types in the order of kFileTypes. The MIME package
  // of each type is written first; when one cannot be written the types
  // after it are not attempted, while those before it are completed. Gives
  // false when anything the desktop needs to open the types with this
  // program failed. Nothing chosen writes nothing and gives true.
  bool Register(const FileTypeSelection& chosen) const;

  // Which types the desktop opens with this program now: its MIME package
  // is there, the desktop entry lists it and this program is its default.
  FileTypeSelection Registered() const;

  QString PackagePath(const FileType& type) const;
  QString DesktopEntryPath() const;
  QString MimeDirectory() const;

  // Contents of the files, as Register writes them.
  QByteArray PackageXml(const FileType& type) const;
  QByteArray DesktopEntry(const QStringList& mimeTypes) const;

 private:
  bool WriteDesktopEntry(const FileTypeSelection& done) const;
  bool InstallIcons() const;
  bool SetDefaults(const FileTypeSelection& done) const;
  bool RunTool(const QString& program, const QStringList& arguments) const;
  // The MIME types of this program's that the desktop entry lists now.
  QStringList ListedMimeTypes() const;
  // The first program mimeapps.list names as the type's default.
  QString DefaultDesktopFile(const QString& mimeType) const;

  QString m_program;
  QString m_dataHome;
  QString m_configHome;
};

}  // namespace sonavel
