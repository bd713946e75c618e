#include "shell/DocManagerEx.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "res/StringTable.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/QtPrinters.h"

namespace {

QString English(int id) { return QString::fromLatin1(sonavel::EnglishString(id).data()); }

const QStringList kOpenFilters = {
    "All readable files (*.crd *.cho *.chopro *.tab *.txt)",
    "All music files (*.crd *.cho *.chopro *.tab)",
    "Chord files (*.crd *.cho)",
    "Chord pro files (*.chopro)",
    "Tablature files (*.tab)",
    "Text documents (*.txt)",
    "All files (*.*) (*)",
};

const QStringList kSaveFilters = {
    "Chord file (*.crd *.cho)",
    "Chord pro file (*.chopro)",
    "Tablature file (*.tab)",
    "Text document (*.txt)",
};

TEST(FileFilters, StringTableListsBecomeQtFiltersInOrder) {
  EXPECT_EQ(ToQtNameFilters(English(sonavel::IDS_OPEN_FILTERS)), kOpenFilters);
  EXPECT_EQ(ToQtNameFilters(English(sonavel::IDS_SAVE_FILTERS)), kSaveFilters);
}

TEST(FileFilters, OddListsGiveWhatTheyHold) {
  struct Case {
    const char* list;
    QStringList expected;
  };
  const Case cases[] = {
      {"", {}},
      {"||\n", {}},
      {"Songs|*.crd", {"Songs (*.crd)"}},                      // no closing bars
      {"Songs|*.crd||Ignored|*.x||", {"Songs (*.crd)"}},      // the list ends at the empty description
      {"Nothing|;;|Songs|*.crd;|", {"Songs (*.crd)"}},        // a description without patterns is dropped
      {"Dangling", {}},                                        // a description without its pattern text
      {"Alla \"Chord pro\"-filer|*.chopro;||", {"Alla \"Chord pro\"-filer (*.chopro)"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ToQtNameFilters(QString::fromUtf8(c.list)), c.expected) << c.list;
}

// What the file dialog showed, and what the test did with it.
struct Seen {
  QStringList nameFilters;
  QString selectedFilter;
  QString defaultSuffix;
  QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
  QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
  QString directory;
  QString typedName;
  QString title;
};

Seen Inspect(QFileDialog* dialog) {
  Seen seen;
  seen.nameFilters = dialog->nameFilters();
  seen.selectedFilter = dialog->selectedNameFilter();
  seen.defaultSuffix = dialog->defaultSuffix();
  seen.acceptMode = dialog->acceptMode();
  seen.fileMode = dialog->fileMode();
  seen.directory = dialog->directory().absolutePath();
  seen.title = dialog->windowTitle();
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) seen.typedName = edit->text();
  return seen;
}

// The dialog's own OK, with every check it makes (its accept() is protected).
void Accept(QFileDialog* dialog) { QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection); }

void TypeName(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
}

TEST(DocManagerEx, OpenOffersTheOpenFiltersWithTheFirstSelected) {
  CDocManagerEx manager;
  Seen seen;
  WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = Inspect(dialog);
    dialog->reject();
  });
  QString fileName;
  EXPECT_FALSE(manager.DoPromptFileName(fileName, QStringLiteral("Open"), true, nullptr));
  EXPECT_TRUE(fileName.isEmpty());
  EXPECT_EQ(seen.nameFilters, kOpenFilters);
  // The list shows descriptions only, worded as the string table words them.
  EXPECT_EQ(seen.selectedFilter, QStringLiteral("All readable files"));
  EXPECT_EQ(seen.defaultSuffix, QStringLiteral("crd"));
  EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptOpen);
  EXPECT_EQ(seen.fileMode, QFileDialog::ExistingFile);
  EXPECT_EQ(seen.title, QStringLiteral("Open"));
  EXPECT_TRUE(seen.typedName.isEmpty());
}

TEST(DocManagerEx, SaveAsStartsInTheDocumentsDirectoryWithItsName) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString proposed = folder.filePath(QStringLiteral("Song of Mine.crd"));
  CDocManagerEx manager;
  Seen seen;
  WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = Inspect(dialog);
    Accept(dialog);
  });
  QString fileName = proposed;
  EXPECT_TRUE(manager.DoPromptFileName(fileName, QStringLiteral("Save As"), false, nullptr));
  EXPECT_EQ(seen.nameFilters, kSaveFilters);
  EXPECT_EQ(seen.selectedFilter, QStringLiteral("Chord file"));
  EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptSave);
  EXPECT_EQ(seen.directory, QDir(folder.path()).absolutePath());
  EXPECT_EQ(seen.typedName, QStringLiteral("Song of Mine.crd"));
  EXPECT_EQ(fileName, proposed);
}

TEST(DocManagerEx, NameWithoutDirectoryStartsInTheDefaultDirectory) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  const QString defaultDirectory = QFileDialog().directory().absolutePath();

  CDocManagerEx manager;
  Seen seen;
  WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = Inspect(dialog);
    Accept(dialog);
  });
  QString fileName = QStringLiteral("Chord1.crd");
  EXPECT_TRUE(manager.DoPromptFileName(fileName, QStringLiteral("Save"), false, nullptr));
  EXPECT_EQ(seen.directory, defaultDirectory);
  EXPECT_EQ(seen.typedName, QStringLiteral("Chord1.crd"));
  EXPECT_EQ(fileName, QDir(defaultDirectory).filePath(QStringLiteral("Chord1.crd")));
  QDir::setCurrent(previous);
}

TEST(DocManagerEx, DefaultSuffixIsAddedToANameTypedWithoutOne) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  struct Case {
    const char* typed;
    const char* chosen;
  };
  for (const Case& c : {Case{"ballad", "ballad.crd"}, Case{"ballad.txt", "ballad.txt"}}) {
    CDocManagerEx manager;
    WhenModal<QFileDialog>([&c](QFileDialog* dialog) {
      TypeName(dialog, QString::fromLatin1(c.typed));
      Accept(dialog);
    });
    QString fileName = folder.filePath(QStringLiteral("Chord1.crd"));
    EXPECT_TRUE(manager.DoPromptFileName(fileName, QString(), false, nullptr));
    EXPECT_EQ(fileName, folder.filePath(QString::fromLatin1(c.chosen))) << c.typed;
  }
}

TEST(DocManagerEx, OpenAcceptsOnlyAnExistingFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile existing(folder.filePath(QStringLiteral("there.crd")));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();

  bool refused = false;
  bool stayedOpen = false;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    dialog->setDirectory(folder.path());
    TypeName(dialog, QStringLiteral("missing.crd"));
    WhenModal<QMessageBox>([&refused](QMessageBox* box) {
      refused = true;
      box->accept();
    });
    Accept(dialog);
    stayedOpen = dialog->isVisible();
    TypeName(dialog, QStringLiteral("there.crd"));
    Accept(dialog);
  });
  QString fileName;
  EXPECT_TRUE(CDocManagerEx().DoPromptFileName(fileName, QString(), true, nullptr));
  EXPECT_TRUE(refused);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(fileName, existing.fileName());
}

TEST(DocManagerEx, SavingOverAFileAsksFirstAndNoKeepsTheDialogOpen) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("old.crd"));
  QFile existing(path);
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();

  bool asked = false;
  bool stayedOpen = false;
  WhenModal<QFileDialog>([&](QFileDialog* dialog) {
    WhenModal<QMessageBox>([&asked](QMessageBox* box) {
      asked = true;
      box->button(QMessageBox::No)->click();
    });
    Accept(dialog);
    stayedOpen = dialog->isVisible();
    dialog->reject();
  });
  QString fileName = path;
  EXPECT_FALSE(CDocManagerEx().DoPromptFileName(fileName, QString(), false, nullptr));
  EXPECT_TRUE(asked);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(fileName, path);
}

TEST(DocManagerEx, CancelLeavesTheNameAsItWas) {
  for (const bool open : {true, false}) {
    WhenModal<QFileDialog>([](QFileDialog* dialog) {
      TypeName(dialog, QStringLiteral("something else.crd"));
      dialog->reject();
    });
    QString fileName = QStringLiteral("/nowhere/kept.crd");
    EXPECT_FALSE(CDocManagerEx().DoPromptFileName(fileName, QString(), open, nullptr));
    EXPECT_EQ(fileName, QStringLiteral("/nowhere/kept.crd"));
  }
}

TEST(DocManagerEx, PromptWithoutFiltersOrExtensionStillWorks) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Seen seen;
  WhenModal<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = Inspect(dialog);
    TypeName(dialog, QStringLiteral("plain"));
    Accept(dialog);
  });
  QString result;
  EXPECT_TRUE(CDocManagerEx::PromptForFile(result, false, nullptr, folder.filePath(QStringLiteral("x")), QString(),
                                           QString(), QString()));
  EXPECT_TRUE(seen.defaultSuffix.isEmpty());
  EXPECT_EQ(result, folder.filePath(QStringLiteral("plain")));
}

}  // namespace
