#include "shell/DocManagerEx.h"

#include <QDir>
#include <QFileDialog>

#include "document/StringTableText.h"
#include "res/StringTable.h"
#include "shell/PathUtils.h"

namespace {

QString QtPatterns(const QString& patterns) {
  QStringList cleaned;
  for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (trimmed.isEmpty()) continue;
    cleaned << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
  }
  return cleaned.join(u' ');
}

}  // namespace

QStringList ToQtNameFilters(const QString& filters) {
  QString list = filters;
  list.remove(u'\n');
  list.remove(u'\r');
  const QStringList parts = list.split(u'|');
  QStringList result;
  // Pairs of description and patterns; the list ends at an empty description.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts.at(i).trimmed();
    if (description.isEmpty()) break;
    const QString patterns = QtPatterns(parts.at(i + 1));
    if (patterns.isEmpty()) continue;
    result << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return result;
}

bool CDocManagerEx::DoPromptFileName(QString& fileName, const QString& title, bool openDialog, QWidget* owner) {
  const QString filters = sonavel::StringTableText(openDialog ? sonavel::IDS_OPEN_FILTERS : sonavel::IDS_SAVE_FILTERS);
  const QString extension = sonavel::StringTableText(sonavel::IDS_DEFAULT_EXTENSION);
  return PromptForFile(fileName, openDialog, owner, fileName, filters, extension, title);
}

bool CDocManagerEx::PromptForFile(QString& result, bool openDialog, QWidget* owner, const QString& proposedName,
                                  const QString& filters, const QString& defaultExtension, const QString& title) {
  // Qt's own dialog: the same on every desktop, and testable without one.
  QFileDialog dialog(owner, title);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The list shows the descriptions only, as the string table words them.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (openDialog) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  }

  const QStringList nameFilters = ToQtNameFilters(filters);
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.first());
  }
  if (!defaultExtension.isEmpty()) dialog.setDefaultSuffix(defaultExtension);

  if (!proposedName.isEmpty()) {
    // A name without a directory (an unsaved document's title) leaves the
    // dialog in its own default directory.
    const QString directory = PathDirectory(proposedName);
    if (directory != proposedName && QDir(directory).exists()) dialog.setDirectory(directory);
    dialog.selectFile(PathFileName(proposedName));
  }

  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return false;
  result = chosen.first();
  return true;
}
