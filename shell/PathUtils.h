#pragma once
// The running program's own path, the two halves of a path, and opening a
// file that ships with the program with the desktop's program for it.

#include <QString>
#include <QStringList>

// The program's file path, or with directoryOnly its directory ending in
// "/". File names are case-sensitive here, so the case is kept.
QString ProgramPath(bool directoryOnly);

// The halves of a path at its last backslash or, without one, its last
// forward slash. With neither, both give the whole path.
QString PathFileName(const QString& path);
QString PathDirectory(const QString& path);  // up to and including the separator

// Where files that ship with the program are looked for, in order: beside
// the program, then in the installed data directory. Each ends in "/".
QStringList ProgramFileDirectories();

// The full path of a file that ships with the program, or an empty string
// when none of ProgramFileDirectories() holds it.
QString FindProgramFile(const QString& name);

// Opens a file that ships with the program with the desktop's program for
// it. Returns whether that worked; reporting a failure is the caller's part.
bool OpenProgramFile(const QString& name);
// The same with the file name taken from the string table.
bool OpenProgramFileFromString(int stringId);
