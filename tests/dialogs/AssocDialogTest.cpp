// The Associations dialog and the desktop files it writes, in a temporary
// XDG data and configuration home, checked with the desktop's own tools.

#include "dialogs/AssocDialog.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

#include "res/StringTable.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SwedishTexts.h"

namespace {

using sonavel::CFileAssociations;
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
  // Every file under the two homes with its bytes.
  std::map<QString, QByteArray> Files() const {
    std::map<QString, QByteArray> files;
    for (QDirIterator it(m_homes.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      QFile file(it.next());
      files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    }
    return files;
  }

  // Standard output and error of a desktop tool working in the data home,
  // or "failed" when it fails.
  QString Tool(const QStringList& command) const {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data);
    // So xdg-mime asks GLib, which reads the XDG database.
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
    tool.setProcessEnvironment(environment);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(command.front(), command.mid(1));
    const bool ok = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return ok ? QString::fromUtf8(tool.readAll()).trimmed() : QStringLiteral("failed: ") + tool.readAll();
  }

  // Ticks the boxes (in the types' order), closes the dialog with OK or
  // Cancel and gives the message it showed as "icon text", or nothing.
  QString Run(const FileTypeSelection& ticks, bool ok = true) const {
    const ShownMessage shown = MessageShownBy([&] {
      CAssocDlg dialog(m_associations);
      const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
      for (int i = 0; i < sonavel::kFileTypeCount; ++i) boxes.at(i)->setChecked(ticks[i]);
      ok ? dialog.accept() : dialog.reject();
    });
    return shown.text.isEmpty() ? QString() : QString::number(shown.icon) + u' ' + shown.text;
  }

  // The boxes a new dialog ticks: the types registered to the program now.
  FileTypeSelection Ticked() const {
    CAssocDlg dialog(m_associations);
    const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
    return {boxes.at(0)->isChecked(), boxes.at(1)->isChecked(), boxes.at(2)->isChecked(), boxes.at(3)->isChecked()};
  }

  QTemporaryDir m_homes;
  const QString m_data = m_homes.filePath(QStringLiteral("data"));
  const CFileAssociations m_associations{QCoreApplication::applicationFilePath(), m_data,
                                         m_homes.filePath(QStringLiteral("config"))};
};

TEST_F(AssocTest, TheDesktopOpensTheTickedTypesWithTheProgramAndASecondRunChangesNothing) {
  const FileTypeSelection ticks{true, false, true, false};
  EXPECT_EQ(Run(kAll, false), QString()) << "Cancel";
  EXPECT_EQ(Run({}), QString());
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Run(ticks), kAssociated);
  EXPECT_EQ(Tool({QStringLiteral("desktop-file-validate"), m_associations.DesktopEntryPath()}), QString());
  const QByteArray package = Files()[m_associations.PackagePath(kFileTypes[0])];
  for (const char* line : {"<sub-class-of type=\"text/plain\"/>", "<comment>Chord Document</comment>",
                           "<comment xml:lang=\"sv\">Ackorddokument</comment>", "<icon name=\"sonavel-document\"/>"}) {
    EXPECT_TRUE(package.contains(line)) << line;
  }
  for (int i = 0; i < sonavel::kFileTypeCount; ++i) {
    QFile song(m_homes.filePath(QStringLiteral("song.") + QString::fromLatin1(kFileTypes[i].extension)));
    ASSERT_TRUE(song.open(QIODevice::WriteOnly) && song.write("C   G\nLa la la\n") > 0);
    song.close();
    const QString type = Tool({QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("filetype"),
                               song.fileName()});
    EXPECT_EQ(type == sonavel::MimeTypeName(kFileTypes[i]), ticks[i]) << kFileTypes[i].extension << ": " << type.toStdString();
    song.remove();
  }
  EXPECT_EQ(Ticked(), ticks);
  const auto once = Files();
  EXPECT_EQ(Run(ticks), kAssociated);
  EXPECT_EQ(Files(), once);
  Run({false, true, false, true});
  EXPECT_EQ(Ticked(), kAll) << "the types before stay";
  // The desktop's defaults decide: the first program listed, and only where it is the default.
  QFile defaults(m_homes.filePath(QStringLiteral("config/mimeapps.list")));
  ASSERT_TRUE(defaults.open(QIODevice::WriteOnly) &&
              defaults.write("[Added Associations]\ntext/x-sonavelcho=sonavel.desktop\n[Default Applications]\n"
                             "text/x-sonavelcrd=sonavel.desktop\ntext/x-sonaveltab=other.desktop;sonavel.desktop;\n"));
  defaults.close();
  EXPECT_EQ(Ticked(), kCrdOnly);
}

TEST_F(AssocTest, AStepThatFailsIsReportedAndTheTypesBeforeItStayRegistered) {
  const struct {
    const char* blocker;  // a file where a folder goes, or a folder where a file goes
    bool folder;
    FileTypeSelection registered;
  } rows[] = {
      {"mime/packages", false, {}},
      {"mime/packages/sonavel-cho.xml", true, kCrdOnly},
  };
  for (const auto& row : rows) {
    QDir(m_homes.path()).removeRecursively();
    const QString blocker = m_data + u'/' + QString::fromLatin1(row.blocker);
    ASSERT_TRUE(QDir().mkpath(row.folder ? blocker : QFileInfo(blocker).path()));
    ASSERT_TRUE(row.folder || QFile(blocker).open(QIODevice::WriteOnly));
    const auto before = Files();
    EXPECT_EQ(Run(kAll), kCannotAssociate) << row.blocker;
    EXPECT_EQ(Ticked(), row.registered) << row.blocker;
    EXPECT_FALSE(QFileInfo::exists(m_associations.PackagePath(kFileTypes[2]))) << row.blocker;
    EXPECT_TRUE(row.registered != FileTypeSelection{} || Files() == before) << row.blocker;
  }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", m_data.toLocal8Bit());  // no update-mime-database, no xdg-mime
  EXPECT_EQ(Run(kCrdOnly), kCannotAssociate) << "a desktop tool that cannot run";
  qputenv("PATH", path);
}

TEST_F(AssocTest, TheDesktopEntryQuotesAProgramPathTheDesktopWouldSplit) {
  const struct {
    const char* program;
    const char* exec;  // as the desktop entry holds it
  } rows[] = {
      {"/usr/bin/sonavel", "/usr/bin/sonavel"},
      {"/opt/My Songs/sonavel", "\"/opt/My Songs/sonavel\""},
      {"/opt/a$b\\c/100%/s\"g`", "\"/opt/a\\\\$b\\\\\\\\c/100%%/s\\\\\"g\\\\`\""},
  };
  for (const auto& row : rows) {
    const CFileAssociations associations(QString::fromUtf8(row.program), m_data, m_data);
    const QByteArray entry = associations.DesktopEntry({QStringLiteral("text/x-sonavelcrd")});
    const QString exec = QStringLiteral("Exec=") + QString::fromUtf8(row.exec) + QStringLiteral(" /dde");
    EXPECT_EQ(QString::fromUtf8(entry).split(u'\n').filter(QStringLiteral("Exec=")),
              (QStringList{exec + QStringLiteral(" %f"), exec + QStringLiteral(" /p %f"),
                           exec + QStringLiteral(" /pt %f")}));
    QFile file(m_homes.filePath(QStringLiteral("sonavel.desktop")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(entry) > 0);
    file.close();
    EXPECT_EQ(Tool({QStringLiteral("desktop-file-validate"), file.fileName()}), QString()) << row.program;
  }
}

TEST_F(AssocTest, TextsInEnglishAndSwedish) {
  for (const bool swedish : {false, true}) {
    const SwedishTexts translated(swedish);
    CAssocDlg shown(m_associations);
    QStringList texts{shown.windowTitle(), shown.findChild<QGroupBox*>()->title()};
    for (QAbstractButton* button : shown.findChildren<QAbstractButton*>()) texts << button->text();
    EXPECT_EQ(texts.join(u'|'), swedish ? QStringLiteral("Associationer|Välj filtyper|&Ackordfil (*.crd)|A&ckordfil "
                                                         "(*.cho)|\"Chord &pro\" fil (*.chopro)|&Tabulaturfil "
                                                         "(*.tab)|OK|Avbryt")
                                        : QStringLiteral("Associations|Select file types|Chord file (*.crd)|Chord "
                                                         "file (*.cho)|Chord pro file (*.chopro)|Tablature "
                                                         "(*.tab)|OK|Cancel"));
    EXPECT_EQ(Run(kCrdOnly), swedish ? QStringLiteral("1 De valda filtyperna har associerats med Sonavel.")
                                     : kAssociated);
  }
}

}  // namespace
