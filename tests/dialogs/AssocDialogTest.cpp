// The Associations dialog and the desktop files it writes, in a temporary
// XDG data and configuration home, checked with the desktop's own tools.

#include "dialogs/AssocDialog.h"

#include <QCheckBox>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "res/StringTable.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace {

using sonavel::FileTypeSelection;
using sonavel::kFileTypes;

constexpr FileTypeSelection kAll{true, true, true, true};
constexpr FileTypeSelection kCrdOnly{true, false, false, false};
const QString kAssociated = QStringLiteral("1 The selected file types have been associated with Sonavel.");
const QString kCannotAssociate =
    QStringLiteral("2 ") + QString::fromUtf8(sonavel::EnglishString(sonavel::IDS_CANNOT_ASSOCIATE));

// The program's files go to data/ and config/ in a folder of the test's own.
class AssocTest : public ::testing::Test {
 protected:
  // Standard output of a desktop tool working in the data home,
  // or "failed" when it fails. GNOME makes xdg-mime ask GLib, which reads
  // the XDG database.
  QString Tool(const QStringList& command) const {
    QProcess tool;
    tool.setEnvironment(QProcess::systemEnvironment()
                        << QStringLiteral("XDG_DATA_HOME=") + m_data << QStringLiteral("XDG_CURRENT_DESKTOP=GNOME"));
    tool.start(command.front(), command.mid(1));
    const bool ok = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return ok ? QString::fromUtf8(tool.readAll()).trimmed() : QStringLiteral("failed: ") + tool.readAll();
  }

  // Every file under the two homes with a checksum of its bytes.
  QString Files() const {
    const QString script = QStringLiteral("find \"$0\" -type f -exec md5sum {} + | sort");
    return Tool({QStringLiteral("sh"), QStringLiteral("-c"), script, m_homes.path()});
  }

  // Ticks the boxes (in the types' order), closes the dialog with OK or
  // Cancel and gives the message it showed.
  QString Run(const FileTypeSelection& ticks, bool ok = true) const {
    return MessageShownBy([&] {
             CAssocDlg dialog(m_associations);
             const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
             for (int i = 0; i < sonavel::kFileTypeCount; ++i) boxes.at(i)->setChecked(ticks[i]);
             ok ? dialog.accept() : dialog.reject();
           })
        .Said();
  }

  // The boxes a new dialog ticks: the types registered to the program now.
  FileTypeSelection Ticked() const {
    CAssocDlg dialog(m_associations);
    const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
    return {boxes.at(0)->isChecked(), boxes.at(1)->isChecked(), boxes.at(2)->isChecked(), boxes.at(3)->isChecked()};
  }

  QTemporaryDir m_homes;
  const QString m_data = m_homes.filePath(QStringLiteral("data"));
  // A program path with a space and with the characters a desktop entry quotes.
  const sonavel::CFileAssociations m_associations{QStringLiteral("/opt/My Songs/a$b\\c/100%/s\"g`"), m_data,
                                                  m_homes.filePath(QStringLiteral("config"))};
};

TEST_F(AssocTest, TheDesktopOpensTheTickedTypesWithTheProgramAndASecondRunChangesNothing) {
  const FileTypeSelection ticks{true, false, true, false};
  EXPECT_EQ(Run(kAll, false), QString()) << "Cancel";
  EXPECT_EQ(Run({}), QString());
  EXPECT_EQ(Files(), QString());
  EXPECT_EQ(Run(ticks), kAssociated);
  EXPECT_EQ(Tool({QStringLiteral("desktop-file-validate"), m_associations.DesktopEntryPath()}), QString());
  const QString exec = QStringLiteral("Exec=\"/opt/My Songs/a\\\\$b\\\\\\\\c/100%%/s\\\\\"g\\\\`\" /dde");
  EXPECT_EQ(
      QString::fromUtf8(m_associations.DesktopEntry({})).split(u'\n').filter(QStringLiteral("Exec=")),
      (QStringList{exec + QStringLiteral(" %f"), exec + QStringLiteral(" /p %f"), exec + QStringLiteral(" /pt %f")}));
  const QByteArray plain = sonavel::CFileAssociations(QStringLiteral("/usr/bin/sonavel"), {}, {}).DesktopEntry({});
  EXPECT_TRUE(plain.contains("\nExec=/usr/bin/sonavel /dde %f\n")) << "a plain path is not quoted";
  QFile song(m_homes.filePath(QStringLiteral("song.crd")));
  ASSERT_TRUE(song.open(QIODevice::WriteOnly) && song.write("C   G\nLa la la\n") > 0);
  song.close();
  EXPECT_EQ(Tool({QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("filetype"), song.fileName()}),
            QStringLiteral("text/x-sonavelcrd"));
  EXPECT_EQ(Ticked(), ticks);
  const QString once = Files();
  EXPECT_EQ(Run(ticks), kAssociated);
  EXPECT_EQ(Files(), once);
  Run({false, true, false, true});
  EXPECT_EQ(Ticked(), kAll) << "the types before stay";
}

TEST_F(AssocTest, AStepThatFailsIsReportedAndTheTypesBeforeItStayRegistered) {
  ASSERT_TRUE(QDir().mkpath(m_associations.PackagePath(kFileTypes[1])));  // a folder where a package goes
  const QString before = Files();
  EXPECT_EQ(Run({false, true, true, true}), kCannotAssociate);
  EXPECT_EQ(Files(), before) << "the first type failed: nothing is written";
  EXPECT_EQ(Run(kAll), kCannotAssociate);
  EXPECT_EQ(Ticked(), kCrdOnly);
  EXPECT_FALSE(QFileInfo::exists(m_associations.PackagePath(kFileTypes[2])));
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", m_data.toLocal8Bit());  // no update-mime-database, no xdg-mime
  EXPECT_EQ(Run(kCrdOnly), kCannotAssociate) << "a desktop tool that cannot run";
  qputenv("PATH", path);
}

}  // namespace
