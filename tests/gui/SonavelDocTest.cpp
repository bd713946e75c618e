// Songs opened and saved through the document: every encoding comes back,
// saving is all or nothing, the 20000-character colouring limit, names of
// new songs and the clipboard's text in a new song.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextCursor>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <memory>

#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/Translations.h"
#include "tests/gui/GuiTestSupport.h"
#include "view/SonavelView.h"

namespace sonavel {
namespace {

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildChordTable();
    theSettings().SetDefaults();
    theSettings().autoColorOnOpen = false;
    QApplication::clipboard()->clear();
  }
  void TearDown() override { theSettings().SetDefaults(); }

  QString PathOf(const QString& name) const { return m_dir.filePath(name); }

  QTemporaryDir m_dir;
  test::FakeDocManager m_docManager;
};

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

std::string WithCrLf(std::string bytes) {
  std::string out;
  for (const char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

struct RoundTrip {
  const char* name;
  std::string bytes;
  std::string saved;
  CodePage codePage;  // that the document keeps for saving
};

class OpenAndSave : public DocumentTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(OpenAndSave, WritesBackEveryCharacter) {
  const RoundTrip& c = GetParam();
  const QString in = PathOf(QStringLiteral("in.crd"));
  const QString out = PathOf(QStringLiteral("out.crd"));
  test::WriteBytes(in, c.bytes);
  CSonavelDoc doc(m_docManager);
  QString error;
  ASSERT_TRUE(doc.LoadFile(in, error)) << error.toStdString();
  EXPECT_EQ(doc.SaveCodePage(), c.codePage);
  EXPECT_FALSE(doc.IsModified());
  ASSERT_TRUE(doc.SaveFile(out, error)) << error.toStdString();
  EXPECT_EQ(test::ReadBytes(out), c.saved);
}

const std::u16string kGuitar = u"Am \U0001F3B8\r\nC";

INSTANTIATE_TEST_SUITE_P(
    Document, OpenAndSave,
    ::testing::Values(
        RoundTrip{"Windows1252WithCrLfComesBackByteForByte", "Caf\xE9 Am\r\nG\x92s \x85\r\n",
                  "Caf\xE9 Am\r\nG\x92s \x85\r\n", CodePage::Windows1252},
        RoundTrip{"Windows1252WithLfGetsCrLf", "Caf\xE9\nB\n", "Caf\xE9\r\nB\r\n", CodePage::Windows1252},
        RoundTrip{"Utf8WithoutMark", "Caf\xC3\xA9\nAm\n", "Caf\xC3\xA9\r\nAm\r\n", CodePage::Utf8},
        RoundTrip{"Utf8MarkIsDropped", "\xEF\xBB\xBF" "Caf\xC3\xA9\r\n", "Caf\xC3\xA9\r\n", CodePage::Utf8},
        RoundTrip{"Utf16LittleEndianSavedAsUtf8", Utf16(u"Am\r\nC\u00E9", false), "Am\r\nC\xC3\xA9", CodePage::Utf8},
        RoundTrip{"Utf16BigEndianSavedAsUtf8", Utf16(u"Am\r\nC\u00E9", true), "Am\r\nC\xC3\xA9", CodePage::Utf8},
        RoundTrip{"Utf16SurrogatePairBecomesItsCharacter", Utf16(kGuitar, false), "Am \xF0\x9F\x8E\xB8\r\nC",
                  CodePage::Utf8},
        RoundTrip{"NoBreakSpaceAndFourByteCharacterSurvive", "C\xC2\xA0G \xF0\x9F\x8E\xB8\r\n",
                  "C\xC2\xA0G \xF0\x9F\x8E\xB8\r\n", CodePage::Utf8},
        RoundTrip{"CarriageReturnsOnly", "A\rB\r", "A\r\nB\r\n", CodePage::Utf8},
        RoundTrip{"EmptyFile", "", "", CodePage::Utf8}),
    [](const auto& info) { return std::string(info.param.name); });

// Real song files: 8-bit ones in their code page, line ends as CR LF.
TEST_F(DocumentTest, RealSongsRoundTrip) {
  struct Song {
    const char* name;
    bool crLfAlready;
  };
  for (const Song song : {Song{"openlp-songbeamer__Lobsinget_dem_Herrn.sng", true},
                          Song{"openlp-lyrix__AO05.TXT", true}, Song{"openlp-songbeamer__cp1252song.sng", false},
                          Song{"chordpro__mollymalone.cho", false}}) {
    const std::string bytes = test::ReadBytes(QString::fromStdString(test::SongPath(song.name)));
    CSonavelDoc doc(m_docManager);
    QString error;
    ASSERT_TRUE(doc.LoadFile(QString::fromStdString(test::SongPath(song.name)), error)) << song.name;
    const QString out = PathOf(QStringLiteral("out.crd"));
    ASSERT_TRUE(doc.SaveFile(out, error)) << song.name;
    EXPECT_EQ(test::ReadBytes(out), song.crLfAlready ? bytes : WithCrLf(bytes)) << song.name;
  }
}

TEST_F(DocumentTest, Windows1252SongGainingAForeignCharacterIsSavedAsUtf8) {
  const QString path = PathOf(QStringLiteral("song.crd"));
  test::WriteBytes(path, "Caf\xE9\r\n");
  CSonavelDoc doc(m_docManager);
  QString error;
  ASSERT_TRUE(doc.LoadFile(path, error));
  QTextCursor cursor(doc.TextDocument());
  cursor.insertText(QString::fromUtf8("\xC5\x91 "));  // o with double acute
  ASSERT_TRUE(doc.SaveFile(path, error));
  EXPECT_EQ(test::ReadBytes(path), "\xC5\x91 Caf\xC3\xA9\r\n");
  EXPECT_EQ(doc.SaveCodePage(), CodePage::Utf8);
}

TEST_F(DocumentTest, FailedSaveLeavesTheOldFileAndTheDocumentAsTheyWere) {
  const QString path = PathOf(QStringLiteral("song.crd"));
  test::WriteBytes(path, "old\r\n");
  CSonavelDoc doc(m_docManager);
  QString error;
  ASSERT_TRUE(doc.LoadFile(path, error));
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("new "));
  const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);

  // A path below a file names no directory that can exist.
  EXPECT_FALSE(doc.SaveFile(path + QStringLiteral("/inside.crd"), error));
  EXPECT_FALSE(error.isEmpty());
  // A directory cannot be replaced by a file.
  EXPECT_FALSE(doc.SaveFile(m_dir.path(), error));

  EXPECT_EQ(test::ReadBytes(path), "old\r\n");
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), before) << "no temporary file is left behind";
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(doc.CurrentFile(), QFileInfo(path).canonicalFilePath());
}

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesTheDocumentAlone) {
  CSonavelDoc doc(m_docManager);
  doc.SetUntitled(3);
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("kept"));
  QString error;
  EXPECT_FALSE(doc.LoadFile(PathOf(QStringLiteral("missing.crd")), error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(doc.LoadFile(m_dir.path(), error)) << "a directory";
  EXPECT_EQ(CSonavelDoc::PlainText(*doc.TextDocument()), QStringLiteral("kept"));
  EXPECT_TRUE(doc.IsUntitled());
}

TEST_F(DocumentTest, SavingANewSongAsksForANameProposingItsTitle) {
  CSonavelDoc doc(m_docManager);
  doc.SetUntitled(1);
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("G"));

  EXPECT_FALSE(doc.Save(nullptr)) << "cancelled";
  EXPECT_EQ(m_docManager.proposed, QStringLiteral("Chord1.crd"));
  EXPECT_TRUE(doc.IsUntitled());
  EXPECT_TRUE(doc.IsModified());

  m_docManager.answer = PathOf(QStringLiteral("mine.crd"));
  EXPECT_TRUE(doc.Save(nullptr));
  EXPECT_EQ(doc.Title(), QStringLiteral("mine.crd"));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(test::ReadBytes(m_docManager.answer), "G");

  m_docManager.prompts = 0;
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("A "));
  EXPECT_TRUE(doc.Save(nullptr));
  EXPECT_EQ(m_docManager.prompts, 0) << "a saved song is saved under its name";
  EXPECT_TRUE(doc.SaveAs(nullptr));
  EXPECT_EQ(m_docManager.proposed, doc.CurrentFile());
}

TEST_F(DocumentTest, NewSongNameAndProposalAreSwedishInSwedish) {
  CTranslations swedish(QLocale(QLocale::Swedish, QLocale::Sweden));
  CSonavelDoc doc(m_docManager);
  doc.SetUntitled(2);
  EXPECT_EQ(doc.Title(), QStringLiteral("Ackord2"));
  doc.SaveAs(nullptr);
  EXPECT_EQ(m_docManager.proposed, QStringLiteral("Ackord2.crd"));
}

// A text of `characters` characters (a CR LF counts two) with a chord at
// the start, of which every other line is a chord line.
std::string TextOfLength(long characters, bool wide) {
  constexpr long kLineLength = 60;
  const std::string filler = wide ? "\xC3\xA9" : "e";  // one character either way
  std::string text = "Am\r\n";
  long count = 4;
  long column = 0;
  while (count < characters) {
    if (column == kLineLength && count + 2 <= characters) {
      text += "\r\n";
      count += 2;
      column = 0;
      continue;
    }
    text += filler;
    ++count;
    ++column;
  }
  return text;
}

struct AutoColorCase {
  const char* name;
  long characters;
  bool wide;
  bool autoColorOnOpen;
  bool coloured;
};

class AutoColorOnOpen : public DocumentTest, public ::testing::WithParamInterface<AutoColorCase> {};

TEST_P(AutoColorOnOpen, ColoursBelowTwentyThousandCharacters) {
  const AutoColorCase& c = GetParam();
  theSettings().autoColorOnOpen = c.autoColorOnOpen;
  const std::string text = TextOfLength(c.characters, c.wide);
  const QString path = PathOf(QStringLiteral("song.crd"));
  test::WriteBytes(path, text);
  CSonavelDoc doc(m_docManager);
  CSonavelView view(doc);
  QString error;
  ASSERT_TRUE(doc.LoadFile(path, error));
  const std::string mask = test::ColorMask(view.Control(), doc.Options());
  EXPECT_EQ(mask.substr(0, 2) == "cc", c.coloured) << mask.substr(0, 10);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_FALSE(doc.TextDocument()->isUndoAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Document, AutoColorOnOpen,
    ::testing::Values(AutoColorCase{"Chars19999", 19999, false, true, true},
                      AutoColorCase{"Chars20000", 20000, false, true, false},
                      AutoColorCase{"Chars19999In39000Bytes", 19999, true, true, true},
                      AutoColorCase{"Chars20000In40000Bytes", 20000, true, true, false},
                      AutoColorCase{"Chars10WithoutTheSetting", 10, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutoColorLimit, CountsCharactersAndCrLfAsTwo) {
  EXPECT_TRUE(CSonavelDoc::ShouldColorizeOnOpen(TextOfLength(19999, false), true));
  EXPECT_FALSE(CSonavelDoc::ShouldColorizeOnOpen(TextOfLength(20000, false), true));
  EXPECT_EQ(std::string(TextOfLength(20000, false)).size(), 20000u);
  EXPECT_FALSE(CSonavelDoc::ShouldColorizeOnOpen("Am", false));
}

struct PrefillCase {
  const char* name;
  int length;
  bool filled;
};

class PrefillFromClipboard : public DocumentTest, public ::testing::WithParamInterface<PrefillCase> {};

TEST_P(PrefillFromClipboard, NewSongTakesTextOfNineTo16383Characters) {
  theSettings().autoColor = true;
  std::string text = "Am G ";
  while (static_cast<int>(text.size()) < GetParam().length) text += 'x';
  text.resize(static_cast<std::size_t>(GetParam().length));
  QApplication::clipboard()->setText(QString::fromStdString(text));
  CMainFrame frame(m_docManager);
  CChildFrame* child = frame.NewFile();
  const QString content = CSonavelDoc::PlainText(*child->Document().TextDocument());
  EXPECT_EQ(content, GetParam().filled ? QString::fromStdString(text) : QString());
  if (GetParam().filled) {
    EXPECT_EQ(test::ColorMask(child->View()->Control(), child->Document().Options()).substr(0, 5), "cc.c.");
    child->View()->OnEditUndo();  // the text and its colours are one step
    EXPECT_TRUE(child->View()->document()->isEmpty());
    EXPECT_FALSE(child->Document().IsModified());
  }
  frame.CloseAllDocuments();
}

INSTANTIATE_TEST_SUITE_P(Document, PrefillFromClipboard,
                         ::testing::Values(PrefillCase{"Eight", 8, false}, PrefillCase{"Nine", 9, true},
                                           PrefillCase{"Max", 16383, true}, PrefillCase{"TooLong", 16384, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, OpeningAMissingFileSaysSoAndOpensNothing) {
  CMainFrame frame(m_docManager);
  QString text;
  test::WhenModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    box->accept();
  });
  EXPECT_EQ(frame.OpenFile(PathOf(QStringLiteral("missing.crd"))), nullptr);
  EXPECT_TRUE(text.contains(QStringLiteral("missing.crd")));
  EXPECT_TRUE(frame.Children().isEmpty());
}

TEST_F(DocumentTest, OpeningAnOpenFileShowsItsWindow) {
  const QString path = PathOf(QStringLiteral("song.crd"));
  test::WriteBytes(path, "C\r\n");
  CMainFrame frame(m_docManager);
  CChildFrame* first = frame.OpenFile(path);
  ASSERT_NE(first, nullptr);
  frame.NewFile();
  EXPECT_EQ(frame.OpenFile(path), first);
  EXPECT_EQ(frame.Children().size(), 2);
  frame.CloseAllDocuments();
}

// Regression: the main window's slots were reached from its children's
// signals while QWidget took it apart.
TEST_F(DocumentTest, MainWindowWithOpenDocumentsGoesAwayCleanly) {
  const QString path = PathOf(QStringLiteral("song.crd"));
  test::WriteBytes(path, "C G\r\n");
  auto frame = std::make_unique<CMainFrame>(m_docManager);
  frame->show();
  frame->NewFile();
  ASSERT_NE(frame->OpenFile(path), nullptr);
  QApplication::processEvents();
  frame.reset();
  SUCCEED();
}

}  // namespace
}  // namespace sonavel
