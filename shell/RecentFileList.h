#pragma once
// The last four song files opened or saved, newest first, kept in the
// profile section "Recent File List" as "File1" to "File4".

#include <QString>
#include <QStringList>

namespace sonavel {
class CProfile;
}

class CRecentFileList {
 public:
  static constexpr int kSize = 4;
  static constexpr const char* kSection = "Recent File List";

  void Load(const sonavel::CProfile& profile);
  void Save(sonavel::CProfile& profile) const;

  // Puts the file first; a file already listed moves up.
  void Add(const QString& path);
  void Remove(const QString& path);
  const QStringList& Files() const { return m_files; }

  // The menu item of entry `index`: its number as mnemonic and the path,
  // shortened in its middle when long, with "&" kept literal.
  QString MenuText(int index) const;

 private:
  QStringList m_files;
};
