#pragma once
// The commands that open files shipped with the program, for the main
// window and the view alike: the ReadMe file in the interface's language
// and the guitar tuning tune. A failure is told in a message box owned by
// `owner`; each returns whether the file was handed to the desktop.

class QWidget;

// The tuning tune's file name, the same in every language.
inline constexpr char kGuitarTunerFile[] = "gtuner.mid";

bool OpenReadMe(QWidget* owner);
// A tune no program is registered to play counts as a failure.
bool PlayGuitarTuner(QWidget* owner);
