// How a document window looks and prints, and what the command line asks
// for.

#include <QApplication>
#include <QFileInfo>
#include <QTextCursor>
#include <QFontDatabase>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "shell/CommandLineInfo.h"
#include "tests/gui/GuiTestSupport.h"
#include "view/SonavelView.h"

namespace sonavel {
namespace {

class ViewSetup : public ::testing::Test {
 protected:
  void SetUp() override { theSettings().SetDefaults(); }
  void TearDown() override { theSettings().SetDefaults(); }
  test::FakeDocManager m_docManager;
};

TEST_F(ViewSetup, DefaultLookIsTheSystemFixedFontOnTheSystemBackground) {
  CSonavelDoc doc(m_docManager);
  CSonavelView view(doc);
  EXPECT_EQ(doc.Options().font, "Fixedsys") << "the stored face stays as it is";
  EXPECT_EQ(view.font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  EXPECT_EQ(view.font().pointSize(), theSettings().fontSize);
  EXPECT_FALSE(view.font().bold());
  EXPECT_FALSE(view.font().italic());
  EXPECT_EQ(view.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(view.lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_FALSE(view.document()->isUndoAvailable());
  EXPECT_FALSE(view.acceptRichText());
}

TEST_F(ViewSetup, DocumentCopyAndSettingsGiveFaceSizeEffectsBackgroundAndWrap) {
  // A face the system has, other than the fallback.
  QString family;
  for (const QString& candidate : QFontDatabase::families()) {
    if (QFontDatabase::hasFamily(candidate) &&
        candidate != QFontDatabase::systemFont(QFontDatabase::FixedFont).family()) {
      family = candidate;
    }
  }
  ASSERT_FALSE(family.isEmpty());
  theSettings().font = family.toStdString();
  theSettings().fontSize = 15;
  theSettings().fontBold = true;
  theSettings().fontItalic = true;
  theSettings().useSystemBackground = false;
  theSettings().backgroundcolor = MakeColorRef(0x10, 0x20, 0x30);
  theSettings().wordWrap = false;
  CSonavelDoc doc(m_docManager);
  theSettings().fontBold = false;  // a later change reaches new documents only
  CSonavelView view(doc);
  EXPECT_EQ(view.font().family(), family);
  EXPECT_EQ(view.font().pointSize(), 15);
  EXPECT_TRUE(view.font().bold());
  EXPECT_TRUE(view.font().italic());
  EXPECT_EQ(view.palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(view.lineWrapMode(), QTextEdit::FixedPixelWidth);
  // The printable width of a page (A4 or Letter) inside the margins, in
  // screen pixels: between 6 and 8 inches.
  EXPECT_GT(view.lineWrapColumnOrWidth(), 6 * view.logicalDpiX());
  EXPECT_LT(view.lineWrapColumnOrWidth(), 8 * view.logicalDpiX());
}

TEST_F(ViewSetup, ApplyingTheFontKeepsColoursSelectionAndModifiedFlag) {
  CSonavelDoc doc(m_docManager);
  CSonavelView view(doc);
  QTextCursor(doc.TextDocument()).insertText(QStringLiteral("Am G"));
  view.OnColorize();
  view.Control().SetSel(1, 3);
  const std::string mask = test::ColorMask(view.Control(), doc.Options());
  const int undoSteps = view.document()->availableUndoSteps();
  view.ApplyDocumentFont();
  EXPECT_EQ(test::ColorMask(view.Control(), doc.Options()), mask);
  EXPECT_EQ(view.Control().GetSel(), (Selection{1, 3}));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view.document()->availableUndoSteps(), undoSteps) << "the font is no edit";
}

TEST_F(ViewSetup, PrintedPagesHaveHalfInchMargins) {
  CSonavelDoc doc(m_docManager);
  CSonavelView view(doc);
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Am   G   C   D\r\nla la la la\r\n";
  view.Control().SetSel(0, 0);
  QTextCursor(doc.TextDocument()).insertText(QString::fromStdString(text));

  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(dir.filePath(QStringLiteral("song.pdf")));
  const auto copy = view.PaginatedCopy(printer);
  const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
  EXPECT_NEAR(margins.left(), 12.7, 0.01);
  EXPECT_NEAR(margins.top(), 12.7, 0.01);
  EXPECT_NEAR(margins.right(), 12.7, 0.01);
  EXPECT_NEAR(margins.bottom(), 12.7, 0.01);
  const double dotsPerMillimetre = printer.resolution() / 25.4;
  EXPECT_NEAR(copy->pageSize().width(), (210 - 2 * 12.7) * dotsPerMillimetre, dotsPerMillimetre);
  EXPECT_NEAR(copy->pageSize().height(), (297 - 2 * 12.7) * dotsPerMillimetre, dotsPerMillimetre);
  EXPECT_GT(copy->pageCount(), 1);
  EXPECT_EQ(copy->toRawText(), doc.TextDocument()->toRawText());

  view.PrintTo(printer);
  EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 1000);
}

struct CommandLineCase {
  const char* name;
  QStringList arguments;
  CCommandLineInfo::ShellCommand command;
  QString file;
  QStringList ignored;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, NamesTheCommandAndTheFile) {
  const CCommandLineInfo info = CCommandLineInfo::Parse(GetParam().arguments);
  EXPECT_EQ(info.m_nShellCommand, GetParam().command);
  EXPECT_EQ(info.m_strFileName, GetParam().file);
  EXPECT_EQ(info.m_ignored, GetParam().ignored);
}

using Command = CCommandLineInfo::ShellCommand;

INSTANTIATE_TEST_SUITE_P(
    Shell, CommandLine,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, Command::FileNew, {}, {}},
        CommandLineCase{"AbsolutePathIsAFileNotASwitch", {"/home/me/song.crd"}, Command::FileOpen, "/home/me/song.crd", {}},
        CommandLineCase{"RelativePath", {"song.crd"}, Command::FileOpen, "song.crd", {}},
        CommandLineCase{"PrintSwitch", {"/p", "song.crd"}, Command::FilePrint, "song.crd", {}},
        CommandLineCase{"PrintToTakesPrinterDriverPort", {"/pt", "a.crd", "lp", "drv", "port"}, Command::FilePrintTo,
                        "a.crd", {}},
        CommandLineCase{"SwitchesIgnoreCase", {"/DDE"}, Command::FileDDE, {}, {}},
        CommandLineCase{"UnknownDashSwitchIsIgnored", {"--frobnicate", "a.crd"}, Command::FileOpen, "a.crd",
                        {"--frobnicate"}},
        CommandLineCase{"SecondFileIsIgnored", {"a.crd", "b.crd"}, Command::FileOpen, "a.crd", {"b.crd"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sonavel
