#pragma once
// What the command line asks for once the program runs: the requests a
// program already running is handed, and the first documents of a program
// that starts.

#include <QList>

#include "shell/ShellRequest.h"

class CCommandLineInfo;
class CMainFrame;

// A file to open, or the desktop's open, print and print-to requests; none
// for a command line that asks for nothing the running program can do.
QList<ShellRequest> RequestsOf(const CCommandLineInfo& line);

// A new song, the main window shown where it was last closed, then the
// command line's file in place of the new song, or the desktop's request
// beside it. False when not even the new song could be made.
bool ShowFirstDocuments(CMainFrame& frame, const CCommandLineInfo& line);

// Asks, song by song, whether to bring back the unsaved changes a crash
// left in the recovery store: those taken open as unsaved changes, the
// others are deleted. Changes to a file changed since are never offered.
void OfferRecovery(CMainFrame& frame);
