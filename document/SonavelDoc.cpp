#include "document/SonavelDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>
#include <new>

#include "document/RecoveryStore.h"
#include "document/Settings.h"
#include "document/StringTableText.h"
#include "document/TextFileWriter.h"
#include "shell/DocManagerEx.h"

namespace {

std::filesystem::path ToFileSystemPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Characters of UTF-8 text: every byte that does not continue a character.
long CountCharacters(std::string_view utf8) {
  return static_cast<long>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

CSonavelDoc::CSonavelDoc(CDocManagerEx& docManager, QObject* parent)
    : QObject(parent),
      m_docManager(docManager),
      m_options(sonavel::DocumentOptions::FromSettings(sonavel::theSettings())),
      m_text(new QTextDocument(this)) {
  m_recoveryTimer.setSingleShot(true);
  m_recoveryTimer.setInterval(kRecoveryDelay);
  connect(&m_recoveryTimer, &QTimer::timeout, this, &CSonavelDoc::WriteRecovery);
  // Each edit puts the write off, so that typing is not slowed by it.
  connect(m_text, &QTextDocument::contentsChanged, this, [this] {
    if (!m_loading) m_recoveryTimer.start();
  });
  // Saved, or undone back to what the file holds: nothing left to recover.
  connect(m_text, &QTextDocument::modificationChanged, this, [this](bool modified) {
    if (!modified) DiscardRecovery();
  });
}

// Closing a song, whether saved or its changes refused, leaves nothing to
// offer; only a crash skips this.
CSonavelDoc::~CSonavelDoc() { DiscardRecovery(); }

void CSonavelDoc::WriteRecovery() {
  if (!IsModified()) return;
  if (m_recoveryName.empty()) m_recoveryName = sonavel::RecoveryStore::NewName();
  sonavel::RecoveryEntry entry;
  entry.originalPath = QFile::encodeName(m_currentFile).toStdString();
  entry.title = m_title.toStdString();
  if (!IsUntitled()) entry.original = m_diskBytes;
  // A file whose bytes could not be read has nothing to compare with later.
  if (!IsUntitled() && !entry.original) entry.originalPath.clear();
  entry.text = PlainText(*m_text).toStdString();
  std::string error;
  if (sonavel::RecoveryStore(sonavel::RecoveryStore::DefaultFolder()).Write(m_recoveryName, entry, error)) {
    m_recoveryFailed = false;
  } else if (!m_recoveryFailed) {
    m_recoveryFailed = true;
    qWarning("Unsaved changes cannot be kept for recovery: %s", error.c_str());
  }
}

void CSonavelDoc::DiscardRecovery() {
  m_recoveryTimer.stop();
  if (m_recoveryName.empty()) return;
  sonavel::RecoveryStore(sonavel::RecoveryStore::DefaultFolder()).Remove(m_recoveryName);
  m_recoveryName.clear();
}

void CSonavelDoc::RestoreRecovered(const QString& text, const std::string& recoveryName) {
  DiscardRecovery();
  m_loading = true;
  m_text->setPlainText(text);
  m_loading = false;
  emit loaded(ShouldColorizeOnOpen(text.toStdString(), sonavel::theSettings().autoColorOnOpen));
  m_text->clearUndoRedoStacks();
  m_text->setModified(true);
  m_recoveryName = recoveryName;
}

void CSonavelDoc::SetUntitled(int number) {
  m_currentFile.clear();
  m_title = tr("Chord%1", "the name of a new song; %1 counts from 1").arg(number);
  emit titleChanged(m_title);
}

bool CSonavelDoc::IsModified() const { return m_text->isModified(); }

QString CSonavelDoc::PlainText(const QTextDocument& document) {
  QString text = document.toRawText();
  std::replace(text.begin(), text.end(), QChar(QChar::ParagraphSeparator), QChar(u'\n'));
  return text;
}

bool CSonavelDoc::ShouldColorizeOnOpen(std::string_view textAsRead, bool autoColorOnOpen) {
  return autoColorOnOpen && CountCharacters(textAsRead) < kAutoColorLimit;
}

bool CSonavelDoc::LoadFile(const QString& path, QString& error) {
  sonavel::SongFileText file;
  sonavel::ReadError failure;
  if (!sonavel::ReadSongFile(ToFileSystemPath(path), file, failure)) {
    const QLocale locale;
    switch (failure.kind) {
      case sonavel::ReadErrorKind::TooLarge:
        error = tr("The file is too large to open (%1; Sonavel opens files of up to %2)")
                    .arg(locale.formattedDataSize(static_cast<qint64>(failure.fileSize), 1, QLocale::DataSizeSIFormat),
                         locale.formattedDataSize(static_cast<qint64>(failure.limit), 1, QLocale::DataSizeSIFormat));
        break;
      case sonavel::ReadErrorKind::OutOfMemory: error = OutOfMemoryText(); break;
      case sonavel::ReadErrorKind::System: error = QString::fromStdString(failure.reason); break;
    }
    return false;
  }
  try {
    m_loading = true;
    m_text->setPlainText(QString::fromUtf8(file.text.data(), static_cast<qsizetype>(file.text.size())));
    m_loading = false;
    m_saveEncoding = file.saveEncoding;
    m_losses = file.losses;
    SetCurrentFile(path);
    RememberDiskState(file.fingerprint);
    // Colouring a large song may run out of memory as well.
    emit loaded(ShouldColorizeOnOpen(file.text, sonavel::theSettings().autoColorOnOpen));
  } catch (const std::bad_alloc&) {
    // Only this document fails; the others and their edits live on.
    m_loading = false;
    file.text = std::string();
    m_text->clear();
    m_text->clearUndoRedoStacks();
    m_text->setModified(false);
    m_losses = {};
    error = OutOfMemoryText();
    return false;
  }
  m_text->clearUndoRedoStacks();
  m_text->setModified(false);
  return true;
}

QString CSonavelDoc::OutOfMemoryText() { return tr("There is not enough memory to open it"); }

QString CSonavelDoc::LossesText() const {
  const QLocale locale;
  QStringList parts;
  if (m_losses.nulUnits != 0) {
    parts << tr("NUL bytes (%1), with the rest of their lines").arg(locale.toString(qulonglong{m_losses.nulUnits}));
  }
  if (m_losses.malformed != 0) {
    parts << tr("damaged characters (%1)").arg(locale.toString(qulonglong{m_losses.malformed}));
  }
  return parts.join(tr(" and ", "joins the kinds of bytes a file loses"));
}

bool CSonavelDoc::SaveFile(const QString& path, QString& error, const sonavel::FileFingerprint* expected) {
  const std::string text = PlainText(*m_text).toStdString();
  sonavel::SaveEncoding used = m_saveEncoding;
  const std::string bytes = sonavel::EncodeForSave(text, m_saveEncoding, &used);

  sonavel::WriteError failure;
  if (!sonavel::WriteFileSafely(ToFileSystemPath(path), bytes, failure, expected)) {
    switch (failure.kind) {
      case sonavel::WriteErrorKind::NotWritable:
        error = tr("The file is read-only, or you may not write to it");
        break;
      case sonavel::WriteErrorKind::ChangedOnDisk:
        error = tr("Another program has changed the file since it was opened");
        break;
      case sonavel::WriteErrorKind::System: error = QString::fromStdString(failure.reason); break;
    }
    return false;
  }
  // The file is now in this form, and reopening it would find so.
  m_saveEncoding = used;
  // A file saved over now holds what is shown; one saved elsewhere may not
  // be the file the losses were read from, so they go either way.
  m_losses = {};
  m_text->setModified(false);
  SetCurrentFile(path);
  RememberDiskState(sonavel::FingerprintOf(bytes));
  return true;
}

void CSonavelDoc::RememberDiskState(const sonavel::FileFingerprint& fingerprint) {
  m_diskBytes = fingerprint;
  m_diskStamp = sonavel::StampOf(ToFileSystemPath(m_currentFile));
}

bool CSonavelDoc::ChangedOnDisk() {
  if (IsUntitled() || !m_diskBytes) return false;
  const std::filesystem::path path = ToFileSystemPath(m_currentFile);
  const std::optional<sonavel::FileStamp> stamp = sonavel::StampOf(path);
  if (!stamp || stamp == m_diskStamp) return false;
  // A new stamp alone (touched, or rewritten with the same bytes) is no change.
  const std::optional<sonavel::FileFingerprint> bytes = sonavel::FingerprintFile(path);
  if (!bytes) return false;
  if (*bytes != *m_diskBytes) return true;
  m_diskStamp = stamp;
  return false;
}

void CSonavelDoc::IgnoreChangeOnDisk() { m_diskStamp = sonavel::StampOf(ToFileSystemPath(m_currentFile)); }

void CSonavelDoc::SetCurrentFile(const QString& path) {
  const QFileInfo info(path);
  m_currentFile = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
  m_title = info.fileName();
  emit titleChanged(m_title);
}

bool CSonavelDoc::MayReplaceLossyFile(const QString& path, QWidget* owner) {
  if (!m_losses.Any() || QFileInfo(path).canonicalFilePath() != m_currentFile) return true;
  QMessageBox box(QMessageBox::Warning, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                  tr("%1 holds bytes that cannot be kept: %2.\nReplace it with the text as shown, without them?")
                      .arg(QDir::toNativeSeparators(path), LossesText()),
                  QMessageBox::Yes | QMessageBox::No, owner);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

// Compared by content, as a program may keep the time or the size. The bytes
// found now are the ones the save may replace, so that a change made while
// the question is open is not lost either.
bool CSonavelDoc::MayReplaceChangedFile(const QString& path, QWidget* owner,
                                        std::optional<sonavel::FileFingerprint>& expected) {
  if (!m_diskBytes || QFileInfo(path).canonicalFilePath() != m_currentFile) return true;
  expected = sonavel::FingerprintFile(ToFileSystemPath(path));
  if (!expected || *expected == *m_diskBytes) return true;
  QMessageBox box(QMessageBox::Warning, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                  tr("%1 has been changed by another program since it was opened. Save anyway and replace those "
                     "changes?")
                      .arg(QDir::toNativeSeparators(path)),
                  QMessageBox::Yes | QMessageBox::No, owner);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

bool CSonavelDoc::SaveWithMessage(const QString& path, QWidget* owner) {
  if (!MayReplaceLossyFile(path, owner)) return false;
  std::optional<sonavel::FileFingerprint> expected;
  if (!MayReplaceChangedFile(path, owner, expected)) return false;
  QString error;
  if (SaveFile(path, error, expected ? &*expected : nullptr)) return true;
  QMessageBox::warning(owner, sonavel::StringTableText(sonavel::IDS_APP_TITLE),
                       tr("Cannot write file %1:\n%2.").arg(QDir::toNativeSeparators(path), error));
  return false;
}

bool CSonavelDoc::Save(QWidget* owner) {
  if (IsUntitled()) return SaveAs(owner);
  return SaveWithMessage(m_currentFile, owner);
}

bool CSonavelDoc::SaveAs(QWidget* owner) {
  QString fileName = IsUntitled()
                         ? m_title + QLatin1Char('.') + sonavel::StringTableText(sonavel::IDS_DEFAULT_EXTENSION)
                         : m_currentFile;
  if (!m_docManager.DoPromptFileName(fileName, tr("Save As"), false, owner)) return false;
  return SaveWithMessage(fileName, owner);
}

bool CSonavelDoc::MaybeSave(QWidget* owner) {
  if (!IsModified()) return true;
  const QMessageBox::StandardButton answer = QMessageBox::warning(
      owner, sonavel::StringTableText(sonavel::IDS_APP_TITLE), tr("Save changes to %1?").arg(m_title),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  switch (answer) {
    case QMessageBox::Yes:
      return Save(owner);
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}
