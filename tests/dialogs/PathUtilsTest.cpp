#include "shell/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUuid>
#include <gtest/gtest.h>

#include "tests/support/QtPrinters.h"

namespace {

struct PathCase {
  const char* path;
  const char* fileName;
  const char* directory;
};

TEST(PathUtils, HalvesOfAPath) {
  const PathCase cases[] = {
      {"c:\\a\\b.txt", "b.txt", "c:\\a\\"},
      {"x/y.txt", "y.txt", "x/"},
      {"/home/user/songs/Song.CRD", "Song.CRD", "/home/user/songs/"},
      {"Chord1.crd", "Chord1.crd", "Chord1.crd"},  // no separator: the whole path for both
      {"", "", ""},
      {"folder/", "", "folder/"},
      {"/", "", "/"},
      {"a\\b/c.txt", "b/c.txt", "a\\"},  // a backslash wins over a later forward slash
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(PathFileName(QString::fromLatin1(c.path)), QString::fromLatin1(c.fileName)) << c.path;
    EXPECT_EQ(PathDirectory(QString::fromLatin1(c.path)), QString::fromLatin1(c.directory)) << c.path;
  }
}

TEST(PathUtils, ProgramPathKeepsItsCaseAndItsDirectoryEndsInASlash) {
  const QString full = ProgramPath(false);
  const QString directory = ProgramPath(true);
  EXPECT_EQ(full, QCoreApplication::applicationFilePath());
  EXPECT_EQ(directory, QCoreApplication::applicationDirPath() + u'/');
  EXPECT_TRUE(full.startsWith(directory));
  EXPECT_FALSE(full.mid(directory.size()).contains(u'/'));
}

TEST(PathUtils, ProgramFilesAreLookedForBesideTheProgramFirst) {
  const QStringList directories = ProgramFileDirectories();
  ASSERT_EQ(directories.size(), 2);
  EXPECT_EQ(directories.at(0), ProgramPath(true));
  EXPECT_TRUE(directories.at(1).endsWith(QStringLiteral("/share/sonavel/"))) << directories.at(1).toStdString();
}

// A file beside the test program, removed again at the end of the test.
class FileBesideProgram {
 public:
  explicit FileBesideProgram(const QString& relative) : m_path(ProgramPath(true) + relative) {
    QDir().mkpath(PathDirectory(m_path));
    QFile file(m_path);
    m_created = file.open(QIODevice::WriteOnly) && file.write("x") == 1;
  }
  ~FileBesideProgram() { QFile::remove(m_path); }
  FileBesideProgram(const FileBesideProgram&) = delete;
  FileBesideProgram& operator=(const FileBesideProgram&) = delete;

  bool created() const { return m_created; }
  const QString& path() const { return m_path; }

 private:
  QString m_path;
  bool m_created = false;
};

TEST(PathUtils, FindProgramFile) {
  const QString unique = QUuid::createUuid().toString(QUuid::WithoutBraces);
  const FileBesideProgram mixedCase(QStringLiteral("ReadMe-%1.TXT").arg(unique));
  ASSERT_TRUE(mixedCase.created());
  EXPECT_EQ(FindProgramFile(QStringLiteral("ReadMe-%1.TXT").arg(unique)), mixedCase.path());
  EXPECT_TRUE(FindProgramFile(QStringLiteral("readme-%1.txt").arg(unique)).isEmpty());  // names keep their case

  {
    const FileBesideProgram nested(QStringLiteral("sub-%1/tune.mid").arg(unique));
    ASSERT_TRUE(nested.created());
    EXPECT_EQ(FindProgramFile(QStringLiteral("sub-%1\\tune.mid").arg(unique)), nested.path());
  }
  QDir(ProgramPath(true)).rmdir(QStringLiteral("sub-%1").arg(unique));

  EXPECT_TRUE(FindProgramFile(QStringLiteral("missing-%1.mid").arg(unique)).isEmpty());
  EXPECT_TRUE(FindProgramFile(QString()).isEmpty());  // the program's directory itself is no file
}

TEST(PathUtils, OpeningAMissingProgramFileFails) {
  const QString unique = QUuid::createUuid().toString(QUuid::WithoutBraces);
  EXPECT_FALSE(OpenProgramFile(QStringLiteral("missing-%1.txt").arg(unique)));
  EXPECT_FALSE(OpenProgramFileFromString(1));  // no such string
}

}  // namespace
