#include "shell/RecentFileList.h"

#include <QDir>

#include "document/Profile.h"

namespace {

constexpr int kLongestShownPath = 60;

QString ValueName(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

void CRecentFileList::Load(const sonavel::CProfile& profile) {
  m_files.clear();
  for (int i = 0; i < kSize; ++i) {
    const QString path = QString::fromStdString(profile.GetString(kSection, ValueName(i).toStdString(), ""));
    if (!path.isEmpty() && !m_files.contains(path)) m_files << path;
  }
}

void CRecentFileList::Save(sonavel::CProfile& profile) const {
  for (int i = 0; i < kSize; ++i) {
    profile.WriteString(kSection, ValueName(i).toStdString(), m_files.value(i).toStdString());
  }
}

void CRecentFileList::Add(const QString& path) {
  m_files.removeAll(path);
  m_files.prepend(path);
  while (m_files.size() > kSize) m_files.removeLast();
}

void CRecentFileList::Remove(const QString& path) { m_files.removeAll(path); }

QString CRecentFileList::MenuText(int index) const {
  QString path = QDir::toNativeSeparators(m_files.value(index));
  const QString home = QDir::homePath() + u'/';
  if (path.startsWith(home)) path = QStringLiteral("~/") + path.mid(home.size());
  if (path.size() > kLongestShownPath) {
    const qsizetype keep = (kLongestShownPath - 3) / 2;
    path = path.left(keep) + QStringLiteral("...") + path.right(keep);
  }
  path.replace(u'&', QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}
