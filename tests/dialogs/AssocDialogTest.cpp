// The Associations dialog and the desktop files it writes, in a temporary
// XDG data and configuration home, checked with the desktop's own tools.

#include "dialogs/AssocDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QGroupBox>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

#include "res/StringTable.h"
#include "tests/support/QtPrinters.h"

namespace {

using sonavel::CFileAssociations;
using sonavel::FileTypeSelection;
using sonavel::kFileTypes;

constexpr FileTypeSelection kNone{};
constexpr FileTypeSelection kAll{true, true, true, true};
constexpr FileTypeSelection kCrdOnly{true, false, false, false};

std::string Describe(const FileTypeSelection& types) {
  std::string names;
  for (int i = 0; i < sonavel::kFileTypeCount; ++i) {
    if (types[i]) names += std::string(names.empty() ? "" : "+") + kFileTypes[i].extension;
  }
  return names.empty() ? "none" : names;
}

QString English(int id) { return QString::fromUtf8(sonavel::EnglishString(id)); }

struct ToolResult {
  int exitCode = -1;
  QString output;  // standard output and error, trimmed
};

ToolResult RunTool(const QString& program, const QStringList& arguments, const QString& desktop = {}) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  // xdg-mime asks GLib, which reads the XDG database, on this desktop.
  if (!desktop.isEmpty()) environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
  tool.setProcessEnvironment(environment);
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start(program, arguments);
  if (!tool.waitForFinished(60000)) return {};
  return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
          QString::fromUtf8(tool.readAll()).trimmed()};
}

// Presses OK on every message box that comes up and keeps its text.
class CMessageCatcher {
 public:
  CMessageCatcher() {
    QObject::connect(&m_poll, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        m_texts << box->text();
        m_icons << box->icon();
        box->accept();
      }
    });
    m_poll.start(5);
  }
  QStringList m_texts;
  QList<QMessageBox::Icon> m_icons;

 private:
  QTimer m_poll;
};

class AssocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_data.isValid() && m_config.isValid());
    m_savedData = qgetenv("XDG_DATA_HOME");
    m_savedConfig = qgetenv("XDG_CONFIG_HOME");
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
      QDirIterator it(home->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
      while (it.hasNext()) {
        QFile file(it.next());
        files[file.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
      }
    }
    return files;
  }

  // Ticks the boxes as given, presses OK (or Cancel) and gives the messages
  // shown.
  QStringList Run(const FileTypeSelection& ticks, bool ok = true) {
    CMessageCatcher catcher;
    CAssocDlg dialog;
    for (int i = 0; i < sonavel::kFileTypeCount; ++i) Box(dialog, i)->setChecked(ticks[i]);
    FindButton(dialog, ok ? QStringLiteral("OK") : QStringLiteral("Cancel"))->click();
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    m_icons = catcher.m_icons;
    return catcher.m_texts;
  }

  static QCheckBox* Box(const CAssocDlg& dialog, int type) {
    return dialog.findChild<QCheckBox*>(QString::fromLatin1(kFileTypes[type].extension));
  }
  static QPushButton* FindButton(const CAssocDlg& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == text) return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
  }
  static FileTypeSelection Ticked() {
    CAssocDlg dialog;
    FileTypeSelection ticked{};
    for (int i = 0; i < sonavel::kFileTypeCount; ++i) ticked[i] = Box(dialog, i)->isChecked();
    return ticked;
  }

  QString DataPath(const QString& relative) const { return m_data.path() + u'/' + relative; }

  QTemporaryDir m_data;
  QTemporaryDir m_config;
  QByteArray m_savedData;
  QByteArray m_savedConfig;
  QList<QMessageBox::Icon> m_icons;  // of the messages of the last Run
};

struct RegisterCase {
  const char* name;
  FileTypeSelection ticks;
};

void PrintTo(const RegisterCase& c, std::ostream* out) { *out << c.name; }

class AssocRegisterTest : public AssocTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(AssocRegisterTest, TheDesktopOpensTheTickedTypesWithTheProgram) {
  const FileTypeSelection ticks = GetParam().ticks;
  EXPECT_EQ(Run(ticks), QStringList{English(sonavel::IDS_ASSOCIATED)});
  EXPECT_EQ(m_icons, QList<QMessageBox::Icon>{QMessageBox::Information});

  const CFileAssociations associations;
  const ToolResult validated = RunTool(QStringLiteral("desktop-file-validate"), {associations.DesktopEntryPath()});
  EXPECT_EQ(validated.exitCode, 0) << validated.output.toStdString();
  EXPECT_EQ(validated.output, QString());
  QStringList mimeTypes;
  for (int i = 0; i < sonavel::kFileTypeCount; ++i) {
    const QString mimeType = sonavel::MimeTypeName(kFileTypes[i]);
    EXPECT_EQ(QFileInfo::exists(associations.PackagePath(kFileTypes[i])), ticks[i]) << kFileTypes[i].extension;
    if (!ticks[i]) continue;
    mimeTypes << mimeType;
    const QString song = DataPath(QStringLiteral("song.") + QString::fromLatin1(kFileTypes[i].extension));
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("C   G\nLa la la\n") > 0);
    file.close();
    EXPECT_EQ(RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), song},
                      QStringLiteral("GNOME"))
                  .output,
              mimeType);
    EXPECT_EQ(RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType})
                  .output,
              QStringLiteral("sonavel.desktop"));
    file.remove();
  }
  const QString entry = QString::fromUtf8(associations.DesktopEntry(mimeTypes));
  EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=") + mimeTypes.join(u';') + QStringLiteral(";\n")));
  EXPECT_EQ(Ticked(), ticks);

  const auto once = Files();
  EXPECT_EQ(Run(ticks), QStringList{English(sonavel::IDS_ASSOCIATED)});
  EXPECT_EQ(Files(), once);
}

INSTANTIATE_TEST_SUITE_P(Selections, AssocRegisterTest,
                         ::testing::Values(RegisterCase{"tab_only", {false, false, false, true}},
                                           RegisterCase{"crd_and_chopro", {true, false, true, false}},
                                           RegisterCase{"all_four", kAll}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AssocTest, LaterTypesAddToTheOnesRegisteredBefore) {
  Run(kCrdOnly);
  Run({false, false, false, true});
  EXPECT_EQ(Ticked(), (FileTypeSelection{true, false, false, true}));
  // Unticking registers nothing and removes nothing.
  EXPECT_EQ(Run(kNone), QStringList());
  EXPECT_EQ(Ticked(), (FileTypeSelection{true, false, false, true}));
}

TEST_F(AssocTest, CancelAndNothingTickedWriteNothing) {
  const struct {
    FileTypeSelection ticks;
    bool ok;
  } rows[] = {{kAll, false}, {kCrdOnly, false}, {kNone, true}};
  for (const auto& row : rows) {
    const auto before = Files();
    EXPECT_EQ(Run(row.ticks, row.ok), QStringList()) << Describe(row.ticks);
    EXPECT_EQ(Files(), before) << Describe(row.ticks);
  }
}

TEST_F(AssocTest, APackageThatCannotBeWrittenStopsTheTypesAfterIt) {
  const struct {
    const char* blocker;  // a folder where the file goes, or a file where the folder goes
    bool folder;
    FileTypeSelection registered;
  } rows[] = {
      {"mime/packages", false, kNone},
      {"mime/packages/sonavel-crd.xml", true, kNone},
      {"mime/packages/sonavel-cho.xml", true, kCrdOnly},
      {"mime/packages/sonavel-tab.xml", true, {true, true, true, false}},
  };
  for (const auto& row : rows) {
    QDir(m_data.path()).removeRecursively();
    QDir(m_config.path()).removeRecursively();
    const QString blocker = DataPath(QString::fromLatin1(row.blocker));
    ASSERT_TRUE(QDir().mkpath(row.folder ? blocker : QFileInfo(blocker).path()));
    QFile file(blocker);
    ASSERT_TRUE(row.folder || file.open(QIODevice::WriteOnly));
    file.close();
    const auto before = Files();

    EXPECT_EQ(Run(kAll), QStringList{English(sonavel::IDS_CANNOT_ASSOCIATE)}) << row.blocker;
    EXPECT_EQ(m_icons, QList<QMessageBox::Icon>{QMessageBox::Warning});
    EXPECT_EQ(Ticked(), row.registered) << row.blocker;
    const CFileAssociations associations;
    for (int i = 0; i < sonavel::kFileTypeCount; ++i) {
      EXPECT_EQ(QFileInfo(associations.PackagePath(kFileTypes[i])).isFile(), row.registered[i]) << row.blocker;
    }
    if (row.registered == kNone) {
      EXPECT_EQ(Files(), before) << row.blocker;
    }
  }
}

TEST_F(AssocTest, TheBoxesShowWhatTheDesktopDoesNow) {
  const struct {
    const char* change;
    const char* file;       // under the data home, or mimeapps.list under the configuration home
    QByteArray contents;    // empty: removed
    FileTypeSelection ticked;
  } rows[] = {
      {"crd package removed", "mime/packages/sonavel-crd.xml", {}, {false, true, true, true}},
      {"another program opens .tab", "mimeapps.list",
       "[Default Applications]\ntext/x-sonavelcrd=sonavel.desktop\ntext/x-sonavelcho=sonavel.desktop;\n"
       "text/x-sonavelchopro=sonavel.desktop\ntext/x-sonaveltab=other.desktop;sonavel.desktop;\n",
       {true, true, true, false}},
      {"the desktop entry lists only .cho", "applications/sonavel.desktop",
       "[Desktop Entry]\nMimeType=text/x-sonavelcho;\n\n[Desktop Action print]\nMimeType=text/x-sonavelcrd;\n",
       {false, true, false, false}},
  };
  for (const auto& row : rows) {
    Run(kAll);
    const QString name = QString::fromLatin1(row.file);
    const QString path = name == QStringLiteral("mimeapps.list") ? m_config.path() + u'/' + name : DataPath(name);
    QFile file(path);
    if (row.contents.isEmpty()) {
      ASSERT_TRUE(file.remove());
    } else {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.contents) == row.contents.size());
      file.close();
    }
    EXPECT_EQ(Ticked(), row.ticked) << row.change;
  }
}

TEST(FileAssociations, ThePackageDescribesTheTypeInBothLanguages) {
  const CFileAssociations associations(QStringLiteral("/usr/bin/sonavel"), QStringLiteral("/nowhere"),
                                       QStringLiteral("/nowhere"));
  EXPECT_EQ(associations.PackagePath(kFileTypes[2]), QStringLiteral("/nowhere/mime/packages/sonavel-chopro.xml"));
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
  ASSERT_TRUE(home.isValid());
  for (const auto& row : rows) {
    const CFileAssociations associations(QString::fromUtf8(row.program), home.path(), home.path());
    const QString entry = QString::fromUtf8(associations.DesktopEntry({QStringLiteral("text/x-sonavelcrd")}));
    const QString exec = QString::fromUtf8(row.exec);
    EXPECT_EQ(entry.split(u'\n').filter(QStringLiteral("Exec=")),
              (QStringList{QStringLiteral("Exec=") + exec + QStringLiteral(" /dde %f"),
                           QStringLiteral("Exec=") + exec + QStringLiteral(" /dde /p %f"),
                           QStringLiteral("Exec=") + exec + QStringLiteral(" /dde /pt %f")}))
        << row.program;
    QFile file(home.filePath(QStringLiteral("sonavel.desktop")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8()) > 0);
    file.close();
    const ToolResult validated = RunTool(QStringLiteral("desktop-file-validate"), {file.fileName()});
    EXPECT_EQ(validated.exitCode, 0) << row.program << "\n" << validated.output.toStdString();
  }
}

TEST_F(AssocTest, TextsInEnglishAndSwedish) {
  QTranslator dialogs;
  QTranslator strings;
  ASSERT_TRUE(dialogs.load(QStringLiteral(":/i18n/dialogs_sv.qm")));
  ASSERT_TRUE(strings.load(QStringLiteral(":/i18n/sonavel_sv.qm")));
  for (const bool inSwedish : {false, true}) {
    if (inSwedish) {
      QCoreApplication::installTranslator(&dialogs);
      QCoreApplication::installTranslator(&strings);
    }
    CAssocDlg shown;
    QStringList texts{shown.windowTitle(), shown.findChild<QGroupBox*>()->title()};
    for (QAbstractButton* button : shown.findChildren<QAbstractButton*>()) texts << button->text();
    EXPECT_EQ(texts.join(u'|'), inSwedish ? QStringLiteral("Associationer|Välj filtyper|&Ackordfil (*.crd)|A&ckordfil "
                                                           "(*.cho)|\"Chord &pro\" fil (*.chopro)|&Tabulaturfil "
                                                           "(*.tab)|OK|Avbryt")
                                          : QStringLiteral("Associations|Select file types|Chord file (*.crd)|Chord "
                                                           "file (*.cho)|Chord pro file (*.chopro)|Tablature "
                                                           "(*.tab)|OK|Cancel"));
    EXPECT_EQ(Run(kCrdOnly), QStringList{inSwedish ? QStringLiteral("De valda filtyperna har associerats med Sonavel.")
                                                   : English(sonavel::IDS_ASSOCIATED)});
  }
  QCoreApplication::removeTranslator(&dialogs);
  QCoreApplication::removeTranslator(&strings);
}

}  // namespace
