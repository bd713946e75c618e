#pragma once
// One open song: its text (with the colours colorizing gave it), its file,
// the code page it is saved in, and the document's own copy of the options.
// It owns what a user expects of a document: the untitled name, the
// modified flag, the question about unsaved changes and asking for a name
// when a new song is saved.

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "document/DocumentOptions.h"
#include "document/FileFingerprint.h"
#include "document/TextFileReader.h"

class CDocManagerEx;
class QTextDocument;
class QWidget;

class CSonavelDoc : public QObject {
  Q_OBJECT

 public:
  // A file whose text, as read, has fewer characters than this (a CR LF
  // counting as two) is colorized on opening when the settings ask for it.
  static constexpr long kAutoColorLimit = 20000;

  // Takes its copy of the options from the program-wide settings now.
  explicit CSonavelDoc(CDocManagerEx& docManager, QObject* parent = nullptr);
  ~CSonavelDoc() override;

  sonavel::DocumentOptions& Options() { return m_options; }
  const sonavel::DocumentOptions& Options() const { return m_options; }
  QTextDocument* TextDocument() const { return m_text; }

  // A new song, named by its number ("Chord1").
  void SetUntitled(int number);

  // Reads a song file into the text. False, with the reason in `error` and
  // the document empty, when the file cannot be read, is too large to hold,
  // or memory runs out while it is read or coloured.
  bool LoadFile(const QString& path, QString& error);
  // Writes the text to `path` in one piece. False, with the reason in
  // `error` and the file on disk as it was, when that fails, when the user
  // may not write the file, or when `expected` is given and the file no
  // longer holds those bytes.
  bool SaveFile(const QString& path, QString& error, const sonavel::FileFingerprint* expected = nullptr);

  // Whether another program has changed the file since the document read or
  // saved it. Cheap while the file's stamp is unchanged.
  bool ChangedOnDisk();
  // The user keeps the document's text: the file as it is now no longer
  // counts as changed here, though saving over it still asks.
  void IgnoreChangeOnDisk();

  // The File menu's Save and Save As: ask for a name where needed, save and
  // report a failure. False when cancelled or failed.
  bool Save(QWidget* owner);
  bool SaveAs(QWidget* owner);
  // Before the document closes: asks whether to save unsaved changes. False
  // when the user cancels (or the save fails), so the document stays open.
  bool MaybeSave(QWidget* owner);

  // Unsaved changes go to a recovery file this long after the last edit;
  // the file goes when the song is saved, closed or back as it was read.
  static constexpr std::chrono::milliseconds kRecoveryDelay{3000};
  void SetRecoveryDelay(std::chrono::milliseconds delay) { m_recoveryTimer.setInterval(delay); }
  // The recovery file's name in the store; empty while there is none.
  const std::string& RecoveryName() const { return m_recoveryName; }
  // Shows the text a crash left behind in place of the document's, as an
  // unsaved change, and keeps its recovery file as this document's own.
  void RestoreRecovered(const QString& text, const std::string& recoveryName);

  // "Chord1" or the file's name.
  QString Title() const { return m_title; }
  // The file's full path; empty for a song never saved.
  QString CurrentFile() const { return m_currentFile; }
  bool IsUntitled() const { return m_currentFile.isEmpty(); }
  bool IsModified() const;
  // True while a file's text replaces the document's, which is no edit.
  bool IsLoading() const { return m_loading; }
  // What reading the file could not keep; saving over it asks first.
  const sonavel::ReadLosses& Losses() const { return m_losses; }
  // The losses in words ("NUL bytes (3) with the rest of their lines"), for
  // the notice on opening and the question on saving.
  QString LossesText() const;
  // The form the next save keeps: the one the file was read in.
  sonavel::SaveEncoding EncodingToSave() const { return m_saveEncoding; }

  // The text with LF between paragraphs and every character kept (unlike
  // QTextDocument::toPlainText(), which turns a no-break space into a space).
  static QString PlainText(const QTextDocument& document);
  // Whether a file's text as read is short enough to colorize on opening.
  static bool ShouldColorizeOnOpen(std::string_view textAsRead, bool autoColorOnOpen);

 signals:
  void titleChanged(const QString& title);
  // A file's text replaced the document's; colorize says whether the
  // settings want it coloured. Whatever the view does with it is part of
  // opening the file: nothing of it is left to undo.
  void loaded(bool colorize);

 private:
  bool SaveWithMessage(const QString& path, QWidget* owner);
  bool MayReplaceLossyFile(const QString& path, QWidget* owner);
  bool MayReplaceChangedFile(const QString& path, QWidget* owner,
                             std::optional<sonavel::FileFingerprint>& expected);
  void RememberDiskState(const sonavel::FileFingerprint& fingerprint);
  void SetCurrentFile(const QString& path);
  static QString OutOfMemoryText();
  void WriteRecovery();
  void DiscardRecovery();

  CDocManagerEx& m_docManager;
  sonavel::DocumentOptions m_options;
  QTextDocument* m_text;  // child of this document
  QString m_title;
  QString m_currentFile;
  sonavel::SaveEncoding m_saveEncoding = sonavel::SaveEncoding::Utf8;
  bool m_loading = false;
  sonavel::ReadLosses m_losses;
  // The bytes last read from or written to m_currentFile, and the file's
  // stamp then.
  std::optional<sonavel::FileFingerprint> m_diskBytes;
  std::optional<sonavel::FileStamp> m_diskStamp;
  QTimer m_recoveryTimer;
  std::string m_recoveryName;
  bool m_recoveryFailed = false;  // said once, not at every edit
};
