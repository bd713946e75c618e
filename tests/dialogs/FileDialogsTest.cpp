// The program's file dialogs, the number fields and the path utilities.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

#include "dialogs/IntegerSpinEdit.h"
#include "shell/DocManagerEx.h"
#include "shell/PathUtils.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace {

// The dialogs below show the string table's own lists.
TEST(FileFilters, StringTableListsBecomeQtFiltersInOrder) {
  for (const auto& [list, expected] : {std::pair{"", ""}, {"Songs|*.crd", "Songs (*.crd)"},
                                       {"Songs|*.crd||Ignored|*.x||", "Songs (*.crd)"},  // ends at an empty one
                                       {"Nothing|;;|Songs|*.crd;|", "Songs (*.crd)"},   // no patterns: dropped
                                       {"Dangling", ""}, {"Any|*.*", "Any (*)"},
                                       {"Chords (*.crd)|*.crd;*.cho|", "Chords (*.crd) (*.crd *.cho)"}}) {
    EXPECT_EQ(ToQtNameFilters(QString::fromLatin1(list)).join(u'|'), QString::fromLatin1(expected)) << list;
  }
}

// Answers the next file dialog: types the name (unless null) and presses
// OK, or cancels with a null name; gives what the dialog showed.
struct Shown {
  QString filter, suffix, directory, name, title;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  bool asksBeforeReplacing = false;  // Qt's own question before a file is replaced
};

Shown* Answer(const char* typed) {
  auto* shown = new Shown;
  WhenModal<QFileDialog>([shown, typed](QFileDialog* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    *shown = {dialog->selectedNameFilter(), dialog->defaultSuffix(), dialog->directory().absolutePath(),
              edit->text(), dialog->windowTitle(), dialog->fileMode()};
    shown->asksBeforeReplacing =
        dialog->acceptMode() == QFileDialog::AcceptSave && !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    if (typed == nullptr) return dialog->reject();
    if (*typed != '\0') edit->setText(QString::fromLatin1(typed));
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);  // with every check it makes
  });
  return shown;
}

// Qt's dialog itself refuses a missing file to open and asks before one is
// replaced, as its mode and options say.
TEST(DocManagerEx, OpenAndSaveDialogsStartWhereTheUserExpects) {
  QTemporaryDir folder;
  const std::unique_ptr<Shown> open(Answer(nullptr));
  QString name = QStringLiteral("/nowhere/kept.crd");
  EXPECT_FALSE(CDocManagerEx().DoPromptFileName(name, QStringLiteral("Open"), true, nullptr));
  EXPECT_EQ(name, QStringLiteral("/nowhere/kept.crd")) << "cancel leaves the name";
  EXPECT_EQ(std::tuple(open->filter, open->suffix, open->mode, open->title, open->name),
            std::tuple(QStringLiteral("All readable files"), QStringLiteral("crd"), QFileDialog::ExistingFile,
                       QStringLiteral("Open"), QStringLiteral("kept.crd")));

  const std::unique_ptr<Shown> saveAs(Answer(""));
  name = folder.filePath(QStringLiteral("Song of Mine.crd"));
  EXPECT_TRUE(CDocManagerEx().DoPromptFileName(name, QStringLiteral("Save As"), false, nullptr));
  EXPECT_EQ(std::tuple(saveAs->filter, saveAs->directory, saveAs->name, saveAs->asksBeforeReplacing),
            std::tuple(QStringLiteral("Chord file"), QDir(folder.path()).absolutePath(), QStringLiteral("Song of Mine.crd"),
                       true));

  const std::unique_ptr<Shown> untitled(Answer("ballad"));  // a name alone names no folder
  name = QStringLiteral("Chord1.crd");
  EXPECT_TRUE(CDocManagerEx().DoPromptFileName(name, QString(), false, nullptr));
  EXPECT_EQ(untitled->name, QStringLiteral("Chord1.crd"));
  EXPECT_EQ(name, QDir(untitled->directory).filePath(QStringLiteral("ballad.crd"))) << "the default extension";
  QFile::remove(name);
}

TEST(IntegerSpinEdit, TakesOnlyWhatCanBecomeAnIntegerAndArrowsStayInTheRange) {
  for (const auto& [text, negative, state] :
       {std::tuple{"", true, QValidator::Intermediate}, {"-", true, QValidator::Intermediate},
        {"-2147483648", true, QValidator::Acceptable}, {"007", false, QValidator::Acceptable},
        {"5-", true, QValidator::Invalid}, {"+3", true, QValidator::Invalid}, {" 1", true, QValidator::Invalid},
        {"2147483648", true, QValidator::Invalid}, {"\u0663", true, QValidator::Invalid},
        {"-", false, QValidator::Invalid}}) {
    CIntegerSpinEdit field;
    field.setNegativeAllowed(negative);
    QString input = QString::fromUtf8(text);
    int pos = static_cast<int>(input.size());
    EXPECT_EQ(field.validate(input, pos), state) << text;
  }
  // A typed value beyond the range steps back in; a cleared field steps from its last integer.
  for (const auto& [low, high, start, cleared, key, presses, expected] :
       {std::tuple{-12, 12, 11, false, Qt::Key_Up, 5, 12}, {12, 99, 15, false, Qt::Key_Down, 5, 12},
        {-12, 12, 30, false, Qt::Key_Down, 1, 12}, {12, 99, 5, false, Qt::Key_Up, 1, 12},
        {-12, 12, -40, false, Qt::Key_Up, 1, -12}, {-12, 12, 4, true, Qt::Key_Up, 1, 5}}) {
    CIntegerSpinEdit field;
    field.setNegativeAllowed(true);
    field.setArrowRange(low, high);
    field.setValue(start);
    if (cleared) field.setText(QString());
    for (int i = 0; i < presses; ++i) QTest::keyClick(&field, key);
    EXPECT_EQ(field.value(), expected) << start;
  }
}

TEST(PathUtils, HalvesOfAPathAndFilesBesideTheProgram) {
  for (const auto& [path, file, directory] :
       {std::tuple{"c:\\a\\b.txt", "b.txt", "c:\\a\\"}, {"x/y.txt", "y.txt", "x/"}, {"Chord1.crd", "Chord1.crd", "Chord1.crd"},
        {"folder/", "", "folder/"}, {"a\\b/c.txt", "b/c.txt", "a\\"}}) {  // a backslash wins
    EXPECT_EQ(PathFileName(QString::fromLatin1(path)), QString::fromLatin1(file)) << path;
    EXPECT_EQ(PathDirectory(QString::fromLatin1(path)), QString::fromLatin1(directory)) << path;
  }
  EXPECT_EQ(ProgramPath(false), QCoreApplication::applicationFilePath()) << "its case kept";
  EXPECT_EQ(ProgramPath(true), QCoreApplication::applicationDirPath() + u'/');
  EXPECT_EQ(ProgramFileDirectories().value(0), ProgramPath(true));
  EXPECT_TRUE(ProgramFileDirectories().value(1).endsWith(QStringLiteral("/share/sonavel/")));

  const QString name = QStringLiteral("ReadMe-%1.TXT").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
  QFile file(ProgramPath(true) + name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(FindProgramFile(name), file.fileName());
  EXPECT_TRUE(FindProgramFile(name.toLower()).isEmpty()) << "names keep their case";
  file.remove();
  EXPECT_TRUE(FindProgramFile(name).isEmpty());
  EXPECT_FALSE(OpenProgramFile(name));
  EXPECT_TRUE(FindProgramFile(QString()).isEmpty());
}

}  // namespace
