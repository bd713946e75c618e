// The Associations dialog and the desktop files it writes, in a temporary
// XDG data and configuration home, checked with the desktop's own tools.

#include "dialogs/AssocDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>
#include <map>

#include "res/StringTable.h"
#include "tests/support/QtPrinters.h"

namespace {

using sonavel::CFileAssociations;
using sonavel::FileTypeSelection;
using sonavel::kFileTypes;

constexpr FileTypeSelection kNone{};
constexpr FileTypeSelection kAll{true, true, true, true};
constexpr FileTypeSelection kCrdOnly{true, false, false, false};

// A message box as the catcher below records it.
QString Shown(QMessageBox::Icon icon, int id) {
  return QString::number(icon) + u' ' + QString::fromUtf8(sonavel::EnglishString(id));
}

// Standard output and error of a desktop tool, or "failed" when it fails.
QString Tool(const QStringList& command) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  // So xdg-mime asks GLib, which reads the XDG database.
  environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
  tool.setProcessEnvironment(environment);
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start(command.front(), command.mid(1));
  const bool ok = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
  return ok ? QString::fromUtf8(tool.readAll()).trimmed() : QStringLiteral("failed: ") + tool.readAll();
}

class AssocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_data.isValid() && m_config.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
  }
  void TearDown() override {
    qputenv("XDG_DATA_HOME", m_savedData);
    qputenv("XDG_CONFIG_HOME", m_savedConfig);
  }

  // Every file under the two homes with its bytes.
  std::map<QString, QByteArray> Files() const {
    std::map<QString, QByteArray> files;
    for (const QTemporaryDir* home : {&m_data, &m_config}) {
      for (QDirIterator it(home->path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
      }
    }
    return files;
  }

  // Ticks the boxes, closes the dialog with OK or Cancel and gives the
  // message boxes it showed, each answered with OK.
  static QStringList Run(const FileTypeSelection& ticks, bool ok = true) {
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&shown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << QString::number(box->icon()) + u' ' + box->text();
        box->accept();
      }
    });
    poll.start(5);
    CAssocDlg dialog;
    for (int i = 0; i < sonavel::kFileTypeCount; ++i) Box(dialog, i)->setChecked(ticks[i]);
    ok ? dialog.accept() : dialog.reject();
    return shown;
  }

  static QCheckBox* Box(const CAssocDlg& dialog, int type) {
    return dialog.findChild<QCheckBox*>(QString::fromLatin1(kFileTypes[type].extension));
  }
  static FileTypeSelection Ticked() {
    CAssocDlg dialog;
    FileTypeSelection ticked{};
    for (int i = 0; i < sonavel::kFileTypeCount; ++i) ticked[i] = Box(dialog, i)->isChecked();
    return ticked;
  }

  QTemporaryDir m_data;
  QTemporaryDir m_config;
  const QByteArray m_savedData = qgetenv("XDG_DATA_HOME");
  const QByteArray m_savedConfig = qgetenv("XDG_CONFIG_HOME");
};

const QString kAssociated = Shown(QMessageBox::Information, sonavel::IDS_ASSOCIATED);

struct RegisterCase {
  const char* name;
  FileTypeSelection ticks;
};

void PrintTo(const RegisterCase& c, std::ostream* out) { *out << c.name; }

class AssocRegisterTest : public AssocTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(AssocRegisterTest, TheDesktopOpensTheTickedTypesWithTheProgram) {
  const FileTypeSelection ticks = GetParam().ticks;
  EXPECT_EQ(Run(ticks, false), QStringList());
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(Run(ticks), QStringList{kAssociated});
  const CFileAssociations associations;
  EXPECT_EQ(Tool({QStringLiteral("desktop-file-validate"), associations.DesktopEntryPath()}), QString());
  for (int i = 0; i < sonavel::kFileTypeCount; ++i) {
    const QString mimeType = sonavel::MimeTypeName(kFileTypes[i]);
    const QString song = m_data.filePath(QStringLiteral("song.") + QString::fromLatin1(kFileTypes[i].extension));
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("C   G\nLa la la\n") > 0);
    file.close();
    const QString known = Tool({QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("filetype"), song});
    const QString opener = Tool({QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("default"),
                                 mimeType});
    EXPECT_EQ(known == mimeType, ticks[i]) << song.toStdString() << ": " << known.toStdString();
    EXPECT_EQ(opener == QStringLiteral("sonavel.desktop"), ticks[i]) << mimeType.toStdString();
    file.remove();
  }
  EXPECT_EQ(Ticked(), ticks);
  const auto once = Files();
  EXPECT_EQ(Run(ticks), QStringList{kAssociated});
  // Unticking writes and removes nothing; more types add to those before.
  EXPECT_EQ(Run(kNone), QStringList());
  EXPECT_EQ(Files(), once);
  Run(kCrdOnly);
  EXPECT_EQ(Ticked(), (FileTypeSelection{true, ticks[1], ticks[2], ticks[3]}));
}

INSTANTIATE_TEST_SUITE_P(Selections, AssocRegisterTest,
                         ::testing::Values(RegisterCase{"tab_only", {false, false, false, true}},
                                           RegisterCase{"cho_and_chopro", {false, true, true, false}},
                                           RegisterCase{"all_four", kAll}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AssocTest, APackageThatCannotBeWrittenStopsTheTypesAfterIt) {
  const struct {
    const char* blocker;  // a folder where the file goes, or a file where the folder goes
    bool folder;
    FileTypeSelection registered;
  } rows[] = {
      {"mime/packages", false, kNone},
      {"mime/packages/sonavel-crd.xml", true, kNone},
      {"mime/packages/sonavel-cho.xml", true, kCrdOnly},
  };
  for (const auto& row : rows) {
    QDir(m_data.path()).removeRecursively();
    QDir(m_config.path()).removeRecursively();
    const QString blocker = m_data.filePath(QString::fromLatin1(row.blocker));
    QFile file(blocker);
    ASSERT_TRUE(QDir().mkpath(row.folder ? blocker : QFileInfo(blocker).path()));
    ASSERT_TRUE(row.folder || file.open(QIODevice::WriteOnly));
    file.close();
    const auto before = Files();
    EXPECT_EQ(Run(kAll), QStringList{Shown(QMessageBox::Warning, sonavel::IDS_CANNOT_ASSOCIATE)}) << row.blocker;
    EXPECT_EQ(Ticked(), row.registered) << row.blocker;
    EXPECT_FALSE(QFileInfo::exists(CFileAssociations().PackagePath(kFileTypes[2]))) << row.blocker;
    EXPECT_TRUE(row.registered != kNone || Files() == before) << row.blocker;
  }
}

TEST_F(AssocTest, ADesktopToolThatCannotRunIsReported) {
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", m_config.path().toLocal8Bit());  // no update-mime-database, no xdg-mime
  EXPECT_EQ(Run(kCrdOnly), QStringList{Shown(QMessageBox::Warning, sonavel::IDS_CANNOT_ASSOCIATE)});
  qputenv("PATH", path);
  EXPECT_TRUE(QFileInfo::exists(CFileAssociations().PackagePath(kFileTypes[0])));
}

TEST_F(AssocTest, ATypeAnotherProgramOpensNowIsNotTicked) {
  Run(kAll);
  QFile defaults(m_config.filePath(QStringLiteral("mimeapps.list")));
  ASSERT_TRUE(defaults.open(QIODevice::WriteOnly) &&
              defaults.write("[Added Associations]\ntext/x-sonavelcrd=other.desktop\n[Default Applications]\n"
                             "text/x-sonavelcrd=sonavel.desktop\ntext/x-sonavelcho=sonavel.desktop;\n"
                             "text/x-sonavelchopro=sonavel.desktop\ntext/x-sonaveltab=other.desktop;sonavel.desktop;\n"));
  defaults.close();
  EXPECT_EQ(Ticked(), (FileTypeSelection{true, true, true, false}));
}

TEST(FileAssociations, ThePackageDescribesTheTypeInBothLanguages) {
  const CFileAssociations associations(QStringLiteral("/usr/bin/sonavel"), QStringLiteral("/d"), QStringLiteral("/c"));
  EXPECT_EQ(associations.PackagePath(kFileTypes[2]), QStringLiteral("/d/mime/packages/sonavel-chopro.xml"));
  EXPECT_EQ(QString::fromUtf8(associations.PackageXml(kFileTypes[2])),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"text/x-sonavelchopro\">\n"
                           "    <sub-class-of type=\"text/plain\"/>\n"
                           "    <comment>Chord Pro Document</comment>\n"
                           "    <comment xml:lang=\"sv\">Ackorddokument</comment>\n"
                           "    <icon name=\"sonavel-document\"/>\n"
                           "    <glob pattern=\"*.chopro\"/>\n"
                           "  </mime-type>\n"
                           "</mime-info>\n"));
}

TEST(FileAssociations, TheDesktopEntryStartsTheProgramWithItsDesktopSwitches) {
  const struct {
    const char* program;
    const char* exec;  // as the desktop entry holds it
  } rows[] = {
      {"/usr/bin/sonavel", "/usr/bin/sonavel"},
      {"/opt/My Songs/sonavel", "\"/opt/My Songs/sonavel\""},
      {"/opt/a$b\\c/100%/s\"g`", "\"/opt/a\\\\$b\\\\\\\\c/100%%/s\\\\\"g\\\\`\""},
      {"/opt/100%/sonavel", "/opt/100%%/sonavel"},
  };
  QTemporaryDir home;
  for (const auto& row : rows) {
    const CFileAssociations associations(QString::fromUtf8(row.program), home.path(), home.path());
    const QByteArray entry = associations.DesktopEntry({QStringLiteral("text/x-sonavelcrd")});
    const QString exec = QStringLiteral("Exec=") + QString::fromUtf8(row.exec) + QStringLiteral(" /dde");
    EXPECT_EQ(QString::fromUtf8(entry).split(u'\n').filter(QStringLiteral("Exec=")),
              (QStringList{exec + QStringLiteral(" %f"), exec + QStringLiteral(" /p %f"),
                           exec + QStringLiteral(" /pt %f")}));
    QFile file(home.filePath(QStringLiteral("sonavel.desktop")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(entry) > 0);
    file.close();
    EXPECT_EQ(Tool({QStringLiteral("desktop-file-validate"), file.fileName()}), QString()) << row.program;
  }
}

TEST_F(AssocTest, TextsInEnglishAndSwedish) {
  QTranslator dialogs;
  QTranslator strings;
  ASSERT_TRUE(dialogs.load(QStringLiteral(":/i18n/dialogs_sv.qm")) &&
              strings.load(QStringLiteral(":/i18n/sonavel_sv.qm")));
  for (const bool swedish : {false, true}) {
    if (swedish) QCoreApplication::installTranslator(&dialogs);
    if (swedish) QCoreApplication::installTranslator(&strings);
    CAssocDlg shown;
    QStringList texts{shown.windowTitle(), shown.findChild<QGroupBox*>()->title()};
    for (QAbstractButton* button : shown.findChildren<QAbstractButton*>()) texts << button->text();
    EXPECT_EQ(texts.join(u'|'), swedish ? QStringLiteral("Associationer|Välj filtyper|&Ackordfil (*.crd)|A&ckordfil "
                                                         "(*.cho)|\"Chord &pro\" fil (*.chopro)|&Tabulaturfil "
                                                         "(*.tab)|OK|Avbryt")
                                        : QStringLiteral("Associations|Select file types|Chord file (*.crd)|Chord "
                                                         "file (*.cho)|Chord pro file (*.chopro)|Tablature "
                                                         "(*.tab)|OK|Cancel"));
    EXPECT_EQ(Run(kCrdOnly), QStringList{swedish ? QStringLiteral("1 De valda filtyperna har associerats med Sonavel.")
                                                 : kAssociated});
  }
  QCoreApplication::removeTranslator(&dialogs);
  QCoreApplication::removeTranslator(&strings);
}

}  // namespace
