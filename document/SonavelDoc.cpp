#include "document/SonavelDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>

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
      m_text(new QTextDocument(this)) {}

CSonavelDoc::~CSonavelDoc() = default;

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
  std::string reason;
  if (!sonavel::ReadSongFile(ToFileSystemPath(path), file, reason)) {
    error = QString::fromStdString(reason);
    return false;
  }
  m_loading = true;
  m_text->setPlainText(QString::fromUtf8(file.text.data(), static_cast<qsizetype>(file.text.size())));
  m_loading = false;
  m_codePage = file.codePage;
  SetCurrentFile(path);
  emit loaded(ShouldColorizeOnOpen(file.text, sonavel::theSettings().autoColorOnOpen));
  m_text->clearUndoRedoStacks();
  m_text->setModified(false);
  return true;
}

bool CSonavelDoc::SaveFile(const QString& path, QString& error) {
  const std::string text = PlainText(*m_text).toStdString();
  sonavel::CodePage used = m_codePage;
  const std::string bytes = sonavel::EncodeForSave(text, m_codePage, &used);

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    error = file.errorString();
    return false;
  }
  // The file is now in this code page, and reopening it would find so.
  m_codePage = used;
  m_text->setModified(false);
  SetCurrentFile(path);
  return true;
}

void CSonavelDoc::SetCurrentFile(const QString& path) {
  const QFileInfo info(path);
  m_currentFile = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
  m_title = info.fileName();
  emit titleChanged(m_title);
}

bool CSonavelDoc::SaveWithMessage(const QString& path, QWidget* owner) {
  QString error;
  if (SaveFile(path, error)) return true;
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
