// Songs opened and saved through the document and the main window: every
// character comes back, saving is all or nothing, the colouring limit, new
// songs' names and the clipboard's text in a new song.

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <new>

#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "shell/ChildFrame.h"
#include "shell/StartUp.h"
#include "view/FileChangedBar.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TempFiles.h"

namespace sonavel {
namespace {

class DocumentTest : public test::MainWindowTest {
 protected:
  QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(DocumentTest, OpenedAndSavedEveryCharacterComesBackWithCrLf) {
  const struct {
    std::string bytes, saved;
    SaveEncoding kept;
  } rows[] = {
      {"Caf\xE9 Am\r\nG\x92s \x85\r\n", "Caf\xE9 Am\r\nG\x92s \x85\r\n", SaveEncoding::Windows1252},
      {"C\xC2\xA0G \xF0\x9F\x8E\xB8\nA\rB", "C\xC2\xA0G \xF0\x9F\x8E\xB8\r\nA\r\nB", SaveEncoding::Utf8},
      {std::string("\xFF\xFE" "A\0m\0 \0\x3C\xD8\xB8\xDF\n\0", 14),
       std::string("\xFF\xFE" "A\0m\0 \0\x3C\xD8\xB8\xDF\r\0\n\0", 16), SaveEncoding::Utf16LittleEndian},
      {"\xEF\xBB\xBF\xC3\xA5\n", "\xEF\xBB\xBF\xC3\xA5\r\n", SaveEncoding::Utf8WithMark},
  };
  for (const auto& row : rows) {
    CSonavelDoc doc(m_docManager);
    QString error;
    EXPECT_TRUE(doc.LoadFile(WriteSong("in.crd", row.bytes), error)) << error.toStdString();
    EXPECT_EQ(doc.EncodingToSave(), row.kept);
    EXPECT_TRUE(doc.SaveFile(PathOf("out.crd"), error)) << error.toStdString();
    EXPECT_EQ(test::ReadFile(PathOf("out.crd").toStdString()), row.saved);
  }
}

TEST_F(DocumentTest, AFailedSaveOrLoadLeavesFilesAndDocumentAsTheyWere) {
  CSonavelDoc doc(m_docManager);
  QString error;
  ASSERT_TRUE(doc.LoadFile(WriteSong("song.crd", "old\r\n"), error));
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("new "));
  const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
  EXPECT_FALSE(doc.SaveFile(m_dir.path(), error));  // over a folder
  EXPECT_FALSE(doc.LoadFile(PathOf("missing.crd"), error));
  EXPECT_FALSE(doc.LoadFile(m_dir.path(), error));
  QFile::setPermissions(PathOf("song.crd"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_FALSE(doc.SaveFile(PathOf("song.crd"), error));
  EXPECT_EQ(error, QStringLiteral("The file is read-only, or you may not write to it"));
  EXPECT_EQ(test::ReadFile(PathOf("song.crd").toStdString()), "old\r\n");
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), files) << "no temporary file is left behind";
  EXPECT_EQ(CSonavelDoc::PlainText(*doc.TextDocument()), QStringLiteral("new old\n"));
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, ANewSongIsSavedUnderANameTheUserGives) {
  CSonavelDoc doc(m_docManager);
  doc.SetUntitled(1);
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("G"));
  EXPECT_FALSE(doc.Save(nullptr)) << "cancelled";
  EXPECT_EQ(m_docManager.proposed, QStringLiteral("Chord1.crd"));
  EXPECT_TRUE(doc.IsUntitled() && doc.IsModified());
  m_docManager.answer = PathOf("mine.crd");
  EXPECT_TRUE(doc.Save(nullptr));
  EXPECT_EQ(doc.Title(), QStringLiteral("mine.crd"));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(test::ReadFile(m_docManager.answer.toStdString()), "G");
  EXPECT_TRUE(doc.SaveAs(nullptr));
  EXPECT_EQ(m_docManager.proposed, doc.CurrentFile());
}

// A text of `characters` characters (a CR LF counts two, é one) that
// starts with a chord.
std::string TextOfLength(long characters, const char* filler) {
  std::string text = "Am\r\n";
  for (long count = 4; count < characters; ++count) {
    const bool lineEnd = count % 61 == 60 && count + 2 <= characters;
    text += lineEnd ? "\r\n" : filler;
    count += lineEnd ? 1 : 0;
  }
  return text;
}

TEST_F(DocumentTest, OpeningColoursSongsBelowTwentyThousandCharacters) {
  const struct {
    long characters;
    const char* filler;
    bool setting, coloured;
  } rows[] = {
      {19999, "e", true, true}, {20000, "e", true, false}, {19999, "\xC3\xA9", true, true}, {10, "e", false, false},
  };
  for (const auto& row : rows) {
    theSettings().autoColorOnOpen = row.setting;
    ASSERT_NE(Open(TextOfLength(row.characters, row.filler)), nullptr);
    EXPECT_EQ(Mask().substr(0, 2) == "cc", row.coloured) << row.characters << " " << row.filler;
    EXPECT_FALSE(View()->Document().IsModified());
    EXPECT_FALSE(View()->document()->isUndoAvailable()) << "opening leaves nothing to undo";
  }
}

TEST_F(DocumentTest, ANewSongTakesClipboardTextOfNineTo16383Characters) {
  theSettings().autoColor = true;
  for (const auto& [length, filled] : {std::pair{8, false}, {9, true}, {16383, true}, {16384, false}}) {
    std::string text = "Am G " + std::string(static_cast<std::size_t>(length), 'x');
    text.resize(static_cast<std::size_t>(length));
    QApplication::clipboard()->setText(QString::fromStdString(text));
    m_frame->NewFile();
    EXPECT_EQ(Text(), filled ? text : "") << length;
    if (!filled) continue;
    EXPECT_EQ(Mask().substr(0, 5), "cc.c.");
    View()->OnEditUndo();  // the text and its colours are one step
    EXPECT_EQ(Text(), "");
    EXPECT_FALSE(View()->Document().IsModified());
  }
}

// What it says of a file it cannot open is in the start-up table.
TEST_F(DocumentTest, TheMainWindowOpensEachFileOnce) {
  CChildFrame* first = m_frame->OpenFile(WriteSong("song.crd", "C\r\n"));
  ASSERT_NE(first, nullptr);
  m_frame->NewFile();
  EXPECT_EQ(m_frame->OpenFile(PathOf("song.crd")), first);
  EXPECT_EQ(m_frame->Children().size(), 2);
  m_frame.reset();  // with its documents open: its slots must not be reached while it goes
}

// A file too large to hold is refused by its size; memory running out while
// a song is read or coloured fails that song alone, leaving it empty.
TEST_F(DocumentTest, AFileTooLargeToHoldFailsWithAMessage) {
  std::ofstream(PathOf("huge.crd").toStdString());
  std::filesystem::resize_file(PathOf("huge.crd").toStdString(), 40'000'000'000);
  QString message;
  AnswerNextBox(&message);
  EXPECT_EQ(m_frame->OpenFile(PathOf("huge.crd")), nullptr);
  EXPECT_TRUE(message.contains(QStringLiteral("huge.crd")) && message.contains(QStringLiteral("40.0 GB")))
      << message.toStdString();

  CSonavelDoc doc(m_docManager);
  QObject::connect(&doc, &CSonavelDoc::loaded, [](bool) { throw std::bad_alloc(); });
  QString error;
  EXPECT_FALSE(doc.LoadFile(WriteSong("song.crd", "Am\r\n"), error));
  EXPECT_EQ(error, QStringLiteral("There is not enough memory to open it"));
  EXPECT_TRUE(doc.TextDocument()->isEmpty() && !doc.IsModified());
}

// Saving over a file asks first, with No as the answer Enter gives, when
// reading dropped some of its bytes (a NUL drops the rest of its line, and
// opening says so) or another program has rewritten it since.
TEST_F(DocumentTest, AFileIsNeverReplacedUnaskedWhenSavingWouldLoseBytes) {
  const struct {
    const char* name;
    std::string bytes;
    const char* rewritten;  // by another program after opening
    const char* asked;
  } rows[] = {
      {"nul.crd", std::string("C\0x\r\nD\r\n", 8), nullptr, "NUL bytes (1)"},
      {"changed.crd", "C\r\n", "D\r\n", "has been changed by another program"},
  };
  for (const auto& row : rows) {
    QString notice;
    if (row.rewritten == nullptr) AnswerNextBox(&notice);
    CChildFrame* child = m_frame->OpenFile(WriteSong(row.name, row.bytes));
    ASSERT_NE(child, nullptr);
    if (row.rewritten == nullptr) {
      EXPECT_TRUE(QTest::qWaitFor([&notice] { return !notice.isEmpty(); }, 5000));
      EXPECT_TRUE(notice.contains(QString::fromLatin1(row.asked))) << notice.toStdString();
    } else {
      WriteSong(row.name, row.rewritten);
    }
    const std::string onDisk = test::ReadFile(PathOf(row.name).toStdString());
    QString question;
    test::WhenModal<QMessageBox>([&question](QMessageBox* box) {
      question = box->text();
      QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(child->Document().Save(nullptr));
    EXPECT_TRUE(question.contains(QString::fromLatin1(row.asked))) << question.toStdString();
    EXPECT_EQ(test::ReadFile(PathOf(row.name).toStdString()), onDisk);
  }
}

// Activating the window of a song whose file another program rewrote offers
// to reload it in a bar.
TEST_F(DocumentTest, AFileChangedByAnotherProgramIsOfferedAgain) {
  CChildFrame* child = m_frame->OpenFile(WriteSong("song.crd", "C\r\n"));
  ASSERT_NE(child, nullptr);
  WriteSong("song.crd", "Am\r\n");
  QEvent activation(QEvent::WindowActivate);
  QApplication::sendEvent(child, &activation);
  ASSERT_TRUE(child->FileChangedBar()->isVisibleTo(child));
  child->FileChangedBar()->ReloadButton()->click();
  EXPECT_FALSE(child->FileChangedBar()->isVisibleTo(child));
  EXPECT_EQ(Text(), "Am\n");
  EXPECT_FALSE(child->Document().IsModified());
}

// Edits are kept a moment later in a recovery file; closing
// the song deliberately removes it, a crash leaves it. The next start asks
// song by song: Yes opens the file with the changes, unsaved, until a save
// removes the recovery file; No deletes it.
TEST_F(DocumentTest, UnsavedChangesOutliveACrashUntilSavedOrRefused) {
  namespace fs = std::filesystem;
  QTemporaryDir beforeCrash;
  QTemporaryDir afterCrash;
  qputenv("XDG_STATE_HOME", beforeCrash.path().toLocal8Bit());
  const fs::path folder = beforeCrash.filePath(QStringLiteral("sonavel")).toStdString();
  WriteSong("song.crd", "Am\r\nla\r\n");
  std::vector<std::pair<std::string, std::string>> kept;  // the recovery name and the bytes kept under it
  for (const bool untitled : {true, false}) {
    CChildFrame* child = untitled ? m_frame->NewFile() : m_frame->OpenFile(PathOf("song.crd"));
    ASSERT_NE(child, nullptr);
    child->Document().SetRecoveryDelay(std::chrono::milliseconds(20));
    Type("G ");
    ASSERT_TRUE(QTest::qWaitFor([&child] { return !child->Document().RecoveryName().empty(); }, 5000));
    const fs::path file = folder / (child->Document().RecoveryName() + ".recovery");
    ASSERT_TRUE(QTest::qWaitFor([&file] { return fs::exists(file); }, 5000));
    kept.push_back({child->Document().RecoveryName(), test::ReadFile(file)});
  }
  m_frame->CloseAllDocuments();
  ASSERT_TRUE(QTest::qWaitFor([&folder] { return fs::is_empty(folder); }, 5000));

  // What a crash would have left, in a fresh state folder.
  qputenv("XDG_STATE_HOME", afterCrash.path().toLocal8Bit());
  const fs::path crashed = afterCrash.filePath(QStringLiteral("sonavel")).toStdString();
  fs::create_directory(crashed);
  for (const auto& [name, bytes] : kept) test::WriteFile(crashed / (name + ".recovery"), bytes);
  QStringList questions;
  QTimer answer;
  answer.setInterval(5);
  QObject::connect(&answer, &QTimer::timeout, [&questions] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      questions << box->text();
      box->button(box->text().contains(QStringLiteral("Chord")) ? QMessageBox::No : QMessageBox::Yes)->click();
    }
  });
  answer.start();
  OfferRecovery(*m_frame);
  answer.stop();
  ASSERT_EQ(questions.size(), 2);
  const QString songQuestion =
      QStringLiteral("Recover unsaved changes to %1?").arg(QDir::toNativeSeparators(QFileInfo(PathOf("song.crd"))
                                                                                        .canonicalFilePath()));
  EXPECT_TRUE(questions.contains(songQuestion)) << questions.join(u'|').toStdString();
  EXPECT_EQ(m_frame->Children().size(), 1);
  EXPECT_EQ(Text(), "G Am\nla\n");
  CSonavelDoc& doc = m_frame->ActiveChild()->Document();
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(test::ReadFile(PathOf("song.crd").toStdString()), "Am\r\nla\r\n");
  EXPECT_FALSE(fs::exists(crashed / (kept[0].first + ".recovery")));
  EXPECT_TRUE(fs::exists(crashed / (kept[1].first + ".recovery")));

  ASSERT_TRUE(doc.Save(m_frame.get()));
  EXPECT_EQ(test::ReadFile(PathOf("song.crd").toStdString()), "G Am\r\nla\r\n");
  EXPECT_TRUE(fs::is_empty(crashed));
}

}  // namespace
}  // namespace sonavel
